// Reader of the mode files derived from VASP frequency runs: the reactant
// and the transition state, one file each, in a fixed layout without
// markers. The model of such a run holds more atoms than the system: the
// system is its last natom atoms, and the lines of the leading atoms (the
// surface, in a surface model) are passed over.
//
//   (four lines, skipped)
//   5                          total atom count of the model
//   (one line, skipped)
//   Pt  0.000 0.000 0.000      one line per leading atom, skipped
//   H   0.000 0.000 1.500      label, x, y, z of each of the system's atoms
//   3                          mode count
//   120.5                      per mode: the frequency,
//   0.0 0.0 0.0                  a line per leading atom, skipped,
//   0.0 0.0 0.7                  and dx, dy, dz of each of the system's atoms
#include <string>
#include <string_view>

#include "input/input.h"
#include "input/linearity.h"
#include "shared/freeread.h"

namespace kelmar {
namespace {

void skipLeadingAtoms(InputStream& in, int leading) {
  if (leading > 0) skipLines(in, leading);
}

// An OUTCAR starts with the program's version:
//  vasp.5.4.1 24Jun15 (build Sep 07 2018 14:08:39) complex
// A derived mode file given in its place fails at its first value; the
// message then says what the file is.
bool looksLikeOutcar(std::string_view firstLine) {
  const std::size_t b = firstLine.find_first_not_of(" \t");
  return b != std::string_view::npos && firstLine.substr(b).starts_with("vasp.");
}

void readModeFile(Projection& p, Coor& coor, InputStream& in, int s, Console& console) {
  const int n = p.natom;
  const std::string hint =
      looksLikeOutcar(skipLines(in, 1))
          ? "the file looks like an OUTCAR (its first line starts with \"vasp.\"), but the VASP reader takes a mode "
            "file made from the OUTCAR: see \"The VASP-derived mode file\" in the README"
          : "";
  skipLines(in, 3);
  int total = 0;
  {
    SectionScope section(in, {"the total atom count of the model", nullptr, 0, 0, 0, 0, hint});
    freeRead(in, {ReadItem::integer(total)});
  }
  if (total < n) {
    rejectInput(placeOf(in) + "the model holds " + std::to_string(total) + " atoms, fewer than the " +
                std::to_string(n) + " atoms (natom) of the system");
  }
  const int leading = total - n;
  skipLines(in, 1);
  {
    SectionScope section(in, {"the geometry", "atoms", 1, n, 0, n, hint});
    skipLeadingAtoms(in, leading);
    for (int a = 1; a <= n; ++a) {
      int pos = n * (s - 1) + a;
      freeRead(in, {ReadItem::word(), ReadItem::real(coor.x(pos)), ReadItem::real(coor.y(pos)),
                    ReadItem::real(coor.z(pos))});
    }
  }
  p.geometryFound(s) = true;
  int modes = 0;
  {
    SectionScope section(in, {"the mode count", nullptr, 0, 0, 0, 0, hint});
    freeRead(in, {ReadItem::integer(modes)});
  }
  const long countLine = in.lineNumber();
  if (modes > kMaxModes) {
    rejectInput(placeOf(in) + "the file gives " + std::to_string(modes) + " modes; a structure holds at most " +
                std::to_string(kMaxModes));
  }
  for (int m = 1; m <= modes; ++m) {
    SectionScope section(in, {"the frequency and displacements", "modes", m, m, 0, n, hint});
    freeRead(in, {ReadItem::real(p.freq(m, s))});
    skipLeadingAtoms(in, leading);
    for (int a = 1; a <= n; ++a) {
      freeRead(in, {ReadItem::real(p.eigv(m, 3 * a - 2, s)), ReadItem::real(p.eigv(m, 3 * a - 1, s)),
                    ReadItem::real(p.eigv(m, 3 * a, s))});
    }
  }
  // A gas-phase file of every Cartesian mode has its translations and
  // rotations past nvibm, which the run leaves out on purpose; any other
  // count past nvibm leaves out modes that the file counts among its own.
  if (notesModesLeftOut(p) && modes > p.nvibm && modes != 3 * n) {
    noteModesLeftOut(p, console, placeOf(in, countLine),
                     "the file's " + std::to_string(modes) + " modes (its mode count)", p.nvibm + 1,
                     p.freq(p.nvibm + 1, s));
  }
}

}  // namespace

void inputvasp(Projection& p, Coor& coor, std::span<InputStream* const> files, Console& console) {
  int s = 0;
  for (InputStream* file : files) readModeFile(p, coor, *file, ++s, console);
  p.itrans = 2;
  p.nimag = p.nvibm;
}

}  // namespace kelmar
