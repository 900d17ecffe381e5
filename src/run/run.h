// The driver of a run, above the steps: the control file and the structures
// (input/), then the superposition (superposition/), then the translational
// vectors and the report (analysis/).
#pragma once

#include "shared/projection.h"
#include "shared/runend.h"

namespace kelmar {

// Runs the whole analysis and returns the exit status; a run that ends
// early has written its message on standard error.
int runKelmar(Console& console);

// The steps after the structures are loaded: the superposition, the
// translational vectors and the report; ends the run (RunEnd, status 2)
// when the report holds a value that is not finite or did not fit its
// field.
void analyse(Projection& p, Coor& coor, int ninit, Console& console);

}  // namespace kelmar
