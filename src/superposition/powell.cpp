// Powell's direction-set minimiser over the three rotation angles.
#include <cmath>

#include "superposition/superposition.h"

namespace kelmar {

DirectionSet DirectionSet::unit() {
  DirectionSet xi;
  for (int j = 1; j <= 3; ++j) xi(j, j) = 1.0;
  return xi;
}

void Minimiser::powell(Vec3& p, DirectionSet& xi, double ftol, int& iter, double& fret) {
  fret = objective_(p);
  for (int j = 1; j <= 3; ++j) pt(j) = p(j);
  iter = 0;
  for (;;) {
    ++iter;
    double fp = fret;
    double del = 0.0;
    int ibig = 0;
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 3; ++j) xit(j) = xi(j, i);
      double fprev = fret;
      linmin(p, xit, fret);
      if (std::fabs(fprev - fret) > del) {
        del = std::fabs(fprev - fret);
        ibig = i;
      }
    }
    // A value that is not finite can never pass the test; the line searches
    // have kept the point, so it is handed back as it stands.
    if (!std::isfinite(fret)) return;
    if (2.0 * std::fabs(fp - fret) <= (std::fabs(fp) + std::fabs(fret)) * ftol) return;
    if (iter == kPowellIterations) pausePrompt(console_, "powell exceeding maximum iterations");

    for (int j = 1; j <= 3; ++j) {
      ptt(j) = (2.0 * p(j)) - pt(j);
      xit(j) = p(j) - pt(j);
      pt(j) = p(j);
    }
    double fext = objective_(ptt);
    // Written as "not below" so that a value that is not a number also
    // counts as no gain and never reaches the replacement below.
    if (!(fext < fp)) continue;
    double t = ((2.0 * ((fp - 2.0 * fret) + fext)) * ((fp - fret) - del)) * ((fp - fret) - del) -
               (del * (fp - fext)) * (fp - fext);
    if (!(t < 0.0)) continue;
    linmin(p, xit, fret);
    for (int j = 1; j <= 3; ++j) {
      xi(j, ibig) = xi(j, 3);
      xi(j, 3) = xit(j);
    }
  }
}

}  // namespace kelmar
