// Fuzz target: a Polyrate output file, from the reader to the report (the
// input layout is in fuzzrun.h; a run opens one file).
#include <cstddef>
#include <cstdint>

#include "fuzzrun.h"

namespace kelmar::fuzz {
namespace {

constexpr const char* kFile = "data/polyrate-made/o_h2_three_structures.out";

const ControlRecord kRecords[] = {
    // O + H2 as two fragments, and as one
    {"15.995 1.008 1.008", 3, 1, 0, 0, 0, {kFile}, {kFile}},
    {"15.995 1.008 1.008", 3, 3, 0, 0, 0, {kFile}, {kFile}},
    // H2 flagged non-linear, so that a gas-phase run of it has no vibration
    {"1.0 1.0", 2, 2, 0, 0, 0, {"e2e/cases/polyrate_two_atoms_flagged_nonlinear/h2.out"}, {}},
};

const ReaderTarget kTarget{"polyrate", kRecords};

}  // namespace
}  // namespace kelmar::fuzz

KELMAR_READER_FUZZ_TARGET(kTarget)
