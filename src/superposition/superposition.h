// Fragment superposition: each reactant (product) fragment is laid on its
// transition-state copy by three rotation angles, and the structure's mode
// vectors are turned by the same rotation.
#pragma once

#include "shared/projection.h"
#include "shared/runend.h"

namespace kelmar {

void optgeom(Projection& p, Coor& coor, Console& console);

}  // namespace kelmar
