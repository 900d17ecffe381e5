#include "shared/elements.h"

#include <array>
#include <cctype>

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

}  // namespace kelmar
