// The objective of the superposition: the misfit of one fragment turned by
// three angles.
#include <cmath>
#include <vector>

#include "shared/rotation.h"
#include "superposition/superposition.h"

namespace kelmar {

double func(const Projection& p, const Coor& coor, const Vec3& angles) {
  const int n = p.natom;
  const int first = p.ifunc == 1 ? 1 : p.nreact1 + 1;
  const int last = p.ifunc == 1 ? p.nreact1 : n;
  const int count = last - first + 1;
  if (count <= 0) return 0.0;
  // the centred copies of the structure and of the transition state
  const int reac = (p.iprod + 3) * n;
  const int ts = (p.itrans + 2) * n;

  std::vector<double> xyz(std::size_t(3 * count));
  for (int a = first; a <= last; ++a) {
    double* r = &xyz[std::size_t(3 * (a - first))];
    r[0] = coor.x(reac + a);
    r[1] = coor.y(reac + a);
    r[2] = coor.z(reac + a);
  }
  rotateTriples(rotxyz(angles(1), angles(2), angles(3)), xyz.data(), count);

  double sum = 0.0;
  for (int a = first; a <= last; ++a) {
    const double* r = &xyz[std::size_t(3 * (a - first))];
    double dx = coor.x(ts + a) - r[0];
    double dy = coor.y(ts + a) - r[1];
    double dz = coor.z(ts + a) - r[2];
    sum = sum + (dx * dx + dy * dy + dz * dz);
  }
  return std::sqrt(sum);
}

}  // namespace kelmar
