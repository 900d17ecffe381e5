#include "analysis/analysis.h"

namespace kelmar {

void gasphase(Projection&, Coor&, Console&) {}

}  // namespace kelmar
