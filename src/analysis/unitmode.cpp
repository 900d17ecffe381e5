#include "analysis/unitmode.h"

#include <cmath>

namespace kelmar {

bool normaliseMode(Projection& p, int m, int s, double floor) {
  double sum = 0.0;
  for (int r = 1; r <= p.nmode; ++r) sum = sum + p.eigv(m, r, s) * p.eigv(m, r, s);
  double norm = std::sqrt(sum);
  if (!(norm > floor)) {
    for (int r = 1; r <= p.nmode; ++r) p.eigv(m, r, s) = 0.0;
    return false;
  }
  double q = 1.0 / norm;
  for (int r = 1; r <= p.nmode; ++r) p.eigv(m, r, s) = p.eigv(m, r, s) * q;
  return true;
}

}  // namespace kelmar
