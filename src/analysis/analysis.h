// Mode projection and report: the translational (and, on a surface,
// rotational) vectors and the projections of every mode onto the reaction
// mode.
#pragma once

#include "shared/projection.h"
#include "shared/runend.h"

namespace kelmar {

// The fragments' relative translation as mode nmode+1 of slab itrans.
void gasphase(Projection& p, Coor& coor, Console& console);

// Three translations and three rotations of the whole molecule as modes
// nmode+1..nmode+6 of slab itrans; a product run is refused.
void surfacemodes(Projection& p, Coor& coor, Console& console);

// The report.
void printout(const Projection& p, int ninit, Console& console);

}  // namespace kelmar
