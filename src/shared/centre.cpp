#include "shared/centre.h"

namespace kelmar {

void centreOfMass(const Projection& p, const Coor& coor, int offset, int first, int last, Vec3& com) {
  double sx = 0.0, sy = 0.0, sz = 0.0, sm = 0.0;
  for (int a = first; a <= last; ++a) {
    double m = p.amass(a);
    sx = sx + m * coor.x(offset + a);
    sy = sy + m * coor.y(offset + a);
    sz = sz + m * coor.z(offset + a);
    sm = sm + m;
  }
  double q = 1.0 / sm;
  com(1) = sx * q;
  com(2) = sy * q;
  com(3) = sz * q;
}

}  // namespace kelmar
