// Structure input: the control file, the mode counts, the
// structure loading with its four readers, and the loading tail.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "shared/instream.h"
#include "shared/markerscan.h"
#include "shared/projection.h"
#include "shared/runend.h"

namespace kelmar {

// Reads the control file from standard input into the shared state and
// echoes its values.
void readfile(Projection& p, Console& console);

// Sets nmode, nvibm and ninit and writes the two count lines.
void countmodes(Projection& p, int& ninit, Console& console);

// Loads every structure with the reader that `software` names, then runs
// the loading tail: opens the structure files and hands them to
// loadStructures.
void input(Projection& p, Coor& coor, ScanKernel kernel, Console& console);

// The number of structure files that the reader `software` names takes
// (0 when it names none).
int structureFileCount(const Projection& p);

// Loads every structure from the files, open in slab order, with the reader
// that `software` names, and runs the loading tail; stops the run when
// `software` names no reader. The readers that scan for markers do so with
// `kernel`.
void loadStructures(Projection& p, Coor& coor, std::span<InputStream* const> files, ScanKernel kernel,
                    Console& console);

// The readers. Each takes its files already open, in slab order; those
// that scan for markers scan with `kernel`.
void inputgaussian(Projection& p, Coor& coor, std::span<InputStream* const> files, ScanKernel kernel,
                   Console& console);
void inputmolpro(Projection& p, Coor& coor, std::span<InputStream* const> files, ScanKernel kernel,
                 Console& console);
void inputpolyrate(Projection& p, Coor& coor, InputStream& file, ScanKernel kernel);
void inputvasp(Projection& p, Coor& coor, std::span<InputStream* const> files, Console& console);

// What the checks of the loaded structures say in their messages.
//
// "poly.out" for a file of one structure, "poly.out (structure 2)" when the
// file holds every structure of the run.
std::string structureName(const Projection& p, int s);
// "atom 4", "atoms 1-3".
std::string atomRange(int first, int last);
// Whether the reader's files give their geometries in bohr (Molpro,
// Polyrate) rather than in angstrom (Gaussian, VASP-derived).
bool geometryInBohr(const Projection& p);
inline constexpr double kBohrInAngstrom = 0.529177210903;  // CODATA 2018

// Fragment masses, the loading echo, the unit mode vectors of Gaussian and
// Molpro files, the imaginary frequency and the reaction-mode vector.
void loadingtail(Projection& p, Coor& coor, Console& console);

}  // namespace kelmar
