// The superposition: each fragment of the reactant (product) is centred and
// turned onto the transition state, the trace is written, and the structure's
// mode vectors are turned by its fragments' rotations.
#include <algorithm>
#include <vector>

#include "shared/centre.h"
#include "shared/rotation.h"
#include "superposition/superposition.h"

namespace kelmar {

namespace {

// Radians to degrees as the trace prints the final angles.
constexpr double kDegrees = 57.29578778556937;

// Centre of mass of atoms first..last of a slab, through the working vector
// com, stored at the position `pos`. An empty fragment has no centre; it is
// stored as zero and never used.
void storeCentre(Projection& p, Coor& coor, int slab, int first, int last, int pos) {
  if (last >= first) {
    centreOfMass(p, coor, p.natom * (slab - 1), first, last, p.com);
  } else {
    for (int c = 1; c <= 3; ++c) p.com(c) = 0.0;
  }
  for (int c = 1; c <= 3; ++c) coor.axis(c, pos) = p.com(c);
}

// Each atom of a slab minus the centre of its fragment, at the positions
// `to`+1..`to`+natom.
void storeCentred(const Projection& p, Coor& coor, int slab, int to, int centre1, int centre2) {
  const int n = p.natom;
  for (int a = 1; a <= n; ++a) {
    int centre = a <= p.nreact1 ? centre1 : centre2;
    for (int c = 1; c <= 3; ++c) coor.axis(c, to + a) = coor.axis(c, n * (slab - 1) + a) - coor.axis(c, centre);
  }
}

}  // namespace

void optgeom(Projection& p, Coor& coor, Console& console) {
  Output& out = console.out;
  const int n = p.natom;
  const int nr = p.nreact1;
  const int s = 1 + p.iprod;
  const int ts = p.itrans;
  const int nvibm = p.nvibm;
  const int c1 = 6 * n + 1, c2 = 6 * n + 2, c3 = 6 * n + 3, c4 = 6 * n + 4;

  out.free({"initial geometry"});

  storeCentre(p, coor, ts, 1, nr, c1);
  storeCentre(p, coor, ts, nr + 1, n, c2);
  storeCentred(p, coor, ts, (ts + 2) * n, c1, c2);
  storeCentre(p, coor, s, 1, nr, c3);
  storeCentre(p, coor, s, nr + 1, n, c4);
  storeCentred(p, coor, s, (s + 2) * n, c3, c4);

  // rows of atom a: 3(a-1)..3(a-1)+2 of these arrays
  std::vector<double> eigrot(std::size_t(nvibm) * std::size_t(3 * n));
  std::vector<double> vecm(std::size_t(3 * n));
  std::vector<double> xyzfr(std::size_t(3 * n));
  std::vector<double> xyzrot(std::size_t(3 * n));

  Vec3 xo;
  DirectionSet xi;
  Minimiser minimiser([&](const Vec3& angles) { return func(p, coor, angles); }, console);

  for (int k = 1; k <= 2; ++k) {
    p.ifunc = k;
    const int first = k == 1 ? 1 : nr + 1;
    const int last = k == 1 ? nr : n;
    const int centre = k == 1 ? c1 : c2;
    for (int c = 1; c <= 3; ++c) xo(c) = 0.0;

    // A single atom (or none) has no orientation to fit.
    if (last > first) {
      xi = DirectionSet::unit();
      out.free({func(p, coor, xo)});
      int iter = 0;
      double fret = 0.0;
      minimiser.powell(xo, xi, kFtol, iter, fret);
      out.free({" iter=", iter, " fret=", fret});
      out.free({" final=", xo(1) * kDegrees, xo(2) * kDegrees, xo(3) * kDegrees});
      out.free({" final geometry="});
      out.free({"after optimization"});
    }

    const RotationMatrix r = rotxyz(xo(1), xo(2), xo(3));
    const int count = last - first + 1;
    if (count <= 0) {
      p.ifunc = k + 1;
      continue;
    }
    const std::size_t from = std::size_t(3 * (first - 1));

    std::fill(xyzfr.begin(), xyzfr.end(), 0.0);
    for (int a = first; a <= last; ++a) {
      for (int c = 1; c <= 3; ++c) xyzfr[std::size_t(3 * (a - 1) + c - 1)] = coor.axis(c, (s + 2) * n + a);
    }
    rotateTriples(r, xyzfr.data() + from, count);
    for (int a = first; a <= last; ++a) {
      for (int c = 1; c <= 3; ++c) {
        std::size_t row = std::size_t(3 * (a - 1) + c - 1);
        xyzrot[row] = xyzfr[row] + coor.axis(c, centre);
      }
    }

    for (int m = 1; m <= nvibm; ++m) {
      std::fill(vecm.begin(), vecm.end(), 0.0);
      for (int row = 3 * first - 2; row <= 3 * last; ++row) vecm[std::size_t(row - 1)] = p.eigv(m, row, s);
      rotateTriples(r, vecm.data() + from, count);
      double* rot = eigrot.data() + std::size_t(m - 1) * std::size_t(3 * n);
      for (int row = 3 * first - 2; row <= 3 * last; ++row) rot[row - 1] = vecm[std::size_t(row - 1)];
    }
    p.ifunc = k + 1;
  }

  for (int m = 1; m <= nvibm; ++m) {
    out.free({"mode", m, p.freq(m, s)});
    const double* rot = eigrot.data() + std::size_t(m - 1) * std::size_t(3 * n);
    for (int a = 1; a <= n; ++a) {
      const int row = 3 * a - 2;
      for (int c = 0; c < 3; ++c) p.eigv(m, row + c, s) = rot[row - 1 + c];
      const double* g = &xyzrot[std::size_t(row - 1)];
      out.fixed(layoutSixF15(), {g[0], g[1], g[2], p.eigv(m, row, s), p.eigv(m, row + 1, s), p.eigv(m, row + 2, s)});
    }
    out.free({});
  }
}

}  // namespace kelmar
