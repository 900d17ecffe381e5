#include "shared/elements.h"

#include <array>
#include <cctype>
#include <cmath>

namespace kelmar {
namespace {

constexpr std::array<std::string_view, kMaxElement> kSymbols = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",  "S",  "Cl",
    "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge", "As", "Se",
    "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd", "In", "Sn", "Sb",
    "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er",
    "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re", "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At",
    "Rn", "Fr", "Ra", "Ac", "Th", "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No",
    "Lr", "Rf", "Db", "Sg", "Bh", "Hs", "Mt", "Ds", "Rg", "Cn", "Nh", "Fl", "Mc", "Lv", "Ts", "Og"};

// Single-bond covalent radii in angstrom, Z = 1..96: the table of Cordero et
// al., "Covalent radii revisited", Dalton Trans. 2008, 2832-2838, with its
// sp3 value for carbon and the low-spin values for Mn, Fe and Co.
constexpr std::array<double, kMaxElementData> kCovalentRadii = {
    0.31, 0.28,                                                              // H  He
    1.28, 0.96, 0.84, 0.76, 0.71, 0.66, 0.57, 0.58,                          // Li .. Ne
    1.66, 1.41, 1.21, 1.11, 1.07, 1.05, 1.02, 1.06,                          // Na .. Ar
    2.03, 1.76, 1.70, 1.60, 1.53, 1.39, 1.39, 1.32, 1.26, 1.24, 1.32, 1.22,  // K .. Zn
    1.22, 1.20, 1.19, 1.20, 1.20, 1.16,                                      // Ga .. Kr
    2.20, 1.95, 1.90, 1.75, 1.64, 1.54, 1.47, 1.46, 1.42, 1.39, 1.45, 1.44,  // Rb .. Cd
    1.42, 1.39, 1.39, 1.38, 1.39, 1.40,                                      // In .. Xe
    2.44, 2.15,                                                              // Cs Ba
    2.07, 2.04, 2.03, 2.01, 1.99, 1.98, 1.98, 1.96, 1.94, 1.92, 1.92, 1.89,  // La .. Er
    1.90, 1.87, 1.87,                                                        // Tm Yb Lu
    1.75, 1.70, 1.62, 1.51, 1.44, 1.41, 1.36, 1.36, 1.32,                    // Hf .. Hg
    1.45, 1.46, 1.48, 1.40, 1.50, 1.50,                                      // Tl .. Rn
    2.60, 2.21,                                                              // Fr Ra
    2.15, 2.06, 2.00, 1.96, 1.90, 1.87, 1.80, 1.69};                         // Ac .. Cm

// Standard atomic weights, Z = 1..96, as the IUPAC tables give them in
// abridged form (the conventional value for the elements given as an
// interval); for an element without a stable isotope, the mass number of its
// longest-lived isotope.
constexpr std::array<double, kMaxElementData> kStandardMasses = {
    1.008,   4.0026,                                                         // H  He
    6.94,    9.0122,  10.81,   12.011,  14.007,  15.999,  18.998,  20.180,   // Li .. Ne
    22.990,  24.305,  26.982,  28.085,  30.974,  32.06,   35.45,   39.948,   // Na .. Ar
    39.098,  40.078,  44.956,  47.867,  50.942,  51.996,  54.938,  55.845,   // K .. Fe
    58.933,  58.693,  63.546,  65.38,                                        // Co .. Zn
    69.723,  72.630,  74.922,  78.971,  79.904,  83.798,                     // Ga .. Kr
    85.468,  87.62,   88.906,  91.224,  92.906,  95.95,   97.0,    101.07,   // Rb .. Ru
    102.91,  106.42,  107.87,  112.41,                                       // Rh .. Cd
    114.82,  118.71,  121.76,  127.60,  126.90,  131.29,                     // In .. Xe
    132.91,  137.33,                                                         // Cs Ba
    138.91,  140.12,  140.91,  144.24,  145.0,   150.36,  151.96,  157.25,   // La .. Gd
    158.93,  162.50,  164.93,  167.26,  168.93,  173.05,  174.97,            // Tb .. Lu
    178.49,  180.95,  183.84,  186.21,  190.23,  192.22,  195.08,  196.97,   // Hf .. Au
    200.59,                                                                  // Hg
    204.38,  207.2,   208.98,  209.0,   210.0,   222.0,                      // Tl .. Rn
    223.0,   226.0,                                                          // Fr Ra
    227.0,   232.04,  231.04,  238.03,  237.0,   244.0,   243.0,   247.0};   // Ac .. Cm

// A table one value short would leave its last entry 0.
static_assert(kCovalentRadii.back() > 0.0 && kStandardMasses.back() > 0.0, "a table is short of a value");

}  // namespace

std::string_view elementSymbol(int z) {
  if (z < 1 || z > kMaxElement) return {};
  return kSymbols[std::size_t(z - 1)];
}

int elementOfSymbol(std::string_view symbol) {
  if (symbol.empty() || symbol.size() > 2) return 0;
  for (int z = 1; z <= kMaxElement; ++z) {
    const std::string_view s = kSymbols[std::size_t(z - 1)];
    if (s.size() != symbol.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(symbol[i]))) {
        same = false;
      }
    }
    if (same) return z;
  }
  return 0;
}

double covalentRadius(int z) {
  if (z < 1 || z > kMaxElementData) return 0.0;
  return kCovalentRadii[std::size_t(z - 1)];
}

double standardMass(int z) {
  if (z < 1 || z > kMaxElementData) return 0.0;
  return kStandardMasses[std::size_t(z - 1)];
}

int elementOfMass(double mass) {
  if (!(mass > 0.0) || !std::isfinite(mass)) return 0;
  int nearest = 1;
  double gap = std::fabs(mass - kStandardMasses[0]);
  for (int z = 2; z <= kMaxElementData; ++z) {
    const double d = std::fabs(mass - kStandardMasses[std::size_t(z - 1)]);
    if (d < gap) {
      gap = d;
      nearest = z;
    }
  }
  return nearest;
}

}  // namespace kelmar
