// Normalisation of the translational and rotational vectors.
#pragma once

#include "shared/projection.h"

namespace kelmar {

// Makes rows 1..nmode of mode m of slab s a unit vector: S is the sum of
// their squares and each row is multiplied by 1/sqrt(S). When sqrt(S) is at
// most `floor` (with floor 0: when S is 0) the displacement carries no
// direction; the rows are then set to exactly zero and false is returned.
bool normaliseMode(Projection& p, int m, int s, double floor = 0.0);

}  // namespace kelmar
