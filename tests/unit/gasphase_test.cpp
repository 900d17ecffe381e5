// The gas-phase relative translation vector and its centre-of-mass lines.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "shared/output.h"
#include "testconsole.h"

namespace kelmar {
namespace {

// mass, x, y, z
using Atom = std::array<double, 4>;

using GasRun = TestState;

// A gas-phase run whose structure (slab 1 + iprod) holds the atoms, with the
// fragment masses summed as structure loading sums them.
GasRun gasRun(int iprod, int nreact1, const std::vector<Atom>& atoms, double delt) {
  GasRun g;
  Projection& p = *g.p;
  const int n = int(atoms.size());
  p.reactype = Reactype("gas");
  p.software = Software("gaussian");
  p.iprod = iprod;
  p.natom = n;
  p.nreact1 = nreact1;
  p.nmode = 3 * n;
  p.nvibm = 3 * n - 6;
  p.itrans = 2 + iprod;
  p.nimag = 1;
  p.delt = delt;
  const int offset = n * iprod;
  for (int a = 1; a <= n; ++a) {
    p.amass(a) = atoms[std::size_t(a - 1)][0];
    g.coor->x(offset + a) = atoms[std::size_t(a - 1)][1];
    g.coor->y(offset + a) = atoms[std::size_t(a - 1)][2];
    g.coor->z(offset + a) = atoms[std::size_t(a - 1)][3];
  }
  for (int a = 1; a <= nreact1; ++a) p.tmass1 = p.tmass1 + p.amass(a);
  for (int a = nreact1 + 1; a <= n; ++a) p.tmass2 = p.tmass2 + p.amass(a);
  p.tmass = p.tmass1 + p.tmass2;
  return g;
}

// A water-like fragment 2 and an atom as fragment 1, in no special position.
const std::vector<Atom> kTriatomic = {
    {1.008, 0.31, -1.72, 2.05}, {15.995, -0.42, 0.66, -0.13}, {1.008, 0.51, 0.93, 0.28}};

// The translation vector in closed form: rows sqrt(m) * (tmass2/tmass) * D for
// fragment 1 and -sqrt(m) * (tmass1/tmass) * D for fragment 2, normalised,
// with D from the centre of fragment 1 to that of fragment 2.
std::vector<double> closedForm(const std::vector<Atom>& atoms, int nreact1) {
  double m1 = 0, m2 = 0, c1[3] = {}, c2[3] = {};
  for (std::size_t a = 0; a < atoms.size(); ++a) {
    bool first = int(a) < nreact1;
    (first ? m1 : m2) += atoms[a][0];
    for (int c = 0; c < 3; ++c) (first ? c1 : c2)[c] += atoms[a][0] * atoms[a][1 + c];
  }
  double d[3];
  for (int c = 0; c < 3; ++c) d[c] = c2[c] / m2 - c1[c] / m1;
  std::vector<double> v;
  double sum = 0;
  for (std::size_t a = 0; a < atoms.size(); ++a) {
    double f = int(a) < nreact1 ? m2 / (m1 + m2) : -m1 / (m1 + m2);
    for (int c = 0; c < 3; ++c) {
      v.push_back(std::sqrt(atoms[a][0]) * f * d[c]);
      sum += v.back() * v.back();
    }
  }
  for (double& x : v) x /= std::sqrt(sum);
  return v;
}

TEST(GasPhase, VectorIsTheClosedFormForEveryStepAndItsNegativeInAProductRun) {
  const std::vector<double> expected = closedForm(kTriatomic, 1);
  struct {
    int iprod;
    double delt;
  } cases[] = {{0, 0.01}, {0, -0.02}, {0, 1.0}, {0, 0.3}, {1, 0.01}, {1, -0.5}};
  for (const auto& c : cases) {
    SCOPED_TRACE("iprod " + std::to_string(c.iprod) + " delt " + std::to_string(c.delt));
    GasRun g = gasRun(c.iprod, 1, kTriatomic, c.delt);
    TestConsole tc;
    gasphase(*g.p, *g.coor, tc.console);
    const double sign = c.iprod == 1 ? -1.0 : 1.0;
    double norm = 0;
    for (int r = 1; r <= 9; ++r) {
      double v = g.p->eigv(10, r, g.p->itrans);
      EXPECT_NEAR(v, sign * expected[std::size_t(r - 1)], 1e-10) << "row " << r;
      norm += v * v;
    }
    EXPECT_NEAR(norm, 1.0, 1e-14);
    // The step factors, k1 for fragment 1 and k2 for fragment 2, sum to delt.
    const double k1 = (g.p->tmass2 * c.delt) / g.p->tmass;
    const double k2 = (g.p->tmass1 * c.delt) / g.p->tmass;
    for (int axis = 1; axis <= 3; ++axis) {
      EXPECT_NEAR(g.p->t1(axis), sign * k1, 1e-15);
      EXPECT_NEAR(g.p->t2(axis), sign * k2, 1e-15);
    }
    EXPECT_EQ(tc.err(), "");
  }
}

TEST(GasPhase, PrintsTheCentreOfMassAndItsCheck) {
  // masses 2, 1, 1: the centre of mass (0.5, 0.375, 0.75) is exact
  GasRun g = gasRun(0, 1, {{2.0, 0.5, 0.25, -1.0}, {1.0, 1.5, 0.25, 2.0}, {1.0, -0.5, 0.75, 3.0}}, 0.01);
  TestConsole tc;
  gasphase(*g.p, *g.coor, tc.console);
  std::vector<std::string> out = splitLines(tc.out());
  ASSERT_EQ(out.size(), 6u) << tc.out();
  EXPECT_EQ(out[0], " ");
  EXPECT_EQ(out[1], " center of mass");
  EXPECT_EQ(out[2], "  0.500000000000000       0.375000000000000       0.750000000000000     ");
  EXPECT_EQ(out[3], " center of mass check");
  EXPECT_EQ(out[4].size(), 72u);
  std::istringstream check(out[4]);
  double c[3];
  check >> c[0] >> c[1] >> c[2];
  EXPECT_NEAR(c[0], 0.5, 1e-15);
  EXPECT_NEAR(c[1], 0.375, 1e-15);
  EXPECT_NEAR(c[2], 0.75, 1e-15);
  EXPECT_EQ(out[5], " ");
  EXPECT_EQ(g.p->com(1), 0.5);
  EXPECT_EQ(g.p->com(2), 0.375);
  EXPECT_EQ(g.p->com(3), 0.75);
}

TEST(GasPhase, CheckCentreDividesByTmass) {
  GasRun g = gasRun(0, 1, {{2.0, 0.5, 0.25, -1.0}, {1.0, 1.5, 0.25, 2.0}, {1.0, -0.5, 0.75, 3.0}}, 0.01);
  g.p->tmass = 8.0;  // twice the masses summed: the check centre halves
  TestConsole tc;
  gasphase(*g.p, *g.coor, tc.console);
  std::istringstream check(splitLines(tc.out()).at(4));
  double c[3];
  check >> c[0] >> c[1] >> c[2];
  EXPECT_NEAR(c[0], 0.25, 1e-15);
  EXPECT_NEAR(c[1], 0.1875, 1e-15);
  EXPECT_NEAR(c[2], 0.375, 1e-15);
}

TEST(GasPhase, ChangesOnlyItsModeAndItsWorkingPositions) {
  for (int iprod : {0, 1}) {
    GasRun g = gasRun(iprod, 1, kTriatomic, 0.01);
    Projection& p = *g.p;
    Coor& coor = *g.coor;
    const int n = 3;
    // every position that holds no atom of the structure gets a sentinel
    for (int pos = 1; pos <= kMaxPositions; ++pos) {
      if (pos > n * iprod && pos <= n * (iprod + 1)) continue;
      coor.x(pos) = 1000.0 + pos;
      coor.y(pos) = 2000.0 + pos;
      coor.z(pos) = 3000.0 + pos;
    }
    const Coor before = coor;
    for (int s = 1; s <= 3; ++s) {
      for (int m = 1; m <= 11; ++m) {
        p.freq(m, s) = 10.0 * m + s;
        for (int r = 1; r <= 10; ++r) p.eigv(m, r, s) = 0.01 * m + 0.1 * r + s;
      }
    }
    TestConsole tc;
    gasphase(p, coor, tc.console);
    for (int pos = 1; pos <= kMaxPositions; ++pos) {
      if (pos >= 3 * n + 1 && pos <= 5 * n + 1) continue;
      EXPECT_EQ(coor.x(pos), before.x(pos)) << pos;
      EXPECT_EQ(coor.y(pos), before.y(pos)) << pos;
      EXPECT_EQ(coor.z(pos), before.z(pos)) << pos;
    }
    for (int s = 1; s <= 3; ++s) {
      for (int m = 1; m <= 11; ++m) {
        EXPECT_EQ(p.freq(m, s), 10.0 * m + s);
        for (int r = 1; r <= 10; ++r) {
          if (s == p.itrans && m == 10 && r <= 9) continue;
          EXPECT_EQ(p.eigv(m, r, s), 0.01 * m + 0.1 * r + s) << m << " " << r << " " << s;
        }
      }
    }
  }
}

// Structures whose relative translation cannot be formed: one fragment
// empty, or the two centres of mass in one point. The vector is exactly zero,
// the check repeats the centre of mass, one note goes to standard error, and
// the report prints zeros.
TEST(GasPhase, VectorThatCannotBeFormedIsZeroWithOneNote) {
  const std::vector<Atom> centred = {{12.0, 0.0, 0.0, 0.0}, {1.008, 1.0, 0.0, 0.0}, {1.008, -1.0, 0.0, 0.0}};
  struct {
    const char* name;
    int nreact1;
    std::vector<Atom> atoms;
    const char* reason;
  } cases[] = {
      {"fragment 1 empty", 0, kTriatomic, "fragment 1 has no atom"},
      {"fragment 2 empty", 3, kTriatomic, "fragment 2 has no atom"},
      {"coinciding centres", 1, centred, "centres of mass of the two fragments coincide"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GasRun g = gasRun(0, c.nreact1, c.atoms, 0.01);
    Projection& p = *g.p;
    // a reaction mode with negative rows, so that a sign could show
    for (int r = 1; r <= 9; ++r) p.eigv(1, r, 2) = r % 2 == 0 ? -0.3 : 0.2;
    TestConsole tc;
    gasphase(p, *g.coor, tc.console);
    for (int r = 1; r <= 9; ++r) EXPECT_EQ(p.eigv(10, r, 2), 0.0) << "row " << r;

    std::vector<std::string> out = splitLines(tc.out());
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[4], out[2]);
    std::string err = tc.err();
    EXPECT_EQ(err.rfind("kelmar: note: the relative translation vector is set to zero: ", 0), 0u) << err;
    EXPECT_NE(err.find(c.reason), std::string::npos) << err;
    EXPECT_EQ(splitLines(err).size(), 1u) << err;

    TestConsole report;
    printout(p, 1, report.console);
    std::string text = report.out();
    EXPECT_NE(text.find("\n translational     0.000\n"
                        "     0.000     0.000     0.000\n"
                        "     0.000     0.000     0.000\n"
                        "     0.000     0.000     0.000\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("NaN"), std::string::npos);
    EXPECT_EQ(report.err(), "");
  }
}

// Two fragments whose vector comes out zero: the note names the cause, the
// geometry before delt. A step of 1e-30 is lost in the rounding of every
// coordinate. A step of 1e308 overflows the step factors; in a structure
// that lies in a plane z = const the centre-to-centre vector has no z part,
// so the displaced z coordinates are NaN and the vector is zero. Centres
// 1e-12 apart (in a structure far from the origin, so that a step of 0.01 is
// lost too) count as coinciding.
TEST(GasPhase, ZeroVectorOfTwoFragmentsNamesGeometryOrDelt) {
  const std::vector<Atom> centred = {{12.0, 0.0, 0.0, 0.0}, {1.008, 1.0, 0.0, 0.0}, {1.008, -1.0, 0.0, 0.0}};
  const std::vector<Atom> flat = {{1.008, 0.31, -1.72, 2.05}, {15.995, -0.42, 0.66, 2.05}, {1.008, 0.51, 0.93, 2.05}};
  const std::vector<Atom> nearlyCentred = {
      {2.0, 1000.0, 1000.0, 1000.0}, {1.0, 999.0, 1000.0, 1000.0 + 1e-12}, {1.0, 1001.0, 1000.0, 1000.0 + 1e-12}};
  const std::string coincide =
      "the centres of mass of the two fragments coincide, so the fragments have no direction to move along";
  const std::string tooSmall =
      "delt is too small: a step of delt does not change the coordinates, although the centres of mass of the "
      "two fragments are apart";
  const std::string tooLarge =
      "delt is too large: the coordinates displaced by a step of delt overflow and are not finite numbers";
  struct {
    const char* name;
    std::vector<Atom> atoms;
    double delt;
    const std::string& cause;
  } cases[] = {
      {"step lost in rounding", kTriatomic, 1e-30, tooSmall},
      {"negative step lost in rounding", kTriatomic, -1e-30, tooSmall},
      {"step overflows", flat, 1e308, tooLarge},
      {"negative step overflows", flat, -1e308, tooLarge},
      {"coinciding centres, step lost in rounding", centred, 1e-30, coincide},
      {"coinciding centres, step overflows", centred, 1e308, coincide},
      {"centres 1e-12 apart", nearlyCentred, 0.01, coincide},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GasRun g = gasRun(0, 1, c.atoms, c.delt);
    TestConsole tc;
    gasphase(*g.p, *g.coor, tc.console);
    for (int r = 1; r <= 9; ++r) EXPECT_EQ(g.p->eigv(10, r, 2), 0.0) << "row " << r;
    EXPECT_EQ(tc.err(), "kelmar: note: the relative translation vector is set to zero: " + c.cause + "\n");
  }
}

}  // namespace
}  // namespace kelmar
