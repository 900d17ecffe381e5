// The linearity flags against what the structure files hold: the modes that
// a gas-phase run leaves unread when a file has more than nvibm, and the
// flags against the first structure's geometry. Both only write notes: a
// linear reactant complex with a bent transition state holds different mode
// counts, and a flag may be set on purpose.
#pragma once

#include <string>
#include <string_view>

#include "shared/projection.h"
#include "shared/runend.h"

namespace kelmar {

// Whether the run counts its modes from the linear flag (a gas-phase run,
// nvibm 3*natom-6 or 3*natom-5), the only kind in which a file's modes can
// go on past nvibm without a word.
bool notesModesLeftOut(const Projection& p);

// The note on a file whose modes go on past nvibm: `place` ("name, line N: "
// or "name: "), what goes on (`what`, "the file's modes"), and the first
// mode left out with its wavenumber. It adds that a linear molecule needs
// linear 1 when that mode is mode 3*natom-5 of a run with linear 0.
void noteModesLeftOut(const Projection& p, Console& console, std::string_view place, std::string_view what,
                      int mode, double wavenumber);

// How far atoms first..last of slab 1 lie from a line: the largest distance
// of an atom from the line through the two atoms farthest apart. `spread`
// is false when every atom lies within `tolerance` of another (a geometry
// of one point, or none read), which says nothing about a line.
struct LineFit {
  bool spread = false;
  int end1 = 0;  // the two atoms farthest apart
  int end2 = 0;
  int farthest = 0;     // the atom farthest from their line (0 when all lie on it)
  double offset = 0.0;  // its distance from the line
};
LineFit fitLine(const Coor& coor, int first, int last, double tolerance);

// The tolerance of the geometry check in the length unit of the reader's
// files (0.01 angstrom; bohr for Molpro and Polyrate), and that unit.
double lineTolerance(const Projection& p);
std::string_view lengthUnit(const Projection& p);

// Compares linear1, linear2 and (in a gas-phase run) linear with the
// geometry of slab 1, for the fragments and the system of three atoms or
// more, and notes a flag of 1 on atoms that do not lie on a line within
// the tolerance, and a flag of another value on atoms that do.
void notelinearity(const Projection& p, const Coor& coor, Console& console);

}  // namespace kelmar
