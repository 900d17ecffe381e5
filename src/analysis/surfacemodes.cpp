// The surface translations and rotations: the whole moving molecule of the
// reactant slab is translated along x, y and z by delt and turned by delt
// radians about the x, y and z axes through its centre of mass; each
// mass-weighted, normalised displacement becomes one of the modes
// nmode+1..nmode+6 of the transition-state slab.
#include <cmath>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/unitmode.h"
#include "shared/centre.h"
#include "shared/rotation.h"

namespace kelmar {
namespace {

constexpr const char* kAxisName[] = {"x", "y", "z"};

// The centre of mass of atoms 1..natom of slab 1, kept at working position
// 3*natom+1, and its two lines.
void centreLines(const Projection& p, Coor& coor, Console& console) {
  const int centre = 3 * p.natom + 1;
  Vec3 c;
  centreOfMass(p, coor, 0, 1, p.natom, c);
  for (int k = 1; k <= 3; ++k) coor.axis(k, centre) = c(k);
  console.out.free({"center of mass"});
  console.out.free({coor.x(centre), coor.y(centre), coor.z(centre)});
}

}  // namespace

void transmode(Projection& p, Coor& coor, Console& console) {
  if (p.iprod == 1) {
    console.out.free({" product is not well defined in gas-surface reaciton"});
    stopRun({}, p.placeOf(Origin{0, p.iprodLine}) +
                    ": iprod is 1, but a gas-surface run projects reactant modes only, so iprod must be 0");
  }
  const int n = p.natom;
  // The displaced geometry follows the centre of mass: positions 3n+2..4n+1.
  const int displaced = 3 * n + 1;

  centreLines(p, coor, console);

  double rdelt = 1.0 / p.delt;
  for (int u = 1; u <= 3; ++u) {
    for (int c = 1; c <= 3; ++c) p.t1(c) = 0.0;
    p.t1(u) = p.delt;
    for (int i = 1; i <= n; ++i) {
      for (int c = 1; c <= 3; ++c) coor.axis(c, displaced + i) = coor.axis(c, i) + p.t1(c);
    }
    const int mode = p.nmode + u;
    for (int i = 1; i <= n; ++i) {
      double f = std::sqrt(p.amass(i)) * rdelt;
      for (int c = 1; c <= 3; ++c) {
        p.eigv(mode, 3 * (i - 1) + c, p.itrans) = (coor.axis(c, displaced + i) - coor.axis(c, i)) * f;
      }
    }
    if (!normaliseMode(p, mode, p.itrans)) {
      writeNote(console, std::string("the translational mode along ") + kAxisName[u - 1] +
                             " is set to zero: a step of delt does not change the coordinates");
    }
  }
}

void rotmode(Projection& p, Coor& coor, Console& console) {
  const int n = p.natom;
  const int centre = 3 * n + 1;
  // The turned geometry follows the centre of mass, as in transmode.
  const int displaced = centre;

  centreLines(p, coor, console);

  // A turn that moves the molecule by rounding residue only (a single atom,
  // or a linear molecule lying on the axis) has no direction of its own.
  double summass = 0.0;
  for (int i = 1; i <= n; ++i) summass = summass + p.amass(i);
  double floor = (1e-9 * std::fabs(p.delt)) * std::sqrt(summass);

  std::vector<double> w(3 * std::size_t(n));
  for (int e = 1; e <= 3; ++e) {
    Vec3 ang;
    ang(e) = p.delt;
    for (int i = 1; i <= n; ++i) {
      double* wi = w.data() + 3 * (i - 1);
      for (int c = 1; c <= 3; ++c) wi[c - 1] = coor.axis(c, i) - coor.axis(c, centre);
    }
    rotateTriples(rotxyz(ang(1), ang(2), ang(3)), w.data(), n);
    for (int i = 1; i <= n; ++i) {
      const double* wi = w.data() + 3 * (i - 1);
      for (int c = 1; c <= 3; ++c) coor.axis(c, displaced + i) = coor.axis(c, centre) + wi[c - 1];
    }
    const int mode = p.nmode + 3 + e;
    for (int i = 1; i <= n; ++i) {
      double f = std::sqrt(p.amass(i));
      for (int c = 1; c <= 3; ++c) {
        p.eigv(mode, 3 * (i - 1) + c, p.itrans) = (coor.axis(c, displaced + i) - coor.axis(c, i)) * f;
      }
    }
    if (!normaliseMode(p, mode, p.itrans, floor)) {
      writeNote(console, std::string("the rotational mode about ") + kAxisName[e - 1] +
                             " is set to zero: the turn about the " + kAxisName[e - 1] +
                             " axis through the centre of mass does not move the molecule (a single "
                             "atom, or a linear molecule lying on that axis)");
    }
  }
}

void surfacemodes(Projection& p, Coor& coor, Console& console) {
  console.out.free({});
  transmode(p, coor, console);
  rotmode(p, coor, console);
  console.out.free({});
}

}  // namespace kelmar
