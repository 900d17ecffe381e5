// Centre of mass of a set of atoms of the coordinate store.
#pragma once

#include "shared/projection.h"

namespace kelmar {

// Centre of mass of atoms first..last whose coordinates sit at positions
// offset+first..offset+last of coor, with the masses amass(first..last): per
// axis, the sum of amass(a)*r(a) multiplied by the reciprocal of the sum of
// the masses. Atoms are summed in increasing order.
void centreOfMass(const Projection& p, const Coor& coor, int offset, int first, int last, Vec3& com);

}  // namespace kelmar
