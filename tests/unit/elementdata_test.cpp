// Covalent radii, standard masses and the element nearest a mass.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shared/elements.h"

namespace kelmar {
namespace {

TEST(ElementData, RadiiAndMassesOfKnownElements) {
  const struct {
    int z;
    double radius;
    double mass;
  } cases[] = {
      {1, 0.31, 1.008},    {6, 0.76, 12.011},   {8, 0.66, 15.999},  {16, 1.05, 32.06},
      {26, 1.32, 55.845},  {53, 1.39, 126.90},  {79, 1.36, 196.97}, {92, 1.96, 238.03},
      {96, 1.69, 247.0},
      // no data outside 1..96
      {0, 0.0, 0.0},       {97, 0.0, 0.0},      {-1, 0.0, 0.0},     {kMaxElement + 1, 0.0, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(covalentRadius(c.z), c.radius) << "Z " << c.z;
    EXPECT_EQ(standardMass(c.z), c.mass) << "Z " << c.z;
  }
}

TEST(ElementData, EveryElementHasARadiusAndIsTheNearestToItsOwnMass) {
  for (int z = 1; z <= kMaxElementData; ++z) {
    EXPECT_GT(covalentRadius(z), 0.2) << "Z " << z;
    EXPECT_LT(covalentRadius(z), 3.0) << "Z " << z;
    EXPECT_EQ(elementOfMass(standardMass(z)), z) << "Z " << z;
  }
}

TEST(ElementData, NearestMassFindsTheElementOfAnIsotopeMass) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double mass;
    int z;
  } cases[] = {
      {1.00783, 1},    // 1H, as Gaussian prints it
      {2.01410, 1},    // D: nearer H than He
      {12.0, 6},       {15.99491, 8},  {31.97207, 16}, {126.90447, 53},
      {39.96238, 18},  // 40Ar, heavier than potassium's standard mass
      {1.0e6, 96},     // past the table: its heaviest element
      {0.0, 0},        {-12.0, 0},     {inf, 0},       {std::nan(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(elementOfMass(c.mass), c.z) << c.mass;
}

}  // namespace
}  // namespace kelmar
