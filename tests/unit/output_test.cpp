#include "shared/output.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

namespace kelmar {
namespace {

struct Written {
  std::ostringstream out, err;
  Output output{out, err};
};

TEST(FreeFormat, RealsIntegersAndTexts) {
  const struct {
    std::vector<OutItem> items;
    const char* line;
  } cases[] = {
      {{1.0}, "   1.00000000000000     "},
      {{0.5}, "  0.500000000000000     "},
      {{-2.5}, "  -2.50000000000000     "},
      {{1234.5}, "   1234.50000000000     "},
      {{123456789012345.0}, "   123456789012345.     "},
      {{0.05}, "  5.000000000000000E-002"},
      {{-0.000123}, " -1.230000000000000E-004"},
      {{1.0e15}, "  1.000000000000000E+015"},
      {{0.09999999999999999}, "  0.100000000000000     "},
      {{0.0999999999999994}, "  9.999999999999939E-002"},
      {{0.0}, "  0.000000000000000E+000"},
      {{-0.0}, "  0.000000000000000E+000"},
      {{-952.5}, "  -952.500000000000     "},
      {{1.0e-300}, "  1.000000000000000E-300"},
      {{-1.5e200}, " -1.500000000000000E+200"},
      {{std::numeric_limits<double>::quiet_NaN()}, "                     NaN"},
      {{std::numeric_limits<double>::infinity()}, "                Infinity"},
      {{-std::numeric_limits<double>::infinity()}, "               -Infinity"},
      {{3}, "           3"},
      {{-12}, "         -12"},
      {{"natom,nreact1", 3, 1}, " natom,nreact1           3           1"},
      {{7, "ab"}, "           7 ab"},
      {{"a", "b"}, " ab"},
      {{}, " "},
      {{"iprod", 0}, " iprod           0"},
  };
  for (const auto& c : cases) {
    Written w;
    w.output.free(c.items);
    EXPECT_EQ(w.out.str(), std::string(c.line) + "\n");
    EXPECT_EQ(w.err.str(), "");
  }
}

TEST(FreeFormat, RoundsTiesToEvenOnTheExactValue) {
  // 0.0625 has the exact binary value; 2.5 at zero decimals is a tie.
  EXPECT_EQ(formatFreeReal(1.0625), "   1.06250000000000     ");
  EXPECT_EQ(formatFreeReal(0.1), "  0.100000000000000     ");
  // 2^-1 * (1 + 2^-52): the 16th digit decides
  EXPECT_EQ(formatFreeReal(0.5000000000000001), "  0.500000000000000     ");
}

TEST(FreeFormat, LinesBreakAtEightyColumns) {
  Written w;
  w.output.free({" final=", 1.0, 2.0, 3.0});
  EXPECT_EQ(w.out.str().size(), 81u);  // exactly 80 columns and the line end
  Written four;
  four.output.free({1.0, 2.0, 3.0, 4.0});
  EXPECT_EQ(four.out.str(), std::string(formatFreeReal(1.0)) + formatFreeReal(2.0) + formatFreeReal(3.0) +
                                "\n" + formatFreeReal(4.0) + "\n");
  Written text;
  text.output.free({1.0, 2.0, 3.0, "abcdefghi"});
  EXPECT_EQ(text.out.str(), formatFreeReal(1.0) + formatFreeReal(2.0) + formatFreeReal(3.0) + "\n abcdefghi\n");
  Written trace;
  trace.output.free({" iter=", 4, " fret=", 0.25});
  EXPECT_EQ(trace.out.str(), "  iter=           4  fret=  0.250000000000000     \n");
}

TEST(FixedLayout, FieldsOfTenAndFifteenColumns) {
  const struct {
    double value;
    int width, decimals;
    const char* text;
  } cases[] = {
      {0.1234, 10, 3, "     0.123"},     {-1.5, 10, 3, "    -1.500"},      {0.0625, 10, 3, "     0.062"},
      {2.0005, 10, 3, "     2.001"},     {-0.0004, 10, 3, "    -0.000"},    {-0.0, 10, 3, "     0.000"},
      {-0.0004, 15, 8, "    -0.00040000"}, {999999.9996, 15, 8, "999999.99960000"},
      {-952.5, 15, 8, "  -952.50000000"}, {0.123, 4, 3, ".123"},           {-0.5, 5, 3, "-.500"},
      {std::numeric_limits<double>::quiet_NaN(), 10, 3, "       NaN"},
      {std::numeric_limits<double>::infinity(), 10, 3, "  Infinity"},
      {-std::numeric_limits<double>::infinity(), 5, 3, " -Inf"},
  };
  for (const auto& c : cases) {
    bool tooWide = true;
    EXPECT_EQ(formatFixed(c.value, c.width, c.decimals, tooWide), c.text) << c.value;
    EXPECT_FALSE(tooWide) << c.value;
  }
}

TEST(FixedLayout, TooWideValuesGiveAsterisksAndAWarning) {
  Written w;
  w.output.fixed(layoutThreeF10(), {1234567.891, 1.0, -1234567.0});
  EXPECT_EQ(w.out.str(), "**********     1.000**********\n");
  EXPECT_EQ(w.err.str(),
            "kelmar: warning: 1234567.891 does not fit the output field F10.3; written as asterisks\n"
            "kelmar: warning: -1234567 does not fit the output field F10.3; written as asterisks\n");
  bool tooWide = false;
  EXPECT_EQ(formatFixed(-1234567.0, 15, 8, tooWide), "***************");
  EXPECT_TRUE(tooWide);
}

TEST(FixedLayout, ItemsRunOutOrStartTheLayoutAgain) {
  Written four;
  four.output.fixed(layoutSixF15(), {1.008, 0.0, 0.0, 2.5});
  EXPECT_EQ(four.out.str(), "     1.00800000     0.00000000     0.00000000     2.50000000\n");
  Written eight;
  eight.output.fixed(layoutSixF15(), {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0});
  EXPECT_EQ(eight.out.str(),
            "     1.00000000     2.00000000     3.00000000     4.00000000     5.00000000     6.00000000\n"
            "     7.00000000     8.00000000\n");
  Written mode;
  mode.output.fixed(layoutModeLine(), {" reactant vib mode", 3, 986.312, 0.021});
  EXPECT_EQ(mode.out.str(), " reactant vib mode           3   986.312     0.021\n");
  Written label;
  label.output.fixed(layoutTextF10(), {" translational", 0.612});
  EXPECT_EQ(label.out.str(), " translational     0.612\n");
}

}  // namespace
}  // namespace kelmar
