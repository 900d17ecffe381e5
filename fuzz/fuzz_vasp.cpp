// Fuzz target: the mode files derived from VASP runs, from the reader to the
// report (the input layout is in fuzzrun.h; a run opens two files, always a
// reactant run).
#include <cstddef>
#include <cstdint>

#include "fuzzrun.h"

namespace kelmar::fuzz {
namespace {

#define DATA "data/vasp-made/"

const ControlRecord kRecords[] = {
    // NH3 saddle, every atom of the model
    {"1.008 1.008 1.008 14.007", 4, 4, 0, 0, 0, {DATA "nh3_saddle.modes"}, {}},
    // NH3 saddle with its first atom passed over
    {"1.008 1.008 14.007", 3, 3, 0, 0, 0, {DATA "nh3_saddle.modes"}, {}},
    // H2O
    {"1.008 1.008 15.995", 3, 3, 0, 0, 0, {DATA "h2o.modes"}, {}},
    // the last two atoms of the NH3 saddle, as a linear molecule of two
    // one-atom fragments
    {"1.008 14.007", 2, 1, 0, 0, 1, {DATA "nh3_saddle.modes"}, {}},
    // one H atom on one Pt atom: a gas-phase run of it has no vibration
    {"1.008", 1, 1, 0, 0, 0, {"e2e/cases/vasp_single_atom_gas_run/h.modes"}, {}},
};

#undef DATA

const ReaderTarget kTarget{"vasp", kRecords};

}  // namespace
}  // namespace kelmar::fuzz

KELMAR_READER_FUZZ_TARGET(kTarget)
