// Mode projection and report: the translational (and, on a surface,
// rotational) vectors and the projections of every mode onto the reaction
// mode.
//
// A vector that cannot be formed (an empty fragment, coinciding fragment
// centres, a turn that does not move the molecule, a delt too small to change
// the coordinates or too large) is stored as exactly zero, with one note on
// standard error naming it and the cause; the run goes on.
#pragma once

#include "shared/projection.h"
#include "shared/runend.h"

namespace kelmar {

// The fragments' relative translation as mode nmode+1 of slab itrans, with
// the centre-of-mass lines and their check.
void gasphase(Projection& p, Coor& coor, Console& console);

// The steps of gasphase that print. getcom: the centre of mass of atoms
// 1..natom of the slab that starts after position `offset` into p.com, and
// its two lines. comcheck: the centre of mass of the displaced geometry at
// positions displaced+1..displaced+natom, through the reciprocal of tmass,
// stored at position `centre` of coor, and its two lines.
void getcom(Projection& p, const Coor& coor, int offset, Console& console);
void comcheck(const Projection& p, Coor& coor, int displaced, int centre, Console& console);

// Three translations and three rotations of the whole molecule as modes
// nmode+1..nmode+6 of slab itrans; a product run is refused.
void surfacemodes(Projection& p, Coor& coor, Console& console);

// The steps of surfacemodes: transmode refuses a product run, prints the
// centre of mass and stores the translations along x, y and z; rotmode
// prints the centre of mass again and stores the rotations about x, y and z.
void transmode(Projection& p, Coor& coor, Console& console);
void rotmode(Projection& p, Coor& coor, Console& console);

// The report.
void printout(const Projection& p, int ninit, Console& console);

}  // namespace kelmar
