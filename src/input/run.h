// The main program's sequence, from the control file to the report.
#pragma once

#include "shared/runend.h"

namespace kelmar {

// Runs the whole analysis and returns the exit status; a run that ends
// early has written its message on standard error.
int runKelmar(Console& console);

}  // namespace kelmar
