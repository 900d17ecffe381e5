// Writes a made-up Gaussian frequency output pair of the largest size kelmar
// takes (166 atoms by default), in the layout of the real files: the
// thermochemistry masses, a standard-orientation table and the blocks of
// three modes. The reactant is a grid of atoms, the transition state the
// same grid slightly moved, so that the superposition has a clear answer.
// Also writes the control file of a gas-phase run on the two.
//
// usage: make_large_system <folder> [atoms]
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

unsigned long long state = 12345;
double nextUnit() {  // a deterministic number in [-1, 1)
  state = state * 6364136223846793005ULL + 1442695040888963407ULL;
  return double(state >> 11) / double(1ULL << 52) - 1.0;
}

void writeOutput(const std::string& path, int n, double shift, double firstFrequency) {
  FILE* f = std::fopen(path.c_str(), "w");
  if (f == nullptr) {
    std::perror(path.c_str());
    std::exit(2);
  }
  std::fprintf(f, " Entering Gaussian System, made-up output of %d atoms\n", n);
  std::fprintf(f, "                         Standard orientation:\n");
  std::fprintf(f, " ---------------------------------------------------------------------\n");
  std::fprintf(f, " Center     Atomic      Atomic             Coordinates (Angstroms)\n");
  std::fprintf(f, " Number     Number       Type             X           Y           Z\n");
  std::fprintf(f, " ---------------------------------------------------------------------\n");
  for (int a = 0; a < n; ++a) {
    double x = 1.5 * (a % 6) + shift * nextUnit();
    double y = 1.5 * ((a / 6) % 6) + shift * nextUnit();
    double z = 1.5 * (a / 36) + shift * nextUnit();
    std::fprintf(f, " %6d %10d %11d %15.6f %11.6f %11.6f\n", a + 1, 6, 0, x, y, z);
  }
  std::fprintf(f, " ---------------------------------------------------------------------\n");
  std::fprintf(f, " Harmonic frequencies (cm**-1), IR intensities (KM/Mole), Raman scattering\n");
  std::fprintf(f, " activities (A**4/AMU), depolarization ratios for plane and unpolarized\n");
  std::fprintf(f, " incident light, reduced masses (AMU), force constants (mDyne/A),\n");
  std::fprintf(f, " and normal coordinates:\n");
  const int modes = 3 * n - 6;
  for (int m0 = 1; m0 <= modes; m0 += 3) {
    std::fprintf(f, "                  %6d                 %6d                 %6d\n", m0, m0 + 1, m0 + 2);
    std::fprintf(f, "                      A                      A                      A\n");
    std::fprintf(f, " Frequencies --");
    for (int j = 0; j < 3; ++j) {
      double v = m0 + j == 1 ? firstFrequency : 20.0 + 3.0 * (m0 + j);
      std::fprintf(f, " %22.4f", v);
    }
    std::fprintf(f, "\n Red. masses -- %10.4f %22.4f %22.4f\n", 1.1, 1.2, 1.3);
    std::fprintf(f, " Frc consts  -- %10.4f %22.4f %22.4f\n", 0.1, 0.2, 0.3);
    std::fprintf(f, " IR Inten    -- %10.4f %22.4f %22.4f\n", 1.0, 2.0, 3.0);
    std::fprintf(f, "  Atom  AN      X      Y      Z        X      Y      Z        X      Y      Z\n");
    for (int a = 1; a <= n; ++a) {
      std::fprintf(f, " %6d %3d", a, 6);
      for (int k = 0; k < 9; ++k) std::fprintf(f, " %s%5.2f", k % 3 == 0 && k > 0 ? "  " : "", 0.3 * nextUnit());
      std::fprintf(f, "\n");
    }
  }
  std::fprintf(f, " - Thermochemistry -\n");
  std::fprintf(f, " -------------------\n");
  std::fprintf(f, " Temperature   298.150 Kelvin.  Pressure   1.00000 Atm.\n");
  for (int a = 1; a <= n; ++a) std::fprintf(f, " Atom %5d has atomic number  6 and mass  12.00000\n", a);
  std::fprintf(f, " Normal termination of Gaussian, made-up output\n");
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_large_system <folder> [atoms]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const int n = argc == 3 ? std::atoi(argv[2]) : 166;
  writeOutput(dir + "/large_reactant.out", n, 0.0, 35.0);
  writeOutput(dir + "/large_ts.out", n, 0.05, -850.0);
  FILE* c = std::fopen((dir + "/large_input.txt").c_str(), "w");
  if (c == nullptr) {
    std::perror("large_input.txt");
    return 2;
  }
  std::fprintf(c, "benchmark: made-up system of %d atoms\nsoftware\ngaussian\nreaction type\ngas\niprod\n0\n", n);
  std::fprintf(c, "structure files\nlarge_reactant.out\nlarge_ts.out\n\nnatom nreact1\n%d %d\n", n, n / 2);
  std::fprintf(c, "linear1 linear2 linear\n0 0 0\nmasses\n");
  for (int a = 1; a <= n; ++a) std::fprintf(c, "12.0%s", a % 10 == 0 || a == n ? "\n" : " ");
  std::fprintf(c, "step\n0.01\nlast line\n0.0 0.0 0.0\n");
  std::fclose(c);
  return 0;
}
