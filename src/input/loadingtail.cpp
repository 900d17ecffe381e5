// The loading tail, run after every reader: the fragment masses, the echo of
// the masses, geometries and frequencies, the unit mode vectors of Gaussian
// and Molpro files, the transition state's imaginary frequency and reaction
// mode, and the checks of what the readers left.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "input/input.h"
#include "shared/output.h"

namespace kelmar {
namespace {

// "poly.out" for a file of one structure, "poly.out (structure 2)" when the
// file holds every structure of the run.
std::string structureName(const Projection& p, int s) {
  std::string name(p.slabFileName(s));
  if (p.software.words().reader == Reader::Polyrate) name += " (structure " + std::to_string(s) + ")";
  return name;
}

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
                  (gaussian ? "it holds no \"Coordinates (Angstroms)\" table"
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

// A transition state whose reaction mode is no imaginary mode. Gaussian and
// VASP-derived files give an imaginary wavenumber as negative, and the
// Molpro reader negates it; how Polyrate writes one is not known here, but
// a zero wavenumber is no reaction mode in any file. When the structure that
// is projected has a negative wavenumber at that place, the two files have
// probably been given in each other's place.
void noteReactionMode(const Projection& p, Console& console) {
  const double reaction = p.freq(p.nimag, p.itrans);
  const bool signs = p.software.words().reader != Reader::Polyrate;
  const bool zero = reaction == 0.0;
  const bool notNegative = signs && !(reaction < 0.0);  // a NaN included
  if (!zero && !notNegative) return;
  // The Molpro reader stores a zero wavenumber negated: it is 0 all the same.
  std::string note = structureName(p, p.itrans) + ": the reaction mode of the transition state (mode " +
                     std::to_string(p.nimag) + ") has the wavenumber " + shortestNumber(zero ? 0.0 : reaction);
  note += zero ? ": a zero wavenumber belongs to a translation or rotation, not to a reaction mode"
                          : ", which is not negative: the file may hold a minimum, not a transition state";
  const int s = 1 + p.iprod;
  const double projected = p.freq(p.nimag, s);
  if (signs && projected < 0.0) {
    note += "; mode " + std::to_string(p.nimag) + " of " + std::string(p.slabFileName(s)) + ", the " +
            (p.iprod == 1 ? "product" : "reactant") + " file, has the wavenumber " + shortestNumber(projected) +
            ": the files may be given in the wrong order (lines " + std::to_string(p.fnameLine(s)) + " and " +
            std::to_string(p.fnameLine(p.itrans)) + " of the control file name the " +
            (p.iprod == 1 ? "product" : "reactant") + " and then the transition state)";
  }
  writeNote(console, note);
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
  noteReactionMode(p, console);

  out.free({"normal mode vector for reaction mode"});
  for (int a = 1; a <= n; ++a) {
    out.fixed(layoutThreeF10(), {p.eigv(p.nimag, 3 * a - 2, p.itrans), p.eigv(p.nimag, 3 * a - 1, p.itrans),
                                 p.eigv(p.nimag, 3 * a, p.itrans)});
  }
  out.free({});
}

}  // namespace kelmar
