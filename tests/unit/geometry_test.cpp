// Centre of mass and the rotation by three angles.
#include <gtest/gtest.h>

#include <cmath>

#include "shared/centre.h"
#include "shared/rotation.h"

namespace kelmar {
namespace {

TEST(CentreOfMass, WeightsPositionsByMass) {
  Projection p;
  Coor coor;
  p.amass(1) = 16.0;
  p.amass(2) = 1.0;
  p.amass(3) = 1.0;
  // slab 2 of a three-atom system: positions 4..6
  coor.x(5) = 2.0;
  coor.z(6) = 4.0;
  coor.y(4) = 1.0;
  Vec3 com;
  centreOfMass(p, coor, 3, 1, 3, com);
  EXPECT_DOUBLE_EQ(com(1), 2.0 / 18.0);
  EXPECT_DOUBLE_EQ(com(2), 16.0 / 18.0);
  EXPECT_DOUBLE_EQ(com(3), 4.0 / 18.0);
  centreOfMass(p, coor, 3, 2, 2, com);
  EXPECT_EQ(com(1), 2.0);
}

TEST(Rotxyz, SingleAnglesAreRightHandedTurns) {
  const double d = 0.3;
  struct {
    double a, b, g;
    double in[3];
    double out[3];
  } cases[] = {
      // about x: y' = cos*y - sin*z, z' = sin*y + cos*z
      {d, 0, 0, {0, 1, 0}, {0, std::cos(d), std::sin(d)}},
      // about y: z' = cos*z - sin*x, x' = sin*z + cos*x
      {0, d, 0, {0, 0, 1}, {std::sin(d), 0, std::cos(d)}},
      // about z: x' = cos*x - sin*y, y' = sin*x + cos*y
      {0, 0, d, {1, 0, 0}, {std::cos(d), std::sin(d), 0}},
  };
  for (const auto& c : cases) {
    double v[3] = {c.in[0], c.in[1], c.in[2]};
    rotateTriples(rotxyz(c.a, c.b, c.g), v, 1);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(v[i], c.out[i], 1e-15);
  }
}

TEST(Rotxyz, IsRzRyRx) {
  const double a = 0.2, b = -0.7, g = 1.1;
  double v[6] = {0.3, -1.2, 2.5, 1.0, 0.0, 0.0};
  double expected[3] = {0.3, -1.2, 2.5};
  rotateTriples(rotxyz(a, 0, 0), expected, 1);
  rotateTriples(rotxyz(0, b, 0), expected, 1);
  rotateTriples(rotxyz(0, 0, g), expected, 1);
  rotateTriples(rotxyz(a, b, g), v, 2);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(v[i], expected[i], 1e-14);
  EXPECT_NEAR(std::sqrt(v[3] * v[3] + v[4] * v[4] + v[5] * v[5]), 1.0, 1e-15);
}

}  // namespace
}  // namespace kelmar
