// The linearity flags against the first structure's geometry.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

#include "input/linearity.h"
#include "testconsole.h"

namespace kelmar {
namespace {

using Atom = std::array<double, 3>;

void place(Coor& coor, const std::vector<Atom>& atoms) {
  for (std::size_t i = 0; i < atoms.size(); ++i) {
    const int pos = int(i) + 1;
    coor.x(pos) = atoms[i][0];
    coor.y(pos) = atoms[i][1];
    coor.z(pos) = atoms[i][2];
  }
}

TEST(Linearity, LineThroughTheAtomsFarthestApart) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* what;
    std::vector<Atom> atoms;
    bool spread;
    int end1, end2, farthest;
    double offset;
  } cases[] = {
      {"on the z axis", {{0, 0, 0}, {0, 0, 1.1}, {0, 0, -1.2}}, true, 2, 3, 0, 0.0},
      // the middle atom 0.3 off the line of the outer two
      {"bent", {{-1, 0, 0}, {0, 0.3, 0}, {1, 0, 0}}, true, 1, 3, 2, 0.3},
      {"one point", {{1, 2, 3}, {1, 2, 3}, {1, 2, 3.001}}, false, 0, 0, 0, 0.0},
      {"no geometry read", {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, false, 0, 0, 0, 0.0},
      {"a distance that overflows", {{0, 0, 1e308}, {0.12, 0, 0.37}, {-0.12, 0, -0.37}}, false, 0, 0, 0, 0.0},
      {"an infinite coordinate", {{0, 0, inf}, {0, 0, 1}, {0, 1, 0}}, false, 0, 0, 0, 0.0},
  };
  for (const auto& c : cases) {
    TestState st;
    place(*st.coor, c.atoms);
    const LineFit fit = fitLine(*st.coor, 1, 3, 0.01);
    EXPECT_EQ(fit.spread, c.spread) << c.what;
    if (!c.spread) continue;
    EXPECT_EQ(fit.end1, c.end1) << c.what;
    EXPECT_EQ(fit.end2, c.end2) << c.what;
    EXPECT_EQ(fit.farthest, c.farthest) << c.what;
    EXPECT_NEAR(fit.offset, c.offset, 1e-15) << c.what;
  }
}

// Two fragments: CO2 (atoms 1-3, on a line) and a bent H2O (atoms 4-6),
// and what each choice of flags notes.
TEST(Linearity, FlagsThatDisagreeWithTheGeometryGetANote) {
  const std::vector<Atom> atoms = {{0, 0, -1.16}, {0, 0, 0}, {0, 0, 1.16},
                                   {5, 0, 0.117}, {5, 0.757, -0.467}, {5, -0.757, -0.467}};
  const std::string fragment2Bent =
      "kelmar: note: r.out: linear2 is 1, but fragment 2 (atoms 4-6) does not lie on a line: atom 4 lies 0.584 "
      "angstrom from the line through atoms 5 and 6, the two farthest apart (more than the 0.01 angstrom allowed); "
      "linear2 1 counts 3n-5 vibrations for it (3n-6 for a non-linear one) in ninit, the count that labels the "
      "report's mode lines\n";
  const struct {
    const char* software;
    const char* reactype;
    int nreact1, linear1, linear2, linear;
    double bend;  // x of atom 2, off the line of atoms 1 and 3
    std::string notes;
  } cases[] = {
      {"gaussian", "gas", 3, 1, 0, 0, 0.0, ""},
      {"gaussian", "gas", 3, 1, 1, 0, 0.0, fragment2Bent},
      {"gaussian", "gas", 3, 0, 0, 0, 0.0,
       "kelmar: note: r.out: linear1 is 0, but fragment 1 (atoms 1-3) lies on a line (every atom within 0.01 "
       "angstrom of the line through atoms 1 and 3, the two farthest apart); a linear molecule needs linear1 1, "
       "which counts 3n-5 vibrations for it (3n-6 for a non-linear one) in ninit, the count that labels the "
       "report's mode lines\n"},
      // a flag of any value but 1 counts as non-linear
      {"gaussian", "gas", 3, 1, 2, 0, 0.0, ""},
      {"gaussian", "gas", 3, 1, 0, 1, 0.0,
       "kelmar: note: r.out: linear is 1, but the system (atoms 1-6) does not lie on a line: atom 1 lies 2.209 "
       "angstrom from the line through atoms 3 and 5, the two farthest apart (more than the 0.01 angstrom allowed); "
       "linear 1 reads and projects 3*natom-5 modes (nvibm; 3*natom-6 for a non-linear system)\n"},
      // linear sets nvibm only in a gas-phase run
      {"gaussian", "surface", 3, 1, 0, 1, 0.0, ""},
      // a fragment of two atoms counts one vibration either way
      {"gaussian", "gas", 4, 0, 1, 0, 0.0, ""},
      {"gaussian", "gas", 4, 0, 0, 0, 0.0, ""},
      // 0.015 off the line: more than 0.01 angstrom, but in a Molpro file
      // 0.015 bohr, which lies within it
      {"gaussian", "gas", 3, 1, 0, 0, 0.015,
       "kelmar: note: r.out: linear1 is 1, but fragment 1 (atoms 1-3) does not lie on a line: atom 2 lies 0.015 "
       "angstrom from the line through atoms 1 and 3, the two farthest apart (more than the 0.01 angstrom allowed); "
       "linear1 1 counts 3n-5 vibrations for it (3n-6 for a non-linear one) in ninit, the count that labels the "
       "report's mode lines\n"},
      {"molpro", "gas", 3, 1, 0, 0, 0.015, ""},
  };
  for (const auto& c : cases) {
    TestState st;
    Projection& p = *st.p;
    p.software = Software(c.software);
    p.reactype = Reactype(c.reactype);
    p.fname = "r.out";
    p.natom = 6;
    p.nreact1 = c.nreact1;
    p.linear1 = c.linear1;
    p.linear2 = c.linear2;
    p.linear = c.linear;
    std::vector<Atom> geometry = atoms;
    geometry[1][0] = c.bend;
    place(*st.coor, geometry);
    TestConsole tc;
    notelinearity(p, *st.coor, tc.console);
    EXPECT_EQ(tc.err(), c.notes) << c.software << " " << c.reactype << " " << c.nreact1 << " " << c.linear1 << " "
                                 << c.linear2 << " " << c.linear;
  }
}

// The tolerance is 0.01 angstrom, given in bohr for the readers whose files
// are in bohr.
TEST(Linearity, ToleranceInTheFilesLengthUnit) {
  const struct {
    const char* software;
    double tolerance;
    const char* unit;
  } cases[] = {
      {"gaussian", 0.01, "angstrom"},
      {"vasp", 0.01, "angstrom"},
      {"molpro", 0.01 / 0.529177210903, "bohr"},
      {"polyrate", 0.01 / 0.529177210903, "bohr"},
  };
  for (const auto& c : cases) {
    Projection p;
    p.software = Software(c.software);
    EXPECT_EQ(lineTolerance(p), c.tolerance) << c.software;
    EXPECT_EQ(lengthUnit(p), c.unit) << c.software;
  }
}

}  // namespace
}  // namespace kelmar
