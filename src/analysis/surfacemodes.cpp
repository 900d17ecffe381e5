#include "analysis/analysis.h"

namespace kelmar {

void surfacemodes(Projection&, Coor&, Console&) {}

}  // namespace kelmar
