// The loading tail: fragment masses, the loading echo and the unit mode
// vectors.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "input/input.h"
#include "testconsole.h"

namespace kelmar {
namespace {

using Loaded = TestState;

// Three atoms, Gaussian files, a reactant run: itrans 2 and nimag 1.
Loaded threeAtoms(const char* software = "gaussian") {
  Loaded l;
  Projection& p = *l.p;
  p.software = blankText();
  p.software.replace(0, std::string(software).size(), software);
  p.fname = blankText().replace(0, 5, "r.log");
  p.fname2 = blankText().replace(0, 6, "ts.log");
  p.natom = 3;
  p.nreact1 = 1;
  p.nmode = 9;
  p.nvibm = 3;
  p.itrans = 2;
  p.nimag = 1;
  p.amass(1) = 15.995;
  p.amass(2) = 1.008;
  p.amass(3) = 1.008;
  l.coor->z(2) = 2.5;
  l.coor->y(3) = 1.0;
  l.coor->x(4) = -0.5;
  l.coor->z(5) = 1.25;
  l.coor->y(6) = 0.75;
  const double f[3][2] = {{12.345, -952.5}, {100.0, 200.0}, {300.0, 400.0}};
  for (int m = 1; m <= 3; ++m) {
    for (int s = 1; s <= 2; ++s) {
      p.freq(m, s) = f[m - 1][s - 1];
      p.eigv(m, m, s) = 1.0;
    }
  }
  // the reaction mode: weighted by the square roots of the masses it reads
  // (0, 0, -0.123) for atom 1 and (0, 0, sqrt(1 - 0.123^2)) for atom 3
  p.eigv(1, 1, 2) = 0.0;
  p.eigv(1, 3, 2) = -0.123 / std::sqrt(15.995);
  p.eigv(1, 9, 2) = std::sqrt(1.0 - 0.123 * 0.123) / std::sqrt(1.008);
  return l;
}

TEST(LoadingTail, EchoesMassesGeometriesFrequenciesAndTheReactionMode) {
  Loaded l = threeAtoms();
  TestConsole tc;
  loadingtail(*l.p, *l.coor, tc.console);
  EXPECT_EQ(tc.out(),
            " \n"
            " atomic mass, cartesian coordinates\n"
            " \n"
            "    15.99500000     0.00000000     0.00000000     0.00000000\n"
            "     1.00800000     0.00000000     0.00000000     2.50000000\n"
            "     1.00800000     0.00000000     1.00000000     0.00000000\n"
            " \n"
            "    15.99500000    -0.50000000     0.00000000     0.00000000\n"
            "     1.00800000     0.00000000     0.00000000     1.25000000\n"
            "     1.00800000     0.00000000     0.75000000     0.00000000\n"
            " \n"
            " frequencies for stationary points\n"
            " \n"
            "    12.34500000  -952.50000000\n"
            "   100.00000000   200.00000000\n"
            "   300.00000000   400.00000000\n"
            " \n"
            " imaginary frequency at TS\n"
            "  -952.500000000000     \n"
            " \n"
            " normal mode vector for reaction mode\n"
            "     0.000     0.000    -0.123\n"
            "     0.000     0.000     0.000\n"
            "     0.000     0.000     0.992\n"
            " \n");
  EXPECT_EQ(tc.err(), "");
  EXPECT_EQ(l.p->tmass1, 15.995);
  EXPECT_EQ(l.p->tmass2, 1.008 + 1.008);
  EXPECT_EQ(l.p->tmass, 15.995 + (1.008 + 1.008));
}

TEST(LoadingTail, GaussianAndMolproModesBecomeUnitVectorsOthersStayAsRead) {
  for (const char* software : {"gaussian", "molpro", "polyrate gaussian", "vasp", "polyrate"}) {
    Loaded l = threeAtoms(software);
    l.p->eigv(2, 4, 1) = 3.0;  // mode 2 of slab 1: rows 2 (atom 1) and 4 (atom 2)
    TestConsole tc;
    loadingtail(*l.p, *l.coor, tc.console);
    bool weighted = contains(l.p->software, "gaussian") || contains(l.p->software, "molpro");
    double w1 = std::sqrt(15.995), w2 = 3.0 * std::sqrt(1.008);
    double norm = std::sqrt(w1 * w1 + w2 * w2);
    EXPECT_DOUBLE_EQ(l.p->eigv(2, 2, 1), weighted ? w1 / norm : 1.0) << software;
    EXPECT_DOUBLE_EQ(l.p->eigv(2, 4, 1), weighted ? w2 / norm : 3.0) << software;
  }
}

TEST(LoadingTail, SingleReactantHasNoSecondFragmentMass) {
  Loaded l = threeAtoms();
  l.p->nreact1 = 3;
  TestConsole tc;
  loadingtail(*l.p, *l.coor, tc.console);
  EXPECT_EQ(l.p->tmass2, 0.0);
  EXPECT_EQ(l.p->tmass, l.p->tmass1);
}

// The message that the tail ends the run with.
std::string failure(Loaded& l) {
  TestConsole tc;
  return runEndMessage([&] { loadingtail(*l.p, *l.coor, tc.console); });
}

TEST(LoadingTail, ModeWithoutComponentsIsRejectedNamingTheFile) {
  Loaded l = threeAtoms();
  for (int r = 1; r <= 9; ++r) l.p->eigv(3, r, 2) = 0.0;
  EXPECT_EQ(failure(l),
            "kelmar: ts.log: mode 3 has no nonzero component, so it cannot be normalised (the file holds no "
            "frequency section, or fewer modes than the control file's atom count needs)");
  // modes as read are not normalised, so a zero mode is no error there
  Loaded vasp = threeAtoms("vasp");
  for (int r = 1; r <= 9; ++r) vasp.p->eigv(3, r, 2) = 0.0;
  EXPECT_EQ(failure(vasp), "the run went on");
}

TEST(LoadingTail, MassesMustBePositive) {
  for (double bad : {0.0, -1.0}) {
    Loaded l = threeAtoms();
    l.p->amass(2) = bad;
    std::string message = failure(l);
    EXPECT_EQ(message.rfind("kelmar: atom 2 has the mass ", 0), 0u) << message;
  }
}

}  // namespace
}  // namespace kelmar
