#include "superposition/superposition.h"

namespace kelmar {

void optgeom(Projection&, Coor&, Console&) {}

}  // namespace kelmar
