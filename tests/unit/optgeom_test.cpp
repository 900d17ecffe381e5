// The fragment superposition: the objective, the trace, and the mode vectors
// turned into the transition state's frame.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "shared/rotation.h"
#include "superposition/superposition.h"
#include "testconsole.h"

namespace kelmar {
namespace {

using Triple = std::array<double, 3>;

struct Case {
  int iprod = 0;
  int itrans = 2;
  int nreact1 = 0;
  std::vector<double> masses;
  std::vector<Triple> structure;  // slab 1 + iprod, the one superimposed
  std::vector<Triple> ts;         // slab itrans
  std::vector<std::vector<double>> modes;  // modes of the structure, 3N rows each
  std::vector<double> freqs;
};

using Loaded = TestState;

Loaded load(const Case& c) {
  Loaded r;
  Projection& p = *r.p;
  const int n = int(c.masses.size());
  p.natom = n;
  p.nreact1 = c.nreact1;
  p.iprod = c.iprod;
  p.itrans = c.itrans;
  p.nmode = 3 * n;
  p.nvibm = int(c.modes.size());
  const int s = 1 + c.iprod;
  for (int a = 1; a <= n; ++a) {
    p.amass(a) = c.masses[std::size_t(a - 1)];
    for (int k = 1; k <= 3; ++k) {
      r.coor->axis(k, n * (s - 1) + a) = c.structure[std::size_t(a - 1)][std::size_t(k - 1)];
      r.coor->axis(k, n * (c.itrans - 1) + a) = c.ts[std::size_t(a - 1)][std::size_t(k - 1)];
    }
  }
  for (int m = 1; m <= p.nvibm; ++m) {
    p.freq(m, s) = c.freqs[std::size_t(m - 1)];
    for (int row = 1; row <= 3 * n; ++row) p.eigv(m, row, s) = c.modes[std::size_t(m - 1)][std::size_t(row - 1)];
  }
  return r;
}

std::string joined(const std::vector<std::string>& ls) {
  std::string text;
  for (const auto& l : ls) text += l + "\n";
  return text;
}

// The numbers of a line, in order.
std::vector<double> numbers(const std::string& line) {
  std::vector<double> v;
  std::istringstream in(line);
  for (std::string word; in >> word;) {
    try {
      std::size_t used = 0;
      double d = std::stod(word, &used);
      if (used == word.size()) v.push_back(d);
    } catch (const std::exception&) {
    }
  }
  return v;
}

// Points turned by the transpose of R (its inverse), with a shift added.
std::vector<Triple> turnedBack(const RotationMatrix& r, const std::vector<Triple>& pts, Triple shift) {
  std::vector<Triple> out;
  for (const Triple& q : pts) {
    Triple t{};
    for (int i = 0; i < 3; ++i) {
      double s = 0.0;
      for (int j = 0; j < 3; ++j) s += r.m[j][i] * q[std::size_t(j)];
      t[std::size_t(i)] = s + shift[std::size_t(i)];
    }
    out.push_back(t);
  }
  return out;
}

std::vector<Triple> shifted(std::vector<Triple> pts, Triple shift) {
  for (Triple& q : pts)
    for (int i = 0; i < 3; ++i) q[std::size_t(i)] += shift[std::size_t(i)];
  return pts;
}

TEST(Func, RootOfTheSummedSquaredDeviationsOfOneFragment) {
  // The centred copies as the superposition lays them down (structure at
  // positions (s+2)N + a, transition state at (T+2)N + a): fragment 1 is one
  // atom; fragment 2 a pair along x in the transition state and along y in
  // the structure. Its misfit unturned is sqrt((1.5^2 + 1.5^2) + (0.5^2 +
  // 0.5^2)) = sqrt(5): no mass weights it (none is set here).
  auto owner = std::make_unique<Projection>();
  Projection& p = *owner;
  Coor coor;
  p.natom = 3;
  p.nreact1 = 1;
  p.iprod = 1;
  p.itrans = 3;
  const int reac = 4 * 3, ts = 5 * 3;
  coor.x(ts + 2) = 1.5;
  coor.x(ts + 3) = -0.5;
  coor.y(reac + 2) = 1.5;
  coor.y(reac + 3) = -0.5;
  const double quarterTurn = std::acos(-1.0) / 2.0;
  Vec3 none, turn;
  turn(3) = -quarterTurn;  // turns y onto x
  struct {
    int ifunc;
    const Vec3& angles;
    double expected, tolerance;
  } cases[] = {
      {1, none, 0.0, 0.0},
      {2, none, std::sqrt(5.0), 0.0},
      {3, none, std::sqrt(5.0), 0.0},  // any selector but 1 measures fragment 2
      {2, turn, 0.0, 1e-15},
      {1, turn, 0.0, 0.0},
  };
  for (const auto& k : cases) {
    p.ifunc = k.ifunc;
    EXPECT_NEAR(func(p, coor, k.angles), k.expected, k.tolerance) << "ifunc " << k.ifunc;
  }
}

// The whole trace of small cases whose every number can be checked by hand.
TEST(Optgeom, TraceByteForByte) {
  Case shiftedCopy;  // each fragment of the transition state shifted as a whole
  shiftedCopy.nreact1 = 3;
  shiftedCopy.masses = {1.0, 1.0, 2.0, 1.0, 3.0};
  shiftedCopy.ts = {{{0.5, 0.25, -0.125}}, {{-0.75, 0.5, 0.375}}, {{0.125, -1.0, 0.25}},
                    {{2.0, 1.5, -0.5}}, {{2.5, 0.75, 0.25}}};
  {
    std::vector<Triple> f1(shiftedCopy.ts.begin(), shiftedCopy.ts.begin() + 3);
    std::vector<Triple> f2(shiftedCopy.ts.begin() + 3, shiftedCopy.ts.end());
    shiftedCopy.structure = shifted(f1, {1.0, -2.0, 0.5});
    const std::vector<Triple> second = shifted(f2, {-3.0, 0.25, 4.0});
    shiftedCopy.structure.insert(shiftedCopy.structure.end(), second.begin(), second.end());
  }
  shiftedCopy.modes = {{0.1, -0.2, 0.3, 0.05, 0.0, -0.15, 0.25, 0.125, -0.5, 0.0625, 0.375, 0.0, -0.3, 0.2, -0.1},
                       {-0.01, 0.02, 0.03, 0.04, -0.05, 0.06, 0.07, 0.08, -0.09, 0.1, 0.11, -0.12, 0.13, 0.14, 0.15}};
  shiftedCopy.freqs = {-1500.25, 300.5};

  Case twoAtoms;  // one atom in each fragment: nothing to minimise
  twoAtoms.nreact1 = 1;
  twoAtoms.masses = {1.0, 16.0};
  twoAtoms.ts = {{{0.0, 0.0, -1.2}}, {{0.1, 0.2, 0.9}}};
  twoAtoms.structure = {{{3.25, -1.5, 7.75}}, {{-2.0, 4.5, 0.0}}};
  twoAtoms.modes = {{0.1, -0.2, 0.3, -0.4, 0.5, -0.6}};
  twoAtoms.freqs = {1234.5678};

  const std::vector<std::string> fitted = {
      "  0.000000000000000E+000",
      "  iter=           1  fret=  0.000000000000000E+000",
      "  final=  0.000000000000000E+000  0.000000000000000E+000  0.000000000000000E+000",
      "  final geometry=",
      " after optimization",
  };
  std::vector<std::string> shiftedTrace = {" initial geometry"};
  for (int k = 0; k < 2; ++k) shiftedTrace.insert(shiftedTrace.end(), fitted.begin(), fitted.end());
  const std::vector<std::string> modeBlocks = {
      " mode           1  -1500.25000000000     ",
      "     0.50000000     0.25000000    -0.12500000     0.10000000    -0.20000000     0.30000000",
      "    -0.75000000     0.50000000     0.37500000     0.05000000     0.00000000    -0.15000000",
      "     0.12500000    -1.00000000     0.25000000     0.25000000     0.12500000    -0.50000000",
      "     2.00000000     1.50000000    -0.50000000     0.06250000     0.37500000     0.00000000",
      "     2.50000000     0.75000000     0.25000000    -0.30000000     0.20000000    -0.10000000",
      " ",
      " mode           2   300.500000000000     ",
      "     0.50000000     0.25000000    -0.12500000    -0.01000000     0.02000000     0.03000000",
      "    -0.75000000     0.50000000     0.37500000     0.04000000    -0.05000000     0.06000000",
      "     0.12500000    -1.00000000     0.25000000     0.07000000     0.08000000    -0.09000000",
      "     2.00000000     1.50000000    -0.50000000     0.10000000     0.11000000    -0.12000000",
      "     2.50000000     0.75000000     0.25000000     0.13000000     0.14000000     0.15000000",
      " ",
  };
  shiftedTrace.insert(shiftedTrace.end(), modeBlocks.begin(), modeBlocks.end());

  const std::vector<std::string> twoAtomTrace = {
      " initial geometry",
      " mode           1   1234.56780000000     ",
      "     0.00000000     0.00000000    -1.20000000     0.10000000    -0.20000000     0.30000000",
      "     0.10000000     0.20000000     0.90000000    -0.40000000     0.50000000    -0.60000000",
      " ",
  };

  struct {
    const char* name;
    const Case& c;
    const std::vector<std::string>& expected;
  } cases[] = {
      {"fragments shifted as a whole", shiftedCopy, shiftedTrace},
      {"two atoms in two fragments", twoAtoms, twoAtomTrace},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    Loaded r = load(k.c);
    TestConsole tc;
    optgeom(*r.p, *r.coor, tc.console);
    EXPECT_EQ(tc.out(), joined(k.expected));
    EXPECT_EQ(tc.err(), "");
  }
}

// A structure made from the transition state by turning each fragment about
// its centre of mass by known angles and shifting it; its modes are the
// transition state's vectors turned the same way.
struct Turned {
  Case c;
  std::vector<std::vector<double>> tsModes;  // the modes in the transition state's frame
  std::vector<Triple> tsGeometry;
  Vec3 angles[2];
};

Turned turnedCase(int iprod, int itrans, Triple shift1, Triple shift2) {
  Turned t;
  Case& c = t.c;
  c.iprod = iprod;
  c.itrans = itrans;
  c.nreact1 = 3;
  c.masses = {15.995, 1.008, 1.008, 12.0, 1.008, 1.008};
  c.ts = {{{1.2, -0.4, 2.117}}, {{1.2, 0.357, 1.531}}, {{1.2, -1.157, 1.531}},
          {{3.0, 1.0, -0.5}},   {{3.6, 1.9, -0.2}},   {{2.4, 1.3, -1.3}}};
  t.tsGeometry = c.ts;
  const double a[2][3] = {{0.3, -0.2, 0.5}, {-0.4, 0.25, 0.1}};
  const Triple shifts[2] = {shift1, shift2};
  t.tsModes = {{0.1, -0.2, 0.3, 0.05, 0.4, -0.15, 0.25, 0.125, -0.5, 0.0625, 0.375, 0.2, -0.3, 0.2, -0.1, 0.3, 0.1, 0.2},
               {0.3, 0.1, -0.2, 0.2, -0.1, 0.4, -0.3, 0.2, 0.1, -0.1, 0.3, -0.4, 0.2, 0.2, -0.2, 0.1, -0.3, 0.3}};
  c.modes = t.tsModes;
  c.freqs = {-812.5, 1650.25};
  for (int k = 0; k < 2; ++k) {
    for (int j = 0; j < 3; ++j) t.angles[k](j + 1) = a[k][j];
    const RotationMatrix r = rotxyz(a[k][0], a[k][1], a[k][2]);
    const std::size_t first = std::size_t(3 * k), last = first + 3;
    double mass = 0.0;
    Triple centre{};
    for (std::size_t i = first; i < last; ++i) {
      mass += c.masses[i];
      for (int x = 0; x < 3; ++x) centre[std::size_t(x)] += c.masses[i] * c.ts[i][std::size_t(x)];
    }
    std::vector<Triple> centred, modeTriples;
    for (std::size_t i = first; i < last; ++i) {
      Triple q;
      for (std::size_t x = 0; x < 3; ++x) q[x] = c.ts[i][x] - centre[x] / mass;
      centred.push_back(q);
    }
    for (const Triple& q : turnedBack(r, centred, shifts[k])) c.structure.push_back(q);
    for (auto& mode : c.modes) {
      std::vector<Triple> rows;
      for (std::size_t i = first; i < last; ++i) rows.push_back({mode[3 * i], mode[3 * i + 1], mode[3 * i + 2]});
      rows = turnedBack(r, rows, {0.0, 0.0, 0.0});
      for (std::size_t i = first; i < last; ++i)
        for (std::size_t x = 0; x < 3; ++x) mode[3 * i + x] = rows[i - first][x];
    }
  }
  return t;
}

struct Superimposed {
  std::string out;
  std::vector<std::vector<double>> modes;  // eigv of slab s after the superposition
  int ifunc = 0;
};

Superimposed superimpose(const Case& c) {
  Loaded r = load(c);
  TestConsole tc;
  optgeom(*r.p, *r.coor, tc.console);
  Superimposed s;
  s.out = tc.out();
  s.ifunc = r.p->ifunc;
  for (int m = 1; m <= r.p->nvibm; ++m) {
    s.modes.emplace_back();
    for (int row = 1; row <= 3 * r.p->natom; ++row) s.modes.back().push_back(r.p->eigv(m, row, 1 + c.iprod));
  }
  return s;
}

TEST(Optgeom, TurnedFragmentsAreLaidBackOnTheTransitionState) {
  struct {
    const char* name;
    int iprod, itrans;
  } layouts[] = {{"reactant", 0, 2}, {"product", 1, 3}};
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.name);
    Turned t = turnedCase(layout.iprod, layout.itrans, {1.5, -2.0, 0.75}, {-3.0, 1.0, 2.0});
    Superimposed s = superimpose(t.c);
    const std::vector<std::string> out = splitLines(s.out);
    ASSERT_EQ(out.size(), 1u + 2 * 5 + 2 * (1 + 6 + 1));
    for (int k = 0; k < 2; ++k) {
      const std::size_t at = 1 + 5 * std::size_t(k);
      EXPECT_GT(numbers(out[at])[0], 0.1);  // the misfit before any turn
      std::vector<double> iterFret = numbers(out[at + 1]);
      ASSERT_EQ(iterFret.size(), 2u);
      EXPECT_LT(iterFret[1], 1e-6);
      std::vector<double> degrees = numbers(out[at + 2]);
      ASSERT_EQ(degrees.size(), 3u);
      for (int j = 0; j < 3; ++j) EXPECT_NEAR(degrees[std::size_t(j)], t.angles[k](j + 1) * 57.29578778556937, 1e-6);
    }
    EXPECT_EQ(out[11], " mode           1  -812.500000000000     ");
    EXPECT_EQ(out[19], " mode           2   1650.25000000000     ");
    for (int m = 0; m < 2; ++m) {
      for (std::size_t a = 0; a < 6; ++a) {
        std::vector<double> v = numbers(out[12 + 8 * std::size_t(m) + a]);
        ASSERT_EQ(v.size(), 6u);
        for (std::size_t x = 0; x < 3; ++x) {
          EXPECT_NEAR(v[x], t.tsGeometry[a][x], 2e-8);
          EXPECT_NEAR(s.modes[std::size_t(m)][3 * a + x], t.tsModes[std::size_t(m)][3 * a + x], 1e-9);
          EXPECT_EQ(v[3 + x], std::round(s.modes[std::size_t(m)][3 * a + x] * 1e8) / 1e8);
        }
      }
    }
    EXPECT_EQ(s.ifunc, 3);
  }
}

TEST(Optgeom, ShiftingTheStructureOrAFragmentChangesNothingBeyondRounding) {
  const Superimposed base = superimpose(turnedCase(0, 2, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}).c);
  const Triple shifts[][2] = {
      {{5.0, -7.0, 3.0}, {5.0, -7.0, 3.0}},  // the whole structure
      {{0.0, 0.0, 0.0}, {-2.5, 0.3, 11.0}},  // fragment 2 alone
  };
  for (const auto& sh : shifts) {
    const Superimposed moved = superimpose(turnedCase(0, 2, sh[0], sh[1]).c);
    const std::vector<std::string> a = splitLines(base.out), b = splitLines(moved.out);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (i == 2 || i == 7) continue;  // iter and fret: where the noise settles
      std::vector<double> x = numbers(a[i]), y = numbers(b[i]);
      ASSERT_EQ(x.size(), y.size()) << a[i];
      for (std::size_t j = 0; j < x.size(); ++j) EXPECT_NEAR(x[j], y[j], 1e-6) << a[i] << "\n" << b[i];
    }
    for (std::size_t m = 0; m < base.modes.size(); ++m)
      for (std::size_t r = 0; r < base.modes[m].size(); ++r) EXPECT_NEAR(base.modes[m][r], moved.modes[m][r], 1e-8);
  }
}

TEST(Optgeom, OnlyFragmentsOfTwoAtomsOrMoreAreMinimised) {
  Case c;
  c.masses = {12.0, 1.008, 15.995, 1.008};
  c.ts = {{{0.1, 0.2, 0.3}}, {{1.1, -0.4, 0.2}}, {{-0.3, 0.9, -0.8}}, {{0.7, 0.5, 1.4}}};
  c.structure = {{{0.3, 0.1, 0.2}}, {{1.0, -0.6, 0.5}}, {{-0.1, 1.1, -0.6}}, {{0.4, 0.8, 1.2}}};
  c.modes = {{0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.1, 1.2}};
  c.freqs = {-100.0};
  struct {
    int nreact1;
    int minimised;
    int singleAtom;  // 0 when neither fragment is a single atom
  } cases[] = {{0, 1, 0}, {1, 1, 1}, {2, 2, 0}, {3, 1, 4}, {4, 1, 0}};
  for (const auto& k : cases) {
    SCOPED_TRACE("nreact1 " + std::to_string(k.nreact1));
    c.nreact1 = k.nreact1;
    Superimposed s = superimpose(c);
    const std::vector<std::string> out = splitLines(s.out);
    ASSERT_EQ(out.size(), std::size_t(1 + 5 * k.minimised + 1 + 4 + 1));
    EXPECT_EQ(out[0], " initial geometry");
    for (int f = 0; f < k.minimised; ++f) {
      EXPECT_EQ(out[std::size_t(2 + 5 * f)].substr(0, 8), "  iter= ");
      EXPECT_EQ(out[std::size_t(5 + 5 * f)], " after optimization");
    }
    EXPECT_EQ(out[std::size_t(1 + 5 * k.minimised)], " mode           1  -100.000000000000     ");
    if (k.singleAtom > 0) {
      // a lone atom keeps its rows and is shown at its transition-state place
      const std::size_t a = std::size_t(k.singleAtom - 1);
      std::vector<double> v = numbers(out[std::size_t(2 + 5 * k.minimised) + a]);
      for (std::size_t x = 0; x < 3; ++x) {
        EXPECT_NEAR(v[x], c.ts[a][x], 1e-12);
        EXPECT_EQ(s.modes[0][3 * a + x], c.modes[0][3 * a + x]);
      }
    }
    EXPECT_EQ(s.ifunc, 3);
  }
}

TEST(Optgeom, CollinearFragmentOnTheZAxisTerminates) {
  // H + H2 along z, as a standard orientation lays a collinear complex: a
  // turn about z leaves the pair where it is, so that line is level.
  Case c;
  c.nreact1 = 1;
  c.masses = {1.008, 1.008, 1.008};
  c.ts = {{{0.0, 0.0, 1.4}}, {{0.0, 0.0, 0.45}}, {{0.0, 0.0, -0.45}}};
  c.modes = {{0.0, 0.0, 0.5, 0.0, 0.0, -0.7, 0.0, 0.0, 0.2},
             {0.6, 0.0, 0.0, -0.3, 0.0, 0.0, -0.3, 0.0, 0.0},
             {0.0, 0.6, 0.0, 0.0, -0.3, 0.0, 0.0, -0.3, 0.0},
             {0.0, 0.0, 0.1, 0.0, 0.0, 0.6, 0.0, 0.0, -0.7}};
  c.freqs = {-1500.0, 500.0, 500.0, 4400.0};
  struct {
    const char* name;
    std::vector<Triple> structure;
    const char* misfit;   // line 2, when it is known exactly
    const char* iterFret; // line 3, likewise
  } cases[] = {
      {"the pair on its own copy", {{{0.0, 0.0, 6.0}}, {{0.0, 0.0, 0.45}}, {{0.0, 0.0, -0.45}}},
       "  0.000000000000000E+000", "  iter=           1  fret=  0.000000000000000E+000"},
      {"a longer pair", {{{0.0, 0.0, 6.0}}, {{0.0, 0.0, 0.5}}, {{0.0, 0.0, -0.5}}}, nullptr, nullptr},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    c.structure = k.structure;
    Superimposed s = superimpose(c);
    const std::vector<std::string> out = splitLines(s.out);
    ASSERT_EQ(out.size(), 1u + 5 + 4 * (1 + 3 + 1));
    EXPECT_EQ(s.out.find("NaN"), std::string::npos);
    EXPECT_EQ(s.out.find("Inf"), std::string::npos);
    if (k.misfit != nullptr) {
      EXPECT_EQ(out[1], k.misfit);
      EXPECT_EQ(out[2], k.iterFret);
    } else {
      // the pair stays on the axis: the misfit is that of the bond lengths
      EXPECT_NEAR(numbers(out[2])[1], std::sqrt(2.0) * 0.05, 1e-12);
    }
    for (const auto& mode : s.modes)
      for (double v : mode) EXPECT_TRUE(std::isfinite(v));
  }
}

}  // namespace
}  // namespace kelmar
