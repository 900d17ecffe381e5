// The surface translations and rotations of the whole molecule.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "testconsole.h"

namespace kelmar {
namespace {

// mass, x, y, z
using Atom = std::array<double, 4>;

using SurfaceRun = TestState;

// A surface run whose reactant (slab 1) holds the atoms; the transition
// state (slab 2) holds another geometry, which the vectors must not use.
SurfaceRun surfaceRun(const std::vector<Atom>& atoms, double delt, int iprod = 0) {
  SurfaceRun g;
  Projection& p = *g.p;
  const int n = int(atoms.size());
  p.reactype = Reactype("surface");
  p.software = Software("vasp");
  p.iprod = iprod;
  p.natom = n;
  p.nreact1 = n > 1 ? n - 1 : n;  // the fragments play no part here
  p.nmode = 3 * n;
  p.nvibm = 3 * n;
  p.itrans = 2;
  p.nimag = p.nvibm;
  p.delt = delt;
  for (int a = 1; a <= n; ++a) {
    p.amass(a) = atoms[std::size_t(a - 1)][0];
    g.coor->x(a) = atoms[std::size_t(a - 1)][1];
    g.coor->y(a) = atoms[std::size_t(a - 1)][2];
    g.coor->z(a) = atoms[std::size_t(a - 1)][3];
    g.coor->x(n + a) = 7.0 * a;
    g.coor->y(n + a) = -3.0 * a;
    g.coor->z(n + a) = 0.5 * a * a;
  }
  return g;
}

// A planar molecule in the xz plane around its centre of mass (0.5, -1.25, 2):
// masses 3 at (+-1, 0, 0) and masses 1 at (0, 0, +-3) relative to it. The
// masses sum to 8, so the centre is exact.
const std::vector<Atom> kPlanar = {
    {3.0, 1.5, -1.25, 2.0}, {3.0, -0.5, -1.25, 2.0}, {1.0, 0.5, -1.25, 5.0}, {1.0, 0.5, -1.25, -1.0}};

TEST(SurfaceModes, WritesTheCentreOfMassTwice) {
  SurfaceRun g = surfaceRun(kPlanar, 0.01);
  TestConsole tc;
  surfacemodes(*g.p, *g.coor, tc.console);
  const std::string centre = "  0.500000000000000       -1.25000000000000        2.00000000000000     ";
  EXPECT_EQ(tc.out(), " \n center of mass\n" + centre + "\n center of mass\n" + centre + "\n \n");
  EXPECT_EQ(tc.err(), "");
  // the last translation and the last turn are the ones along and about z
  EXPECT_EQ(g.p->t1(1), 0.0);
  EXPECT_EQ(g.p->t1(2), 0.0);
  EXPECT_EQ(g.p->t1(3), 0.01);
}

TEST(SurfaceModes, TranslationsLieOnTheirAxisWithRootMassFractions) {
  for (double delt : {0.01, -0.01, 0.5}) {
    SCOPED_TRACE("delt " + std::to_string(delt));
    SurfaceRun g = surfaceRun(kPlanar, delt);
    TestConsole tc;
    surfacemodes(*g.p, *g.coor, tc.console);
    for (int u = 1; u <= 3; ++u) {
      for (int a = 1; a <= 4; ++a) {
        for (int c = 1; c <= 3; ++c) {
          double v = g.p->eigv(12 + u, 3 * (a - 1) + c, 2);
          if (c == u) {
            EXPECT_NEAR(v, std::sqrt(kPlanar[std::size_t(a - 1)][0] / 8.0), 1e-12) << u << " " << a;
          } else {
            EXPECT_EQ(v, 0.0) << u << " " << a << " " << c;
          }
        }
      }
    }
  }
}

// The rotations worked out by hand: a turn by delt about the axis n through
// the centre moves the atom at w from the centre by
// 2 sin(h) (cos(h) n x w - sin(h) w_perp), h = delt/2, where w_perp is the
// part of w off the axis; weighted by sqrt(m) and normalised by
// 2 |sin(h)| sqrt(sum of m rho^2) (rho the distance from the axis). The sums
// of m rho^2 are 18 about x, 24 about y and 6 about z.
TEST(SurfaceModes, RotationsAboutXYZOfAKnownGeometry) {
  for (double delt : {0.01, -0.01, 0.2}) {
    SCOPED_TRACE("delt " + std::to_string(delt));
    const double ch = std::cos(delt / 2), sh = std::sin(delt / 2), sg = delt > 0 ? 1.0 : -1.0;
    const double ax = 1 / (3 * std::sqrt(2.0));
    const double ay1 = std::sqrt(3.0) / (2 * std::sqrt(6.0)), ay3 = 1 / (2 * std::sqrt(6.0));
    const double az = std::sqrt(3.0) / std::sqrt(6.0);
    const double expected[3][12] = {
        // about x: atoms 1 and 2 lie on the axis
        {0, 0, 0, 0, 0, 0, 0, -3 * ch * ax, -3 * sh * ax, 0, 3 * ch * ax, 3 * sh * ax},
        // about y
        {-sh * ay1, 0, -ch * ay1, sh * ay1, 0, ch * ay1, 3 * ch * ay3, 0, -3 * sh * ay3, -3 * ch * ay3, 0,
         3 * sh * ay3},
        // about z: atoms 3 and 4 lie on the axis
        {-sh * az, ch * az, 0, sh * az, -ch * az, 0, 0, 0, 0, 0, 0, 0},
    };
    SurfaceRun g = surfaceRun(kPlanar, delt);
    TestConsole tc;
    surfacemodes(*g.p, *g.coor, tc.console);
    for (int e = 1; e <= 3; ++e) {
      for (int r = 1; r <= 12; ++r) {
        EXPECT_NEAR(g.p->eigv(15 + e, r, 2), sg * expected[e - 1][r - 1], 1e-12)
            << "axis " << e << " row " << r;
      }
    }
    // (a turn above 0.01 radians has a note on its tilt, tested below)
    if (std::fabs(delt) <= 0.01) {
      EXPECT_EQ(tc.err(), "");
    }
  }
}

TEST(SurfaceModes, ProductRunStops) {
  SurfaceRun g = surfaceRun(kPlanar, 0.01, 1);
  g.p->iprodLine = 7;
  TestConsole tc;
  EXPECT_EQ(runEndMessage([&] { surfacemodes(*g.p, *g.coor, tc.console); }, kStatusStop),
            "kelmar: standard input, line 7: iprod is 1, but a surface run projects reactant modes only, so "
            "iprod must be 0");
  EXPECT_EQ(tc.out(), " \n  product is not well defined in gas-surface reaciton\n");
  for (int m = 13; m <= 18; ++m) EXPECT_EQ(g.p->eigv(m, 1, 2), 0.0);
}

// The note of a rotational mode set to zero, for axis e (1, 2, 3) and its
// cause.
enum class Still { Formed, OnAxis, TooSmall, TooLarge };

std::string stillNote(int e, Still cause) {
  const std::string axis = std::string(1, "xyz"[e - 1]);
  std::string note = "kelmar: note: the rotational mode about " + axis + " is set to zero: ";
  switch (cause) {
    case Still::OnAxis:
      return note + "the turn about the " + axis +
             " axis through the centre of mass does not move the molecule (a single atom, or a linear molecule "
             "lying on that axis)";
    case Still::TooSmall:
      return note + "delt is too small: a turn of delt radians about the " + axis +
             " axis through the centre of mass does not change the coordinates";
    case Still::TooLarge:
      return note + "delt is too large: the turn of delt radians about the " + axis +
             " axis through the centre of mass moves the molecule no further than the rounding residue of so "
             "large an angle (or delt is a whole number of full turns)";
    case Still::Formed:
      break;
  }
  return "";
}

// A single atom, and a linear molecule along z (off the origin, so that its
// centre of mass carries rounding). The second linear molecule has masses and
// coordinates exact in binary, so that its centre of mass carries no
// rounding and a turn too small to change the coordinates leaves them
// exactly as they were.
const std::vector<Atom> kAtom = {{12.011, 0.37, -1.21, 2.53}};
const std::vector<Atom> kLinearZ = {{12.011, 0.1, 0.3, 1.1}, {15.995, 0.1, 0.3, 2.3}, {1.008, 0.1, 0.3, -0.2}};
const std::vector<Atom> kExactLinearZ = {{1.0, 0.5, 0.25, 1.0}, {1.0, 0.5, 0.25, 2.0}, {2.0, 0.5, 0.25, -0.5}};

// Turns that move the molecule by rounding residue only: every turn of a
// single atom and the turn of a linear molecule about the axis it lies on,
// whatever delt; any turn by a delt too small to change the coordinates; any
// turn by a delt so large that the floor, which grows with |delt|, exceeds
// every displacement, or by a whole number of full turns. Those vectors are
// exactly zero, each with one note that names the cause, and the report
// prints zeros.
TEST(SurfaceModes, TurnThatDoesNotMoveTheMoleculeIsZeroWithANoteNamingTheCause) {
  const Still on = Still::OnAxis, small = Still::TooSmall, large = Still::TooLarge, formed = Still::Formed;
  struct {
    const char* name;
    std::vector<Atom> atoms;
    double delt;
    Still cause[3];  // about x, y, z
  } cases[] = {
      {"single atom", kAtom, 0.01, {on, on, on}},
      {"single atom, tiny delt", kAtom, 1e-30, {on, on, on}},
      {"single atom, huge delt", kAtom, 1e300, {on, on, on}},
      {"linear molecule along z", kLinearZ, 0.01, {formed, formed, on}},
      {"linear molecule along z, tiny delt", kExactLinearZ, 1e-30, {small, small, on}},
      {"linear molecule along z, huge delt", kExactLinearZ, 1e300, {large, large, on}},
      {"planar molecule, tiny delt", kPlanar, 1e-30, {small, small, small}},
      {"planar molecule, tiny negative delt", kPlanar, -1e-30, {small, small, small}},
      {"planar molecule, huge delt", kPlanar, 1e300, {large, large, large}},
      {"planar molecule, huge negative delt", kPlanar, -1e300, {large, large, large}},
      {"planar molecule, one full turn", kPlanar, 6.283185307179586, {large, large, large}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurfaceRun g = surfaceRun(c.atoms, c.delt);
    Projection& p = *g.p;
    const int n = p.natom;
    for (int r = 1; r <= 3 * n; ++r) p.eigv(p.nimag, r, 2) = r % 2 == 0 ? -0.4 : 0.3;
    TestConsole tc;
    surfacemodes(p, *g.coor, tc.console);

    // A tiny delt also leaves the translations zero, with notes of their own.
    std::vector<std::string> notes;
    for (const std::string& line : splitLines(tc.err())) {
      if (line.rfind("kelmar: note: the translational mode along ", 0) != 0) notes.push_back(line);
    }
    std::vector<std::string> expectedNotes;
    int zeros = 0;
    for (int e = 1; e <= 3; ++e) {
      const bool zero = c.cause[e - 1] != Still::Formed;
      double sum = 0;
      for (int r = 1; r <= 3 * n; ++r) {
        double v = p.eigv(3 * n + 3 + e, r, 2);
        if (zero) {
          EXPECT_EQ(v, 0.0) << "axis " << e << " row " << r;
        }
        sum += v * v;
      }
      if (zero) {
        expectedNotes.push_back(stillNote(e, c.cause[e - 1]));
        ++zeros;
      } else {
        EXPECT_NEAR(sum, 1.0, 1e-12) << "axis " << e;
      }
    }
    EXPECT_EQ(notes, expectedNotes);

    TestConsole report;
    printout(p, 0, report.console);
    std::string text = report.out();
    EXPECT_EQ(text.find("NaN"), std::string::npos);
    std::string zeroBlock = " rotational modes     0.000\n";
    for (int a = 1; a <= n; ++a) zeroBlock += "     0.000     0.000     0.000\n";
    int count = 0;
    for (std::size_t at = text.find(zeroBlock); at != std::string::npos; at = text.find(zeroBlock, at + 1))
      ++count;
    EXPECT_EQ(count, zeros) << text;
  }
}

// A rotational vector is the chord of a turn by delt, which leans delt/2
// away from the rotation: above |delt| = 0.01 one note says so, once, after
// the rotations, when at least one rotational vector was formed.
TEST(SurfaceModes, TurnAboveTheBoundIsNotedOnceWhenARotationIsFormed) {
  const std::string tilt =
      "kelmar: note: |delt| is above 0.01 radians: a rotational mode is the chord of a turn by delt, which leans "
      "delt/2 away from the rotation (at a delt of pi it is at right angles to it), so its projections stray "
      "from those of the rotation; a |delt| of at most 0.01 keeps the lean within 0.005 radians";
  struct {
    const char* name;
    std::vector<Atom> atoms;
    double delt;
    bool noted;
  } cases[] = {
      {"at the bound", kPlanar, 0.01, false},
      {"at the negative bound", kPlanar, -0.01, false},
      {"just above the bound", kPlanar, std::nextafter(0.01, 1.0), true},
      {"one radian, negative", kPlanar, -1.0, true},
      {"a half turn", kPlanar, 3.141592653589793, true},
      {"linear molecule, two rotations formed", kLinearZ, 1.0, true},
      {"single atom: no rotation formed", kAtom, 1.0, false},
      {"huge delt: no rotation formed", kPlanar, 1e300, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurfaceRun g = surfaceRun(c.atoms, c.delt);
    TestConsole tc;
    surfacemodes(*g.p, *g.coor, tc.console);
    std::vector<std::string> notes = splitLines(tc.err());
    std::size_t count = 0;
    for (const std::string& line : notes) count += line == tilt ? 1 : 0;
    EXPECT_EQ(count, c.noted ? 1u : 0u) << tc.err();
    if (c.noted) {
      EXPECT_EQ(notes.back(), tilt);
    }
  }
}

}  // namespace
}  // namespace kelmar
