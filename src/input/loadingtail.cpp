// The loading tail, run after every reader: the fragment masses, the echo of
// the masses, geometries and frequencies, the unit mode vectors of Gaussian
// and Molpro files, the transition state's imaginary frequency and reaction
// mode, and the checks of what the readers left: the notes on a reactant or
// product that is no minimum, a transition state that is no first-order
// saddle point, and a fragment boundary that cuts a bond.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "input/input.h"
#include "shared/elements.h"
#include "shared/output.h"

namespace kelmar {

std::string structureName(const Projection& p, int s) {
  std::string name(p.slabFileName(s));
  if (p.software.words().reader == Reader::Polyrate) name += " (structure " + std::to_string(s) + ")";
  return name;
}

std::string atomRange(int first, int last) {
  return first == last ? "atom " + std::to_string(first)
                       : "atoms " + std::to_string(first) + "-" + std::to_string(last);
}

bool geometryInBohr(const Projection& p) {
  const Reader reader = p.software.words().reader;
  return reader == Reader::Molpro || reader == Reader::Polyrate;
}

namespace {

// " (" and what the file of slab s looks like, when it looks like another
// kind of file than the reader takes, then ")"; empty otherwise.
std::string fileHintOf(const Projection& p, int s) {
  const std::string& hint = p.fileHint(s);
  return hint.empty() ? std::string() : " (" + hint + ")";
}

// The message for a structure whose file holds no frequency section (the
// reader never met its marker), which gives the modes: the frequencies were
// not run on that structure, or the file was cut before them. Not for a
// file that looks like another program's: that is said instead.
std::string noFrequencySection(const Projection& p, int s) {
  const char* what = "";
  switch (p.software.words().reader) {
    case Reader::Gaussian:
      what = "the file holds no frequency section (no line with \"normal coordinates:\")";
      break;
    case Reader::Molpro:
      what = p.geometryFound(s) ? "the file holds no frequency section (no line with \"Normal Modes\")"
                                : "the file holds no frequency section (no line with \"CALCULATION OF NORMAL "
                                  "MODES\" or \"Normal Modes\"), which gives the geometry and the modes";
      break;
    case Reader::Polyrate:
      what = "the file holds no frequency section for this structure (no \"Frequencies and normalized "
             "eigenvector\" section after its geometry section)";
      break;
    case Reader::Vasp:
      what = "the file holds no modes (its mode count is not above 0)";
      break;
    case Reader::None:
      break;
  }
  return structureName(p, s) + ": " + what +
         ": the modes come from a frequency calculation, which must be run on the structure";
}

// Every structure needs a geometry; only the Gaussian and Molpro readers can
// finish a file without one, and a Polyrate file may hold fewer structures
// than the run needs.
void checkStructures(const Projection& p) {
  const Reader reader = p.software.words().reader;
  const bool gaussian = reader == Reader::Gaussian;
  if (gaussian || reader == Reader::Molpro) {
    for (int s = 1; s <= p.itrans; ++s) {
      if (p.geometryFound(s)) continue;
      // a Molpro file gives its geometry in the frequency section
      if (!gaussian && !p.modesFound(s) && p.fileHint(s).empty()) rejectInput(noFrequencySection(p, s));
      rejectInput(std::string(p.slabFileName(s)) + ": the file gives no geometry for its structure: " +
                  (gaussian ? (p.modesFound(s) ? "it holds no \"Coordinates (Angstroms)\" table before its "
                                                 "frequency section (a table after it belongs to a later job)"
                                               : "it holds no \"Coordinates (Angstroms)\" table")
                            : "it holds no geometry section (\"CALCULATION OF NORMAL MODES\" and the atomic "
                              "coordinates after it)") +
                  fileHintOf(p, s));
    }
  }
  // Only a Polyrate file decides how many structures there are. The last
  // one is the transition state, so a file short of one would project the
  // transition state (or a slab never loaded) on itself. A surface run
  // projects no product: a product run of one stops before its report,
  // which two structures reach as well as three.
  const bool surfaceProductRun = p.iprod == 1 && p.reactype.words().translations == Translations::Molecular;
  const int needed = p.iprod == 1 && !surfaceProductRun ? 3 : 2;
  if (reader == Reader::Polyrate && p.itrans < needed) {
    rejectInput(std::string(p.slabFileName(1)) + ": the file holds " + std::to_string(p.itrans) +
                " structure" + (p.itrans == 1 ? "" : "s") + " (\" Initial guess \" and \" Initial saddle \" "
                "sections), but a " + (needed == 3 ? "product" : surfaceProductRun ? "surface" : "reactant") +
                " run needs " + std::to_string(needed) +
                (needed == 3 ? ": the reactant, the product and then the transition state"
                             : ": the reactant and then the transition state"));
  }
}

// The Polyrate and VASP-derived files carry unit mode vectors, which are
// projected as read: a mode without any component is one the file does not
// hold, and a norm far from 1 says that the file was not read as it was
// written.
void checkModesAsRead(const Projection& p, Console& console) {
  for (int s = 1; s <= p.itrans; ++s) {
    bool noted = false;
    for (int m = 1; m <= p.nvibm; ++m) {
      double sum = 0.0;
      for (int r = 1; r <= p.nmode; ++r) sum = sum + p.eigv(m, r, s) * p.eigv(m, r, s);
      double norm = std::sqrt(sum);
      if (norm == 0.0) {
        if (!p.modesFound(s) && p.fileHint(s).empty()) rejectInput(noFrequencySection(p, s));
        rejectInput(structureName(p, s) + ": mode " + std::to_string(m) +
                    " has no nonzero component (the file holds fewer than the " + std::to_string(p.nvibm) +
                    " modes (nvibm) that the run projects, or an empty mode)" + fileHintOf(p, s));
      }
      if (!noted && !(std::fabs(norm - 1.0) <= 0.01)) {
        char shown[32];
        std::snprintf(shown, sizeof shown, "%.6g", norm);
        writeNote(console, structureName(p, s) + ": mode " + std::to_string(m) + " has the norm " + shown +
                               " as read, not 1; its modes are projected as read, so the file may not have the "
                               "expected layout (check natom and the file's lines)");
        noted = true;
      }
    }
  }
}

// Whether mode m of slab s is an imaginary mode, where the way the file's
// program shows one is known: Gaussian prints its wavenumber negative; a
// Molpro file lists it in its imaginary section (the reader stores the
// low/zero wavenumbers negated too, so the sign does not tell). How Polyrate
// and the VASP-derived files show one is not known here: never.
bool listedImaginary(const Projection& p, int m, int s) {
  switch (p.software.words().reader) {
    case Reader::Gaussian:
      return p.freq(m, s) < 0.0;
    case Reader::Molpro:
      return p.modeSection(m, s) == ModeSection::Imaginary;
    default:
      return false;
  }
}

// The imaginary modes of slab s (listedImaginary): Gaussian's among the
// modes it reads (1..nvibm), Molpro's among all it may list (1..nmode).
std::vector<int> imaginaryModes(const Projection& p, int s) {
  const int last = p.software.words().reader == Reader::Molpro ? p.nmode : p.nvibm;
  std::vector<int> modes;
  for (int m = 1; m <= last; ++m) {
    if (listedImaginary(p, m, s)) modes.push_back(m);
  }
  return modes;
}

// "mode 1 (-18.85)", "modes 1 (-444.62) and 2 (-55.78)": the modes with their
// stored wavenumbers, the first six of a longer list.
std::string modesWithWavenumbers(const Projection& p, const std::vector<int>& modes, int s) {
  std::string text = modes.size() == 1 ? "mode " : "modes ";
  const std::size_t shown = std::min<std::size_t>(modes.size(), 6);
  for (std::size_t i = 0; i < shown; ++i) {
    if (i > 0) text += i + 1 == modes.size() ? " and " : ", ";
    text += std::to_string(modes[i]) + " (" + shortestNumber(p.freq(modes[i], s)) + ")";
  }
  if (shown < modes.size()) text += " and " + std::to_string(modes.size() - shown) + " more";
  return text;
}

// A transition state whose reaction mode is no imaginary mode. Gaussian and
// VASP-derived files give an imaginary wavenumber as negative, and the
// Molpro reader negates it; how Polyrate writes one is not known here, but
// a zero wavenumber is no reaction mode in any file, nor is a mode of a
// Molpro file's low/zero section, whatever its wavenumber. When the
// structure that is projected has an imaginary mode at that place, the two
// files have probably been given in each other's place: the note says so,
// and returns that structure's slab (0 when it names none).
int noteReactionMode(const Projection& p, Console& console) {
  const Reader reader = p.software.words().reader;
  const double reaction = p.freq(p.nimag, p.itrans);
  const bool signs = reader != Reader::Polyrate;
  const bool zero = reaction == 0.0;
  const bool lowZero = reader == Reader::Molpro && p.modeSection(p.nimag, p.itrans) == ModeSection::LowZero;
  const bool notNegative = signs && !(reaction < 0.0);  // a NaN included
  if (!zero && !lowZero && !notNegative) return 0;
  // The Molpro reader stores a zero wavenumber negated: it is 0 all the same.
  std::string note = structureName(p, p.itrans) + ": the reaction mode of the transition state (mode " +
                     std::to_string(p.nimag) + ") has the wavenumber " + shortestNumber(zero ? 0.0 : reaction);
  if (zero) {
    note += ": a zero wavenumber belongs to a translation or rotation, not to a reaction mode";
  } else if (lowZero) {
    note += ", a mode of the file's \"Normal Modes of low/zero frequencies\" section (printed " +
            shortestNumber(-reaction) +
            ", stored negated): a low/zero mode belongs to a translation or rotation, not to a reaction mode";
    const std::vector<int> imaginary = imaginaryModes(p, p.itrans);
    if (imaginary.empty()) {
      note += "; the file lists no imaginary mode";
    } else {
      note += imaginary.size() == 1 ? "; the file's imaginary mode is " : "; the file's imaginary modes are ";
      note += modesWithWavenumbers(p, imaginary, p.itrans);
    }
  } else {
    note += ", which is not negative: the file may hold a minimum, not a transition state";
  }
  const int s = 1 + p.iprod;
  const double projected = p.freq(p.nimag, s);
  const bool projectedImaginary =
      reader == Reader::Molpro ? listedImaginary(p, p.nimag, s) : signs && projected < 0.0;
  if (projectedImaginary) {
    note += "; mode " + std::to_string(p.nimag) + " of " + std::string(p.slabFileName(s)) + ", the " +
            (p.iprod == 1 ? "product" : "reactant") + " file, has the wavenumber " + shortestNumber(projected) +
            ": the files may be given in the wrong order (lines " + std::to_string(p.fnameLine(s)) + " and " +
            std::to_string(p.fnameLine(p.itrans)) + " of the control file name the " +
            (p.iprod == 1 ? "product" : "reactant") + " and then the transition state)";
  }
  writeNote(console, note);
  return projectedImaginary ? s : 0;
}

// A reactant or product is a minimum, without imaginary modes, and a
// transition state has one, its reaction mode; this is checked where the
// program's way of showing an imaginary mode is known (listedImaginary).
// A transition state without an imaginary reaction mode has had its note
// from noteReactionMode, and so has the structure of slab `noted` (the
// files given in the wrong order): neither gets a second one here.
void noteStationaryPoints(const Projection& p, int noted, Console& console) {
  const Reader reader = p.software.words().reader;
  if (reader != Reader::Gaussian && reader != Reader::Molpro) return;
  const bool molpro = reader == Reader::Molpro;
  const std::string section = " in its \"Normal Modes of imaginary frequencies\" section";
  for (int s = 1; s <= p.itrans; ++s) {
    const std::vector<int> modes = imaginaryModes(p, s);
    const std::string how = molpro               ? section
                            : modes.size() == 1 ? " (a negative wavenumber)"
                                                : " (negative wavenumbers)";
    const std::string count = std::to_string(modes.size()) + " imaginary modes" + how + ", ";
    if (s == p.itrans) {
      if (modes.size() < 2) continue;
      writeNote(console, std::string(p.slabFileName(s)) + ": the transition state " + (molpro ? "lists " : "has ") +
                             count + modesWithWavenumbers(p, modes, s) +
                             ": a transition state has one, its reaction mode; the file may hold a saddle point "
                             "of higher order");
      continue;
    }
    if (modes.empty() || s == noted) continue;
    const std::string role = s == 2 ? "product" : "reactant";
    std::string note = std::string(p.slabFileName(s)) + ": the " + role + " " + (molpro ? "lists " : "has ") +
                       (modes.size() == 1 ? "an imaginary mode" + how + ", " : count) +
                       modesWithWavenumbers(p, modes, s) + ": a " + role + " is a minimum, without imaginary modes; ";
    if (p.slabFileName(s) == p.slabFileName(p.itrans)) {
      note += "lines " + std::to_string(p.fnameLine(s)) + " and " + std::to_string(p.fnameLine(p.itrans)) +
              " of the control file name this file for the " + role + " and for the transition state";
    } else {
      note += "the file may hold a transition state";
    }
    writeNote(console, note);
  }
}

// Two fragments that are separate molecules: in the reactant (product)
// structure that is projected, the nearest atoms on either side of the
// fragment boundary should not be bonded. They count as bonded when they lie
// closer than 1.2 times the sum of their covalent radii. The elements are
// those the file gives, or else the element whose standard mass is nearest
// the atom's mass; a pair with an element that has no radius here is left
// out. Gaussian and VASP-derived geometries are in angstrom, Molpro and
// Polyrate geometries in bohr.
void noteBondAcrossFragments(const Projection& p, const Coor& coor, Console& console) {
  if (p.reactype.words().translations != Translations::Relative) return;
  const int n = p.natom;
  const int k = p.nreact1;
  const int s = 1 + p.iprod;
  if (k < 1 || k > n - 1 || s >= p.itrans) return;
  const bool bohr = geometryInBohr(p);
  constexpr double kBondFactor = 1.2;

  std::vector<int> z(std::size_t(n) + 1, 0);
  for (int a = 1; a <= n; ++a) {
    z[std::size_t(a)] = p.element(a, s).z != 0 ? p.element(a, s).z : elementOfMass(p.amass(a));
  }
  int first = 0;
  int second = 0;
  double nearest = 0.0;  // squared, in the file's unit
  for (int i = 1; i <= k; ++i) {
    if (covalentRadius(z[std::size_t(i)]) == 0.0) continue;
    const int pi = n * (s - 1) + i;
    for (int j = k + 1; j <= n; ++j) {
      if (covalentRadius(z[std::size_t(j)]) == 0.0) continue;
      const int pj = n * (s - 1) + j;
      const double dx = coor.x(pi) - coor.x(pj);
      const double dy = coor.y(pi) - coor.y(pj);
      const double dz = coor.z(pi) - coor.z(pj);
      const double d2 = dx * dx + dy * dy + dz * dz;
      if (first == 0 || d2 < nearest) {
        first = i;
        second = j;
        nearest = d2;
      }
    }
  }
  if (first == 0) return;
  const double distance = std::sqrt(nearest);
  const double angstrom = bohr ? distance * kBohrInAngstrom : distance;
  const int zi = z[std::size_t(first)];
  const int zj = z[std::size_t(second)];
  const double limit = kBondFactor * (covalentRadius(zi) + covalentRadius(zj));
  if (!(angstrom < limit)) return;

  char apart[96];
  if (bohr) {
    std::snprintf(apart, sizeof apart, "%.2f bohr (%.2f angstrom)", distance, angstrom);
  } else {
    std::snprintf(apart, sizeof apart, "%.2f angstrom", angstrom);
  }
  char bound[32];
  std::snprintf(bound, sizeof bound, "%.2f", limit);
  writeNote(console, structureName(p, s) + ": in the " + (s == 2 ? "product" : "reactant") + ", atoms " +
                         std::to_string(first) + " (" + std::string(elementSymbol(zi)) + ") and " +
                         std::to_string(second) + " (" + std::string(elementSymbol(zj)) +
                         "), the nearest pair across the fragment boundary (nreact1 " + std::to_string(k) +
                         "), lie " + apart + " apart, within bonding distance (1.2 times the sum of their covalent "
                         "radii is " + bound + " angstrom): the boundary may cut a bond; fragment 1 (" +
                         atomRange(1, k) + ") and fragment 2 (" + atomRange(k + 1, n) +
                         ") should each be a whole molecule or a single atom");
}

}  // namespace

void loadingtail(Projection& p, Coor& coor, Console& console) {
  Output& out = console.out;
  const int n = p.natom;

  // Every mass weights a mode vector or a centre of mass later on.
  for (int a = 1; a <= n; ++a) {
    if (!(p.amass(a) > 0.0)) {
      rejectInput(p.placeOf(p.massOrigin(a)) + ": atom " + std::to_string(a) + " has the mass " +
                  shortestNumber(p.amass(a)) + "; every mass must be positive");
    }
  }
  checkStructures(p);

  // fragment masses
  p.tmass1 = 0.0;
  for (int a = 1; a <= p.nreact1; ++a) p.tmass1 = p.tmass1 + p.amass(a);
  p.tmass2 = 0.0;
  for (int a = p.nreact1 + 1; a <= n; ++a) p.tmass2 = p.tmass2 + p.amass(a);
  p.tmass = p.tmass1 + p.tmass2;

  // masses and geometries, slab by slab
  out.free({});
  out.free({"atomic mass, cartesian coordinates"});
  out.free({});
  for (int s = 1; s <= p.itrans; ++s) {
    for (int a = 1; a <= n; ++a) {
      int pos = n * (s - 1) + a;
      out.fixed(layoutSixF15(), {p.amass(a), coor.x(pos), coor.y(pos), coor.z(pos)});
    }
    out.free({});
  }

  // frequencies, one column per slab
  out.free({"frequencies for stationary points"});
  out.free({});
  std::vector<OutItem> row;
  for (int m = 1; m <= p.nvibm; ++m) {
    row.clear();
    for (int s = 1; s <= p.itrans; ++s) row.emplace_back(p.freq(m, s));
    out.fixed(layoutHundredF15(), row);
  }
  out.free({});

  // Gaussian and Molpro modes become unit mode vectors (the test looks at
  // the software's words, not at the reader that ran); the other programs'
  // modes are projected as read, and only checked.
  if (!p.software.words().weightsModes) {
    checkModesAsRead(p, console);
  } else {
    for (int s = 1; s <= p.itrans; ++s) {
      for (int m = 1; m <= p.nvibm; ++m) {
        for (int a = 1; a <= n; ++a) {
          double w = std::sqrt(p.amass(a));
          for (int r = 3 * a - 2; r <= 3 * a; ++r) p.eigv(m, r, s) = p.eigv(m, r, s) * w;
        }
        double sum = 0.0;
        for (int r = 1; r <= 3 * n; ++r) sum = sum + p.eigv(m, r, s) * p.eigv(m, r, s);
        double norm = std::sqrt(sum);
        if (norm == 0.0) {
          if (!p.modesFound(s) && p.fileHint(s).empty()) rejectInput(noFrequencySection(p, s));
          rejectInput(std::string(p.slabFileName(s)) + ": mode " + std::to_string(m) +
                      " has no nonzero component, so it cannot be normalised (the file holds fewer modes than "
                      "the control file's atom count needs)" + fileHintOf(p, s));
        }
        double q = 1.0 / norm;
        for (int r = 1; r <= p.nmode; ++r) p.eigv(m, r, s) = p.eigv(m, r, s) * q;
      }
    }
  }

  out.free({"imaginary frequency at TS"});
  out.free({p.freq(p.nimag, p.itrans)});
  out.free({});
  noteStationaryPoints(p, noteReactionMode(p, console), console);
  noteBondAcrossFragments(p, coor, console);

  out.free({"normal mode vector for reaction mode"});
  for (int a = 1; a <= n; ++a) {
    out.fixed(layoutThreeF10(), {p.eigv(p.nimag, 3 * a - 2, p.itrans), p.eigv(p.nimag, 3 * a - 1, p.itrans),
                                 p.eigv(p.nimag, 3 * a, p.itrans)});
  }
  out.free({});
}

}  // namespace kelmar
