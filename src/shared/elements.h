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

// The highest atomic number with a covalent radius and a standard mass here.
inline constexpr int kMaxElementData = 96;

// The single-bond covalent radius of element z in angstrom; 0 outside
// 1..kMaxElementData, where none is known here.
double covalentRadius(int z);

// The standard atomic weight of element z (the mass number of its
// longest-lived isotope for an element without a stable one); 0 outside
// 1..kMaxElementData.
double standardMass(int z);

// The element 1..kMaxElementData whose standard mass is nearest `mass` (the
// lighter one of two equally near); 0 for a mass that is not a finite
// positive number.
int elementOfMass(double mass);

}  // namespace kelmar
