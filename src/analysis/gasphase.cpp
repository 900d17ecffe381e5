// The gas-phase relative translation vector: both fragments move a small
// step along the line through their centres of mass, in opposite directions
// and without moving the centre of mass of the whole; the mass-weighted,
// normalised displacement becomes mode nmode+1 of the transition-state slab.
#include <cmath>
#include <string>

#include "analysis/analysis.h"
#include "analysis/unitmode.h"
#include "shared/centre.h"

namespace kelmar {
namespace {

// Fragment centres at most this far apart, in the geometries' length unit,
// count as one point: far more than rounding leaves between centres that
// coincide, far less than any distance between two real fragments.
constexpr double kCoincidentCentres = 1e-9;

// Why the relative translation of two fragments with atoms came out zero,
// decided from the geometry and the size of delt: centres that coincide give
// the step no direction; a delt so large that the displaced coordinates are
// no longer finite numbers leaves no displacement to measure; otherwise the
// step k1*D, k2*D was lost in the rounding of the coordinates.
const char* lostTranslationCause(const Vec3& d, const Coor& coor, int displaced, int n) {
  double dd = 0.0;
  for (int c = 1; c <= 3; ++c) dd = dd + d(c) * d(c);
  if (!(std::sqrt(dd) > kCoincidentCentres)) {
    return "the centres of mass of the two fragments coincide, so the fragments have no direction to move "
           "along";
  }
  for (int a = 1; a <= n; ++a) {
    for (int c = 1; c <= 3; ++c) {
      if (!std::isfinite(coor.axis(c, displaced + a))) {
        return "delt is too large: the coordinates displaced by a step of delt overflow and are not finite "
               "numbers";
      }
    }
  }
  return "delt is too small: a step of delt does not change the coordinates, although the centres of mass "
         "of the two fragments are apart";
}

// Whether delt made the step overflow: a displaced coordinate is not a
// finite number although the coordinates and the centre-to-centre vector D
// are, and |delt| is above 1 (with |delt| at most 1 no atom moves further
// than |D|, and an overflow comes from the size of the coordinates). Part of
// the vector is then infinite, its norm too, and no direction is left.
bool stepOverflowed(double delt, const Vec3& d, const Coor& coor, int offset, int displaced, int n) {
  if (!(std::fabs(delt) > 1.0)) return false;
  for (int c = 1; c <= 3; ++c) {
    if (!std::isfinite(d(c))) return false;
  }
  bool displacedFinite = true;
  for (int a = 1; a <= n; ++a) {
    for (int c = 1; c <= 3; ++c) {
      if (!std::isfinite(coor.axis(c, offset + a))) return false;
      if (!std::isfinite(coor.axis(c, displaced + a))) displacedFinite = false;
    }
  }
  return !displacedFinite;
}

}  // namespace

void getcom(Projection& p, const Coor& coor, int offset, Console& console) {
  centreOfMass(p, coor, offset, 1, p.natom, p.com);
  console.out.free({"center of mass"});
  console.out.free({p.com(1), p.com(2), p.com(3)});
}

void comcheck(const Projection& p, Coor& coor, int displaced, int centre, Console& console) {
  // Through 1/tmass, not through the reciprocal of the masses summed here.
  double q = 1.0 / p.tmass;
  for (int c = 1; c <= 3; ++c) {
    double sum = 0.0;
    for (int a = 1; a <= p.natom; ++a) sum = sum + p.amass(a) * coor.axis(c, displaced + a);
    coor.axis(c, centre) = sum * q;
  }
  console.out.free({"center of mass check"});
  console.out.free({coor.x(centre), coor.y(centre), coor.z(centre)});
}

void gasphase(Projection& p, Coor& coor, Console& console) {
  const int n = p.natom;
  const int n1 = p.nreact1;
  const int slab = 1 + p.iprod;
  const int offset = n * (slab - 1);
  // Working positions past the slabs: the fragment centres at 3n+1 and 3n+2
  // (only when both fragments have atoms, so n >= 2 and they stay below
  // 4n+1), the displaced geometry at 4n+1..5n and the check centre at 5n+1.
  const int c1 = 3 * n + 1;
  const int c2 = 3 * n + 2;
  const int displaced = 4 * n;
  const int check = 5 * n + 1;
  const int mode = p.nmode + 1;

  console.out.free({});

  // The centre-to-centre vector D. A fragment without atoms has no centre:
  // then there is no relative translation, D is zero and no atom moves.
  const bool twoFragments = n1 >= 1 && n1 <= n - 1;
  Vec3 d;
  if (twoFragments) {
    Vec3 centre;
    centreOfMass(p, coor, offset, 1, n1, centre);
    for (int c = 1; c <= 3; ++c) coor.axis(c, c1) = centre(c);
    centreOfMass(p, coor, offset, n1 + 1, n, centre);
    for (int c = 1; c <= 3; ++c) coor.axis(c, c2) = centre(c);
    for (int c = 1; c <= 3; ++c) d(c) = coor.axis(c, c2) - coor.axis(c, c1);
  }

  getcom(p, coor, offset, console);

  // Step factors: k1 + k2 = delt and tmass1*k1 = tmass2*k2.
  double q = 1.0 / p.tmass;
  double k1 = (p.tmass2 * p.delt) * q;
  double k2 = (p.delt * q) * p.tmass1;
  double sign = p.iprod == 1 ? -1.0 : 1.0;
  for (int c = 1; c <= 3; ++c) {
    p.t1(c) = sign * k1;
    p.t2(c) = sign * k2;
  }

  // Displaced geometry: fragment 1 moves along D, fragment 2 against it.
  for (int a = 1; a <= n; ++a) {
    for (int c = 1; c <= 3; ++c) {
      double r = coor.axis(c, offset + a);
      coor.axis(c, displaced + a) = a <= n1 ? r + p.t1(c) * d(c) : r - p.t2(c) * d(c);
    }
  }

  comcheck(p, coor, displaced, check, console);

  // The mass-weighted displacement per unit step, then its unit vector.
  double rdelt = 1.0 / p.delt;
  for (int a = 1; a <= n; ++a) {
    double f = std::sqrt(p.amass(a)) * rdelt;
    for (int c = 1; c <= 3; ++c) {
      p.eigv(mode, 3 * (a - 1) + c, p.itrans) = (coor.axis(c, displaced + a) - coor.axis(c, offset + a)) * f;
    }
  }
  const bool overflowed = twoFragments && stepOverflowed(p.delt, d, coor, offset, displaced, n);
  if (overflowed) {
    for (int r = 1; r <= p.nmode; ++r) p.eigv(mode, r, p.itrans) = 0.0;
  }
  if (overflowed || !normaliseMode(p, mode, p.itrans)) {
    if (n1 <= 0) {
      writeNote(console,
                "the relative translation vector is set to zero: fragment 1 has no atom (nreact1 is 0), "
                "so the structure is one fragment, without a relative translation");
    } else if (n1 >= n) {
      writeNote(console,
                "the relative translation vector is set to zero: fragment 2 has no atom (nreact1 equals "
                "natom), so the structure is one fragment, without a relative translation");
    } else {
      writeNote(console, std::string("the relative translation vector is set to zero: ") +
                             lostTranslationCause(d, coor, displaced, n));
    }
  }

  console.out.free({});
}

}  // namespace kelmar
