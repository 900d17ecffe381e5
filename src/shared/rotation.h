// Rotation by three angles: tmatrot = Rz(gamma) * Ry(beta) * Rx(alpha).
#pragma once

namespace kelmar {

struct RotationMatrix {
  double m[3][3];  // m[i][j]: row i+1, column j+1
};

// The matrix of the angles (alpha, beta, gamma) in radians.
RotationMatrix rotxyz(double alpha, double beta, double gamma);

// Turns `count` atom triples (x, y, z next to each other) in place: r' = R*r.
void rotateTriples(const RotationMatrix& r, double* triples, int count);

}  // namespace kelmar
