// Fragment superposition: each reactant (product) fragment is laid on its
// transition-state copy by three rotation angles, and the structure's mode
// vectors are turned by the same rotation.
//
// The angles are found by Powell's direction-set method: each iteration
// minimises the objective along each of three directions in turn (`linmin`:
// a golden-ratio bracket, then Brent's method along the line) and may then
// replace one direction by the iteration's net move.
#pragma once

#include <functional>

#include "shared/projection.h"
#include "shared/runend.h"

namespace kelmar {

// The minimiser's tolerances and ratios are single-precision values widened
// to doubles; the printed digits depend on these exact values.
inline constexpr double kFtol = static_cast<double>(1.0e-8f);     // powell: relative tolerance on f
inline constexpr double kGold = static_cast<double>(1.618034f);   // bracket: growth of a default step
inline constexpr double kGlimit = 100.0;                          // bracket: farthest parabolic step
inline constexpr double kTiny = static_cast<double>(1.0e-20f);    // bracket: smallest denominator
inline constexpr double kTol = static_cast<double>(1.0e-4f);      // brent: relative tolerance on x
inline constexpr double kZeps = static_cast<double>(1.0e-10f);    // brent: absolute tolerance near 0
inline constexpr double kCgold = static_cast<double>(0.3819660f); // brent: golden-section step
inline constexpr int kPowellIterations = 200;
inline constexpr int kBrentIterations = 100;

// sign(a, b): |a| when b >= 0 (a negative zero included), else -|a|.
double sign(double a, double b);

// An objective of three reals (the rotation angles).
using Objective = std::function<double(const Vec3&)>;

// Three directions of the minimiser: xi(i, j) is component i of direction j.
class DirectionSet {
 public:
  double& operator()(int i, int j) { return m_[offset(i, j)]; }
  double operator()(int i, int j) const { return m_[offset(i, j)]; }
  // The unit matrix: the x, y and z axes as the three directions.
  static DirectionSet unit();

 private:
  static int offset(int i, int j) {
    checkIndex("direction component", i, 3);
    checkIndex("direction", j, 3);
    return 3 * (j - 1) + (i - 1);
  }
  double m_[9] = {};
};

// Powell's direction-set method over three reals, with its line search.
// The object owns the working vectors and the current line (`f1com`), so one
// line search at a time runs on it.
class Minimiser {
 public:
  Minimiser(Objective objective, Console& console)
      : objective_(std::move(objective)), console_(console) {}

  // Minimises from the point p along the direction set xi (updated in
  // place); gives back the iterations run and the objective at the minimum,
  // which is left in p. After 200 iterations it writes "powell exceeding
  // maximum iterations" and the pause prompt, then goes on iterating.
  void powell(Vec3& p, DirectionSet& xi, double ftol, int& iter, double& fret);

  // Minimises along the line from p in the direction d: d is scaled to the
  // step taken, p moved by it, fret set to the objective there.
  void linmin(Vec3& p, Vec3& d, double& fret);

  // The objective at the abscissa t of the current line.
  double f1dim(double t);

  // Three abscissae ax, bx, cx of the current line with f(bx) below f(ax)
  // and f(cx), found from the abscissae 0 and 1. `usable` is false when the
  // line is level (f(ax) = f(bx) = f(cx)) or an abscissa or a value is no
  // longer finite: the line then has no bracket worth narrowing.
  struct Bracket {
    double ax = 0.0, bx = 0.0, cx = 0.0;
    double f0 = 0.0;  // the objective at the line's origin
    bool usable = true;
  };
  Bracket bracket();

  // Brent's method within a bracket: the abscissa of the minimum in xmin,
  // the objective there as the result. After 100 iterations it writes "brent
  // exceed maximum iterations" and the pause prompt and returns the best
  // abscissa so far.
  double brent(double ax, double bx, double cx, double& xmin);

  // The current line, written by linmin and read by f1dim.
  struct F1com {
    Vec3 lineorig;
    Vec3 linedir;
    int linedim = 3;
  };
  F1com f1com;

 private:
  Objective objective_;
  Console& console_;
  Vec3 pt;   // the point at the start of the iteration
  Vec3 ptt;  // the extrapolated point 2p - pt
  Vec3 xit;  // the direction handed to linmin
  Vec3 xt;   // where f1dim evaluates the objective
};

// The misfit of fragment p.ifunc (1: atoms 1..nreact1, else nreact1+1..natom)
// turned by the angles (alpha, beta, gamma): the root of the summed squared
// distances between the centred transition-state atoms and the rotated
// centred reactant (product) atoms. Every atom counts alike.
double func(const Projection& p, const Coor& coor, const Vec3& angles);

// Superimposes each fragment of at least two atoms on the transition state,
// writes the trace, and replaces modes 1..nvibm of slab 1 + iprod in eigv by
// their rotated copies.
void optgeom(Projection& p, Coor& coor, Console& console);

}  // namespace kelmar
