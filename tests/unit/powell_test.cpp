// The direction-set minimiser: Powell's iterations, the line search with its
// bracket and Brent's method, their iteration limits and the guards against
// lines on which nothing can be found.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "superposition/superposition.h"
#include "testconsole.h"

namespace kelmar {
namespace {

Vec3 vec(double x, double y, double z) {
  Vec3 v;
  v(1) = x;
  v(2) = y;
  v(3) = z;
  return v;
}

std::string printed(const char* format, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

TEST(MinimiserConstants, AreSinglePrecisionValuesWidened) {
  struct {
    double value;
    const char* format;
    const char* text;
  } cases[] = {
      {kFtol, "%.15g", "9.99999993922529e-09"},    {kGold, "%.14g", "1.6180340051651"},
      {kTiny, "%.16g", "9.999999682655225e-21"},   {kTol, "%.16g", "9.999999747378752e-05"},
      {kZeps, "%.16g", "1.000000013351432e-10"},   {kCgold, "%.16g", "0.3819659948348999"},
  };
  for (const auto& c : cases) EXPECT_EQ(printed(c.format, c.value), c.text);
  EXPECT_EQ(kGlimit, 100.0);
}

TEST(MinimiserSign, TakesTheSignOfTheSecondArgument) {
  EXPECT_EQ(sign(-2.0, 3.0), 2.0);
  EXPECT_EQ(sign(2.0, -3.0), -2.0);
  EXPECT_EQ(sign(-2.0, 0.0), 2.0);
  EXPECT_EQ(sign(-2.0, -0.0), 2.0);  // a negative zero counts as >= 0
}

// Squared distance from a centre; strictly lowest there, with value 0.
Objective bowl(Vec3 centre) {
  return [centre](const Vec3& x) {
    double s = 0.0;
    for (int j = 1; j <= 3; ++j) s = s + (x(j) - centre(j)) * (x(j) - centre(j));
    return s;
  };
}

TEST(Powell, MinimumAtTheStartEndsAfterOneIterationWithThePointKept) {
  TestConsole tc;
  const Vec3 start = vec(0.3, -0.2, 0.1);
  Minimiser m(bowl(start), tc.console);
  Vec3 p = start;
  DirectionSet xi = DirectionSet::unit();
  int iter = 0;
  double fret = -1.0;
  m.powell(p, xi, kFtol, iter, fret);
  EXPECT_EQ(iter, 1);
  EXPECT_EQ(fret, 0.0);
  for (int j = 1; j <= 3; ++j) {
    EXPECT_EQ(p(j), start(j));
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(xi(i, j), i == j ? 1.0 : 0.0);
  }
  EXPECT_EQ(tc.out(), "");
}

TEST(Powell, FindsTheMinimumOfACoupledQuadratic) {
  TestConsole tc;
  Minimiser m(
      [](const Vec3& x) {
        double a = x(1) - 1.0, b = x(2) + 0.5, c = x(3) - 0.2;
        return 1.0 + a * a + 2.0 * b * b + 3.0 * c * c + a * b + b * c;
      },
      tc.console);
  Vec3 p;
  DirectionSet xi = DirectionSet::unit();
  int iter = 0;
  double fret = 0.0;
  m.powell(p, xi, kFtol, iter, fret);
  EXPECT_GT(iter, 1);
  EXPECT_NEAR(fret, 1.0, 1e-8);
  EXPECT_NEAR(p(1), 1.0, 1e-4);
  EXPECT_NEAR(p(2), -0.5, 1e-4);
  EXPECT_NEAR(p(3), 0.2, 1e-4);
  EXPECT_EQ(tc.out(), "");
}

// Objectives on which no line search can find anything: a constant (every
// line level), a value that is not a number, and one that is level along the
// third axis only.
TEST(Powell, LevelAndNonFiniteObjectivesTerminate) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct {
    const char* name;
    Objective f;
    Vec3 expected;
  } cases[] = {
      {"constant", [](const Vec3&) { return 2.0; }, vec(0.5, 0.5, 0.5)},
      {"not a number", [nan](const Vec3&) { return nan; }, vec(0.5, 0.5, 0.5)},
      {"level along z",
       [](const Vec3& x) { return (x(1) - 0.3) * (x(1) - 0.3) + (x(2) + 0.2) * (x(2) + 0.2); },
       vec(0.3, -0.2, 0.5)},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestConsole tc;
    Minimiser m(c.f, tc.console);
    Vec3 p = vec(0.5, 0.5, 0.5);
    DirectionSet xi = DirectionSet::unit();
    int iter = 0;
    double fret = 0.0;
    m.powell(p, xi, kFtol, iter, fret);
    EXPECT_LE(iter, 3);
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(p(j), c.expected(j), 1e-6);
    EXPECT_EQ(p(3), 0.5);  // the level axis never moves the point
    EXPECT_EQ(tc.out(), "");
  }
}

// A valley along a helix: Powell's straight directions make slow progress
// along it, past the iteration limit, before they reach its low end.
Objective helix() {
  return [](const Vec3& x) {
    double a = x(1) - std::cos(x(3)), b = x(2) - std::sin(x(3));
    return 1.0 + 100.0 * (a * a + b * b) + 0.01 * (x(3) - 20.0) * (x(3) - 20.0);
  };
}

TEST(Powell, IterationLimitPausesOnceAndGoesOnWhenTheOperatorContinues) {
  TestConsole tc("cont\n");
  Minimiser m(helix(), tc.console);
  Vec3 p;
  DirectionSet xi = DirectionSet::unit();
  int iter = 0;
  double fret = 0.0;
  m.powell(p, xi, kFtol, iter, fret);
  EXPECT_EQ(tc.out(), "powell exceeding maximum iterations\nPAUSE prompt> ");
  EXPECT_GT(iter, 200);
  EXPECT_NEAR(p(3), 20.0, 1e-2);
  EXPECT_NEAR(p(1), std::cos(p(3)), 1e-3);
  EXPECT_NEAR(p(2), std::sin(p(3)), 1e-3);
  EXPECT_NEAR(fret, 1.0, 1e-6);
}

TEST(Powell, IterationLimitEndsTheRunWhenTheOperatorRefuses) {
  TestConsole tc("no\n");
  Minimiser m(helix(), tc.console);
  Vec3 p;
  DirectionSet xi = DirectionSet::unit();
  int iter = 0;
  double fret = 0.0;
  EXPECT_THROW(m.powell(p, xi, kFtol, iter, fret), RunEnd);
  EXPECT_EQ(iter, 200);
  EXPECT_EQ(tc.out(), "powell exceeding maximum iterations\nPAUSE prompt> ");
}

// A minimiser whose current line is the x axis through the origin, with an
// objective of the abscissa t that records where it was evaluated.
struct OnXAxis {
  explicit OnXAxis(double (*f)(double), std::string stdinText = "")
      : tc(std::move(stdinText)),
        m(
            [this, f](const Vec3& x) {
              at.push_back(x(1));
              return f(x(1));
            },
            tc.console) {
    m.f1com.linedir(1) = 1.0;
  }
  TestConsole tc;
  std::vector<double> at;
  Minimiser m;
};

TEST(Bracket, EnclosesTheLineMinimumFromTheAbscissae0And1) {
  struct {
    const char* name;
    double (*f)(double);
    double minimum;
  } cases[] = {
      {"minimum at 0", [](double t) { return t * t; }, 0.0},
      {"minimum ahead", [](double t) { return (t - 5.0) * (t - 5.0); }, 5.0},
      {"minimum far ahead", [](double t) { return std::fabs(t - 3000.0); }, 3000.0},
      {"minimum behind", [](double t) { return (t + 3.0) * (t + 3.0); }, -3.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OnXAxis line(c.f);
    Minimiser::Bracket br = line.m.bracket();
    ASSERT_TRUE(br.usable);
    EXPECT_EQ(br.f0, c.f(0.0));
    EXPECT_LT(std::min(br.ax, br.cx), c.minimum);
    EXPECT_GT(std::max(br.ax, br.cx), c.minimum);
    EXPECT_LE(c.f(br.bx), c.f(br.ax));
    EXPECT_LE(c.f(br.bx), c.f(br.cx));
  }
}

TEST(Bracket, UphillFirstStepIsSwappedBeforeGoingOn) {
  OnXAxis line([](double t) { return t * t; });
  Minimiser::Bracket br = line.m.bracket();
  EXPECT_EQ(br.ax, 1.0);
  EXPECT_EQ(br.bx, 0.0);
  EXPECT_EQ(printed("%.14g", br.cx), "-1.6180340051651");
  EXPECT_EQ(line.at, (std::vector<double>{0.0, 1.0, br.cx}));
}

TEST(Bracket, ParabolicStepIsHeldAtTheGrowthLimit) {
  // On a falling straight line the parabola has no vertex: its step is cut
  // to 100 intervals beyond cx.
  OnXAxis line([](double t) { return -t; });
  Minimiser::Bracket br = line.m.bracket();
  ASSERT_GE(line.at.size(), 4u);
  double cx = line.at[2];
  EXPECT_EQ(line.at[3], 1.0 + kGlimit * (cx - 1.0));
  // The line falls for ever; once the abscissae are no longer finite the
  // search gives up instead of going on.
  EXPECT_FALSE(br.usable);
  EXPECT_EQ(br.f0, 0.0);
}

TEST(Bracket, LevelLineIsGivenUpAtOnce) {
  OnXAxis line([](double) { return 0.75; });
  Minimiser::Bracket br = line.m.bracket();
  EXPECT_FALSE(br.usable);
  EXPECT_EQ(br.f0, 0.75);
  EXPECT_EQ(line.at.size(), 3u);
}

TEST(Linmin, ScalesTheDirectionToTheStepAndMovesThePoint) {
  struct {
    Vec3 origin, direction;
    Vec3 step;
  } cases[] = {
      // the line minimum lies at the abscissa 0.25 in both cases
      {vec(0.0, 0.0, 0.0), vec(1.0, 0.0, 0.0), vec(0.25, 0.0, 0.0)},
      {vec(1.0, 2.0, 3.0), vec(-2.0, 0.0, 4.0), vec(-0.5, 0.0, 1.0)},
  };
  for (const auto& c : cases) {
    TestConsole tc;
    Vec3 target;
    for (int j = 1; j <= 3; ++j) target(j) = c.origin(j) + c.step(j);
    Objective f = bowl(target);
    Minimiser m(f, tc.console);
    Vec3 p = c.origin, d = c.direction;
    double fret = -1.0;
    m.linmin(p, d, fret);
    for (int j = 1; j <= 3; ++j) {
      EXPECT_NEAR(d(j), c.step(j), 1e-9);
      EXPECT_EQ(p(j), c.origin(j) + d(j));
      EXPECT_EQ(m.f1com.lineorig(j), c.origin(j));
      EXPECT_EQ(m.f1com.linedir(j), c.direction(j));
    }
    EXPECT_EQ(fret, f(p));
  }
}

TEST(Linmin, LevelLineKeepsThePointWithTheValueAtIt) {
  // A level line scales its direction by 0: the point stays.
  TestConsole tc;
  Minimiser m([](const Vec3& x) { return 1.0 + x(1) * x(1); }, tc.console);
  Vec3 p = vec(0.5, 0.0, 0.0), d = vec(0.0, 0.0, 1.0);
  double fret = 0.0;
  m.linmin(p, d, fret);
  EXPECT_EQ(fret, 1.25);
  for (int j = 1; j <= 3; ++j) EXPECT_EQ(d(j), 0.0);
  EXPECT_EQ(p(1), 0.5);
  EXPECT_EQ(p(3), 0.0);
}

TEST(Brent, IterationLimitPausesAndReturnsTheBestAbscissaSoFar) {
  // A cusp at 0 in a very wide bracket: 100 steps are not enough to narrow it.
  OnXAxis line([](double t) { return std::pow(std::fabs(t), 0.1); }, "cont\n");
  double xmin = 0.0;
  double fmin = line.m.brent(-1e30, 1.0, 1e30, xmin);
  EXPECT_EQ(line.tc.out(), "brent exceed maximum iterations\nPAUSE prompt> ");
  EXPECT_EQ(line.at.size(), 101u);  // one at bx, one per iteration
  EXPECT_LT(std::fabs(xmin), 1.0);
  EXPECT_EQ(fmin, std::pow(std::fabs(xmin), 0.1));
}

}  // namespace
}  // namespace kelmar
