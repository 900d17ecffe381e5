// The comparison of the structure files' atoms, and the element symbols it
// names them by.
#include <gtest/gtest.h>

#include <string>

#include "input/jobgeometry.h"
#include "shared/elements.h"
#include "testconsole.h"

namespace kelmar {
namespace {

TEST(Elements, SymbolsAndAtomicNumbers) {
  const struct {
    const char* symbol;
    int z;
  } cases[] = {{"H", 1}, {"C", 6}, {"Cl", 17}, {"CL", 17}, {"cl", 17}, {"I", 53}, {"Og", 118},
               {"", 0},  {"X", 0}, {"Xx", 0},  {"CLX", 0}, {"1", 0}};
  for (const auto& c : cases) EXPECT_EQ(elementOfSymbol(c.symbol), c.z) << c.symbol;
  EXPECT_EQ(elementSymbol(8), "O");
  EXPECT_EQ(elementSymbol(0), "");
  EXPECT_EQ(elementSymbol(119), "");
}

// Two slabs of three atoms: slab 1 holds O H H, slab 2 the atomic numbers
// given; atom a stands on line 10 + a of the first file and 20 + a of the
// second.
struct Atoms : TestState {
  Atoms(int a2, int b2, int c2) {
    p->natom = 3;
    p->fname = "r.log";
    p->fname2 = "ts.log";
    const int first[] = {8, 1, 1};
    const int second[] = {a2, b2, c2};
    for (int a = 1; a <= 3; ++a) {
      p->element(a, 1) = {first[a - 1], 10 + a};
      p->element(a, 2) = {second[a - 1], 20 + a};
    }
  }
};

TEST(CheckSameAtoms, StopsAtTheFirstUnlikeAtomWhereBothFilesGiveElements) {
  const struct {
    int a, b, c;
    std::string message;
  } cases[] = {
      {8, 1, 1, "the run went on"},
      {0, 0, 0, "the run went on"},  // the second file gives no elements
      {0, 6, 1,
       "kelmar: ts.log, line 22: atom 2 is C (atomic number 6), but in r.log, line 12, it is H (atomic number 1): "
       "the structure files must list the same atoms in the same order"},
      {1, 8, 1,
       "kelmar: ts.log, line 21: atom 1 is H (atomic number 1), but in r.log, line 11, it is O (atomic number 8): "
       "the structure files must list the same atoms in the same order"},
  };
  for (const auto& c : cases) {
    Atoms atoms(c.a, c.b, c.c);
    EXPECT_EQ(runEndMessage([&] { checkSameAtoms(*atoms.p, 2); }), c.message);
  }
}

}  // namespace
}  // namespace kelmar
