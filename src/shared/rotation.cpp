#include "shared/rotation.h"

#include <cmath>

namespace kelmar {

RotationMatrix rotxyz(double alpha, double beta, double gamma) {
  double ca = std::cos(alpha), sa = std::sin(alpha);
  double cb = std::cos(beta), sb = std::sin(beta);
  double cg = std::cos(gamma), sg = std::sin(gamma);
  RotationMatrix r;
  r.m[0][0] = cb * cg;
  r.m[0][1] = sa * sb * cg - ca * sg;
  r.m[0][2] = ca * sb * cg + sa * sg;
  r.m[1][0] = cb * sg;
  r.m[1][1] = sa * sb * sg + ca * cg;
  r.m[1][2] = ca * sb * sg - sa * cg;
  r.m[2][0] = -sb;
  r.m[2][1] = sa * cb;
  r.m[2][2] = ca * cb;
  return r;
}

void rotateTriples(const RotationMatrix& r, double* triples, int count) {
  for (int a = 0; a < count; ++a) {
    double* v = triples + 3 * a;
    double x = v[0], y = v[1], z = v[2];
    for (int i = 0; i < 3; ++i) v[i] = r.m[i][0] * x + r.m[i][1] * y + r.m[i][2] * z;
  }
}

}  // namespace kelmar
