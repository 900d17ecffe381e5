#include "analysis/analysis.h"

namespace kelmar {

void printout(const Projection&, int, Console&) {}

}  // namespace kelmar
