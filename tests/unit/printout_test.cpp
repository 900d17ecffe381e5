// The report: heading, translational block, component lines and mode lines.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "testconsole.h"

namespace kelmar {
namespace {


const std::string kHeading =
    " \n"
    " ==============================================\n"
    " kelmar calculations for reactants\n"
    " ==============================================\n"
    " \n"
    " print out all kelmar results\n"
    " \n";

// Three atoms, atom 1 fragment 1 and atoms 2 and 3 fragment 2, Gaussian files:
// nmode 9, nvibm 3, ninit 1, nimag 1. The relative translation vector is
// (0, 0, 0.335) for atom 1 and (0, 0, -0.666) for atoms 2 and 3; the reaction
// mode gives it the projection 0.335 + 2 * 0.666 * 0.208 = 0.612056, and each
// projected mode m has the projection pm[m] on row 1 alone. The slabs that
// the report must not read hold other values.
std::unique_ptr<Projection> threeAtomGasRun(int iprod) {
  auto p = std::make_unique<Projection>();
  p->software = Software("gaussian");
  p->reactype = Reactype("gas");
  p->iprod = iprod;
  p->natom = 3;
  p->nreact1 = 1;
  p->nmode = 9;
  p->nvibm = 3;
  p->itrans = 2 + iprod;
  p->nimag = 1;
  const int ts = p->itrans;
  const int slab = 1 + iprod;
  const int other = iprod == 1 ? 1 : 3;

  p->eigv(1, 1, ts) = 1.0;
  p->eigv(1, 3, ts) = 1.0;
  p->eigv(1, 6, ts) = -0.208;
  p->eigv(1, 9, ts) = -0.208;
  p->eigv(10, 3, ts) = 0.335;
  p->eigv(10, 6, ts) = -0.666;
  p->eigv(10, 9, ts) = -0.666;

  const double freq[] = {35.124, 112.405, 986.312};
  const double pm[] = {0.042, -0.130, 0.021};
  for (int m = 1; m <= 3; ++m) {
    p->freq(m, slab) = freq[m - 1];
    p->eigv(m, 1, slab) = pm[m - 1];
    p->freq(m, other) = 5000.0 + m;
    p->freq(m, ts) = -7000.0 - m;
    p->eigv(m, 1, other) = 0.9;
  }
  p->eigv(10, 1, slab) = 0.777;
  p->eigv(10, 1, other) = 0.555;
  return p;
}

const std::string kThreeAtomBody =
    " translational vector by small displacement\n"
    " translational     0.612\n"
    "     0.000     0.000     0.335\n"
    "     0.000     0.000    -0.666\n"
    "     0.000     0.000    -0.666\n"
    " \n"
    " reactant rot or transmode           1    35.124     0.042\n"
    " reactant rot or transmode           2   112.405    -0.130\n"
    " reactant vib mode           3   986.312     0.021\n";

TEST(Printout, GasPhaseReactantRun) {
  auto p = threeAtomGasRun(0);
  TestConsole tc;
  printout(*p, 1, tc.console);
  EXPECT_EQ(tc.out(), kHeading + kThreeAtomBody);
  EXPECT_EQ(tc.err(), "");
}

TEST(Printout, GasPhaseProductRunUsesSlabTwoAndKeepsTheLabels) {
  auto p = threeAtomGasRun(1);
  TestConsole tc;
  printout(*p, 1, tc.console);
  std::string heading = kHeading;
  heading.replace(heading.find("reactants"), 9, "products");
  EXPECT_EQ(tc.out(), heading + kThreeAtomBody);
}

// One atom on a surface (VASP-derived files, nimag = nvibm = 3): the
// translations are the unit axes, the rotations are zero (a single atom
// cannot turn), and every mode line is a rotation or translation (ninit 0).
TEST(Printout, SurfaceBlockOfOneAtom) {
  auto p = std::make_unique<Projection>();
  p->software = Software("vasp");
  p->reactype = Reactype("surface");
  p->natom = 1;
  p->nmode = 3;
  p->nvibm = 3;
  p->itrans = 2;
  p->nimag = 3;
  p->eigv(3, 1, 2) = 0.6;
  p->eigv(3, 3, 2) = -0.8;
  for (int u = 1; u <= 3; ++u) p->eigv(3 + u, u, 2) = 1.0;
  for (int m = 1; m <= 3; ++m) {
    p->freq(m, 1) = 100.0 * m;
    p->eigv(m, m, 1) = 0.5;
  }
  TestConsole tc;
  printout(*p, 0, tc.console);
  EXPECT_EQ(tc.out(), kHeading +
                          " translational vectors by small displacements\n"
                          " in the sequence of X, Y and Z\n"
                          " translational modes     0.600\n"
                          "     1.000     0.000     0.000\n"
                          " translational modes     0.000\n"
                          "     0.000     1.000     0.000\n"
                          " translational modes    -0.800\n"
                          "     0.000     0.000     1.000\n"
                          " \n"
                          " rotational modes     0.000\n"
                          "     0.000     0.000     0.000\n"
                          " rotational modes     0.000\n"
                          "     0.000     0.000     0.000\n"
                          " rotational modes     0.000\n"
                          "     0.000     0.000     0.000\n"
                          " \n"
                          " reactant rot or transmode           1   100.000     0.300\n"
                          " reactant rot or transmode           2   200.000     0.000\n"
                          " reactant rot or transmode           3   300.000    -0.400\n");
}

TEST(Printout, ReactypeWithBothWordsGetsTheGasBlock) {
  auto p = threeAtomGasRun(0);
  p->reactype = Reactype("gas-surface");
  TestConsole tc;
  printout(*p, 1, tc.console);
  EXPECT_EQ(tc.out(), kHeading + kThreeAtomBody);
}

// The labels of the mode lines: "V" for " reactant vib mode", "R" for
// " reactant rot or transmode", in mode order.
std::string labels(const std::string& software, int ninit, int nvibm) {
  auto p = std::make_unique<Projection>();
  p->software = Software(software);
  p->reactype = Reactype("surface");
  p->natom = 4;
  p->nmode = 12;
  p->nvibm = nvibm;
  p->itrans = 2;
  p->nimag = 1;
  TestConsole tc;
  printout(*p, ninit, tc.console);
  std::istringstream lines(tc.out());
  std::string line, result;
  int m = 0;
  while (std::getline(lines, line)) {
    if (line.rfind(" reactant vib mode", 0) == 0) {
      result += 'V';
      EXPECT_EQ(line.size(), 50u) << line;
    } else if (line.rfind(" reactant rot or transmode", 0) == 0) {
      result += 'R';
      EXPECT_EQ(line.size(), 58u) << line;
    } else {
      continue;
    }
    EXPECT_EQ(std::stoi(line.substr(line.size() - 32, 12)), ++m) << line;
  }
  // Nothing follows the empty line that precedes the mode lines.
  std::string out = tc.out();
  if (nvibm <= 0) {
    EXPECT_EQ(out.substr(out.size() - 3), "\n \n");
  }
  return result;
}

TEST(Printout, LabelRule) {
  struct {
    const char* software;
    int ninit, nvibm;
    const char* expected;
  } cases[] = {
      {"gaussian", 1, 3, "RRV"},       {"gaussian09", 1, 3, "RRV"},
      {"polyrate", 1, 3, "VRR"},       {"Gaussian", 1, 3, "VRR"},  // capitals do not match
      {"gaussian", 0, 3, "RRR"},       {"molpro", 0, 3, "RRR"},
      {"gaussian", 3, 3, "VVV"},       {"vasp", 3, 3, "VVV"},
      {"vasp", 6, 12, "VVVVVVRRRRRR"}, {"gaussian", 6, 12, "RRRRRRVVVVVV"},
      {"gaussian", 1, 0, ""},          {"vasp", 0, -3, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(labels(c.software, c.ninit, c.nvibm), c.expected)
        << c.software << " ninit " << c.ninit << " nvibm " << c.nvibm;
  }
}

}  // namespace
}  // namespace kelmar
