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

// A turn leaves rounding residue only when its mass-weighted displacement is
// at most kResidue * |delt| * sqrt(total mass): when it moves the atoms, per
// radian and in the mass-weighted mean, by at most kResidue in the
// geometries' length unit.
constexpr double kResidue = 1e-9;

// The largest |delt| whose turns the rotational vectors follow closely. A
// rotational vector is the chord of a turn by delt radians, and the chord of
// a turn by theta lies theta/2 off the tangent of the rotation, towards the
// axis: at this bound every rotational vector leans 0.005 rad away from the
// rotation, and a projection onto it differs from that onto the rotation by
// at most 2 sin(0.0025), about 0.005. (The note of a larger turn names the
// bound as a number.)
constexpr double kLargestTurn = 0.01;

// Why the turn about axis e (1, 2, 3 for x, y, z) through the centre of mass
// left the molecule where it was, decided from the geometry and the size of
// delt. The molecule's mass-weighted extent off the axis, sqrt(sum of
// m rho^2) with rho an atom's distance from the axis, is what a turn can
// move: at most kResidue * sqrt(total mass) means a single atom or a linear
// molecule lying on the axis, which no turn moves. Otherwise the turn moves
// the molecule by 2 |sin(delt/2)| times that extent; when that is within the
// floor, which grows with |delt|, the size of delt is the cause (a huge delt,
// or a whole number of full turns); when it is beyond the floor, the turn was
// lost in the rounding of the coordinates, so delt is too small.
std::string stillTurnCause(const Projection& p, const Coor& coor, int centre, int e, double floor,
                           double summass) {
  const std::string axis = kAxisName[e - 1];
  double sum = 0.0;
  for (int i = 1; i <= p.natom; ++i) {
    for (int c = 1; c <= 3; ++c) {
      if (c == e) continue;
      double r = coor.axis(c, i) - coor.axis(c, centre);
      sum = sum + p.amass(i) * (r * r);
    }
  }
  double extent = std::sqrt(sum);
  if (!(extent > kResidue * std::sqrt(summass))) {
    return "the turn about the " + axis +
           " axis through the centre of mass does not move the molecule (a single atom, or a linear molecule "
           "lying on that axis)";
  }
  if (!(2.0 * std::fabs(std::sin(0.5 * p.delt)) * extent > floor)) {
    return "delt is too large: the turn of delt radians about the " + axis +
           " axis through the centre of mass moves the molecule no further than the rounding residue of so "
           "large an angle (or delt is a whole number of full turns)";
  }
  return "delt is too small: a turn of delt radians about the " + axis +
         " axis through the centre of mass does not change the coordinates";
}

}  // namespace

void transmode(Projection& p, Coor& coor, Console& console) {
  if (p.iprod == 1) {
    console.out.free({" product is not well defined in gas-surface reaciton"});
    stopRun({}, p.placeOf(Origin{0, p.iprodLine}) +
                    ": iprod is 1, but a surface run projects reactant modes only, so iprod must be 0");
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
  // a linear molecule lying on the axis, a delt too small or too large) has
  // no direction of its own.
  double summass = 0.0;
  for (int i = 1; i <= n; ++i) summass = summass + p.amass(i);
  double floor = (kResidue * std::fabs(p.delt)) * std::sqrt(summass);
  bool turned = false;

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
    if (normaliseMode(p, mode, p.itrans, floor)) {
      turned = true;
    } else {
      writeNote(console, std::string("the rotational mode about ") + kAxisName[e - 1] + " is set to zero: " +
                             stillTurnCause(p, coor, centre, e, floor, summass));
    }
  }
  if (turned && std::fabs(p.delt) > kLargestTurn) {
    writeNote(console,
              "|delt| is above 0.01 radians: a rotational mode is the chord of a turn by delt, which leans "
              "delt/2 away from the rotation (at a delt of pi it is at right angles to it), so its "
              "projections stray from those of the rotation; a |delt| of at most 0.01 keeps the lean within "
              "0.005 radians");
  }
}

void surfacemodes(Projection& p, Coor& coor, Console& console) {
  console.out.free({});
  transmode(p, coor, console);
  rotmode(p, coor, console);
  console.out.free({});
}

}  // namespace kelmar
