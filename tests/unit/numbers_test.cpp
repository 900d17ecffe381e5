#include "shared/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

namespace kelmar {
namespace {

struct RealCase {
  const char* token;
  double value;
};

TEST(ParseReal, AcceptsEveryWrittenForm) {
  const RealCase cases[] = {
      {"0", 0.0},         {"1", 1.0},          {"-2.5", -2.5},       {"+3.", 3.0},
      {".5", 0.5},        {"-.25", -0.25},     {"1.5E-3", 1.5e-3},   {"1.5e3", 1500.0},
      {"1.5D-3", 1.5e-3}, {"1.5d+2", 150.0},   {"1.5-3", 1.5e-3},    {"1.5+3", 1500.0},
      {"2e0", 2.0},       {"0.1", 0.1},        {"-0.000123", -0.000123},
      {"12.00000", 12.0}, {"-482.7269", -482.7269}, {"1e-400", 0.0},
  };
  for (const RealCase& c : cases) {
    double v = -99.0;
    EXPECT_TRUE(parseReal(c.token, v)) << c.token;
    EXPECT_EQ(v, c.value) << c.token;
  }
}

TEST(ParseReal, RoundsToTheNearestDouble) {
  double v = 0.0;
  ASSERT_TRUE(parseReal("0.1", v));
  EXPECT_EQ(v, 0.1);
  ASSERT_TRUE(parseReal("2.2250738585072014D-308", v));
  EXPECT_EQ(v, 2.2250738585072014e-308);
  ASSERT_TRUE(parseReal("-0", v));
  EXPECT_TRUE(std::signbit(v));
}

TEST(ParseReal, AgreesWithTheCLibraryOnRandomTokens) {
  // short and long mantissas, with and without exponents, around the limits
  // of the exact fast conversion
  std::mt19937_64 rng(12345);
  for (int i = 0; i < 200000; ++i) {
    int intDigits = int(rng() % 12), fracDigits = int(rng() % 14);
    if (intDigits + fracDigits == 0) intDigits = 1;
    std::string t = rng() % 2 ? "-" : "";
    for (int k = 0; k < intDigits; ++k) t += char('0' + rng() % 10);
    t += '.';
    for (int k = 0; k < fracDigits; ++k) t += char('0' + rng() % 10);
    if (rng() % 3 == 0) {
      t += 'E';
      t += std::to_string(int(rng() % 61) - 30);
    }
    double v = 0.0;
    ASSERT_TRUE(parseReal(t, v)) << t;
    ASSERT_EQ(v, std::strtod(t.c_str(), nullptr)) << t;
  }
}

TEST(PlainPrefix, TakesThePlainNumberAtTheStartOfAText) {
  // what follows the number is left to the caller: a blank, an exponent,
  // a second point, more digits than the plain form takes
  const struct {
    const char* text;
    std::size_t real;     // bytes plainRealPrefix takes
    std::size_t integer;  // bytes plainIntegerPrefix takes
  } cases[] = {
      {"2.529357 0.3", 8, 1}, {"-0.000020", 9, 2}, {"+7 x", 2, 2},        {"1.5e3", 3, 1},
      {"1.2.3", 3, 1},        {".5", 2, 0},        {"5.", 2, 1},          {"-", 0, 0},
      {"", 0, 0},             {"x1", 0, 0},        {"123456789 1", 9, 9}, {"1234567890", 10, 0},
      {"123456789012345", 15, 0}, {"1234567890123456", 0, 0}, {"0.30000000000000004", 0, 1},
  };
  for (const auto& c : cases) {
    double r = -9.0;
    int i = -9;
    EXPECT_EQ(plainRealPrefix(c.text, r), c.real) << c.text;
    EXPECT_EQ(plainIntegerPrefix(c.text, i), c.integer) << c.text;
    if (c.real > 0) {
      EXPECT_EQ(r, std::strtod(std::string(c.text, c.real).c_str(), nullptr)) << c.text;
    }
    if (c.integer > 0) {
      EXPECT_EQ(i, std::atoi(std::string(c.text, c.integer).c_str())) << c.text;
    }
  }
}

TEST(ParseReal, RejectsWhatIsNotANumber) {
  const char* rejected[] = {"",      "Low",  "Frequencies", "T",     "F",    ".",   "-",    "+.",
                            "1.5E",  "1.5-", "1.5e+",      "1..2",  "1,5",  "1.5x", "0x10", "inf",
                            "nan",   "1e400", "--1",       "1.5E3.", "E5",  "'1'",  "1 2"};
  for (const char* t : rejected) {
    double v = 7.0;
    EXPECT_FALSE(parseReal(t, v)) << t;
    EXPECT_EQ(v, 7.0) << t;
  }
}

TEST(ParseInteger, AcceptsDigitsAndTruncatesReals) {
  const struct {
    const char* token;
    int value;
  } cases[] = {{"0", 0},   {"3", 3},       {"-12", -12},    {"+7", 7},     {"2.7", 2},
               {"-2.7", -2}, {"1e2", 100}, {"1.5-3", 0},    {"9.99", 9},   {"2147483647", 2147483647},
               {"-2147483648", -2147483647 - 1}, {"007", 7}};
  for (const auto& c : cases) {
    int v = -99;
    EXPECT_TRUE(parseInteger(c.token, v)) << c.token;
    EXPECT_EQ(v, c.value) << c.token;
  }
}

TEST(ParseInteger, RejectsWordsAndValuesOutOfRange) {
  const char* rejected[] = {"Total", "Frequencies", "Low", "T", "F", "1x", "", "-",
                            "2147483648", "-2147483649", "1e10", "A'", "--"};
  for (const char* t : rejected) {
    int v = 5;
    EXPECT_FALSE(parseInteger(t, v)) << t;
    EXPECT_EQ(v, 5) << t;
  }
}

TEST(ParseFixedField, ImpliedDecimalsBlanksAndPoints) {
  const struct {
    const char* field;
    double value;
  } cases[] = {{"      12345", 123.45}, {"   123.4567", 123.4567}, {"           ", 0.0}, {"", 0.0},
               {"  34567", 345.67},     {" 1 2 3 4 5 ", 123.45},   {"    -95", -0.95}, {"   210.5", 210.5},
               {"  12345E1", 1234.5},   {"   1.5D+2", 150.0}};
  for (const auto& c : cases) {
    double v = -1.0;
    EXPECT_TRUE(parseFixedField(c.field, 2, v)) << c.field;
    EXPECT_DOUBLE_EQ(v, c.value) << c.field;
  }
  double v = 0.0;
  EXPECT_FALSE(parseFixedField("  12a45", 2, v));
  EXPECT_FALSE(parseFixedField("  cm-1", 2, v));
}

}  // namespace
}  // namespace kelmar
