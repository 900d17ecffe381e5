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

void readModeFile(Projection& p, Coor& coor, InputStream& in, int s, Console& console) {
  const int n = p.natom;
  // An OUTCAR given in place of the mode file fails at its first value; the
  // message then says what the file is (see fileKindHint).
  skipLines(in, 4);
  int total = 0;
  {
    SectionScope section(in, {"the total atom count of the model", nullptr, 0, 0, 0, 0});
    freeRead(in, {ReadItem::integer(total)});
  }
  if (total < n) {
    rejectInput(placeOf(in) + "the model holds " + std::to_string(total) + " atoms, fewer than the " +
                std::to_string(n) + " atoms (natom) of the system");
  }
  const int leading = total - n;
  skipLines(in, 1);
  {
    SectionScope section(in, {"the geometry", "atoms", 1, n, 0, n});
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
    SectionScope section(in, {"the mode count", nullptr, 0, 0, 0, 0});
    freeRead(in, {ReadItem::integer(modes)});
  }
  p.modesFound(s) = modes > 0;
  const long countLine = in.lineNumber();
  if (modes > kMaxModes) {
    rejectInput(placeOf(in) + "the file gives " + std::to_string(modes) + " modes; a structure holds at most " +
                std::to_string(kMaxModes));
  }
  for (int m = 1; m <= modes; ++m) {
    SectionScope section(in, {"the frequency and displacements", "modes", m, m, 0, n});
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
