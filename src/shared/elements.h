// The chemical elements by atomic number: their symbols, for the files that
// name an atom by its symbol, and the element data that the checks of a
// structure use.
#pragma once

#include <string_view>

namespace kelmar {

// The highest atomic number known here.
inline constexpr int kMaxElement = 118;

// The symbol of element z ("H", "He", ...); empty outside 1..kMaxElement.
std::string_view elementSymbol(int z);

// The atomic number of an element symbol, its letters in any case ("CL" and
// "cl" are chlorine); 0 for a text that is no element symbol.
int elementOfSymbol(std::string_view symbol);

}  // namespace kelmar
