// Fuzz target: Gaussian output files, from the reader to the report (the
// input layout is in fuzzrun.h).
#include <cstddef>
#include <cstdint>

#include "fuzzrun.h"

namespace kelmar::fuzz {
namespace {

#define CASE "e2e/cases/worked_example_gas_gaussian/"
#define DATA "data/gaussian/"

const ControlRecord kRecords[] = {
    // O + H2, two fragments
    {"15.995 1.008 1.008", 3, 1, 0, 1, 0, {CASE "r.log", CASE "ts.log"}, {CASE "r.log", CASE "r.log", CASE "ts.log"}},
    // HCN: linear, the last block holds one mode
    {"12.0 14.00307 1.00783", 3, 1, 0, 1, 1, {DATA "hcn_linear/hcn.out"}, {DATA "hcn_linear/hcn.out"}},
    // Claisen rearrangement
    {"12.0 12.0 15.99491 12.0 12.0 12.0 1.00783 1.00783 1.00783 1.00783 1.00783 1.00783 1.00783 1.00783",
     14, 14, 0, 0, 0,
     {DATA "claisen/reactant.out", DATA "claisen/ts.out"},
     {DATA "claisen/reactant.out", DATA "claisen/product.out", DATA "claisen/ts.out"}},
    // propyl 1,2-H shift: blocks with Raman lines
    {"12.0 12.0 12.0 1.00783 1.00783 1.00783 1.00783 1.00783 1.00783 1.00783",
     10, 10, 0, 0, 0,
     {DATA "propyl_h_shift_raman/reactant_npropyl.out", DATA "propyl_h_shift_raman/ts.out"},
     {DATA "propyl_h_shift_raman/reactant_npropyl.out", DATA "propyl_h_shift_raman/product_ipropyl.out",
      DATA "propyl_h_shift_raman/ts.out"}},
    // ethyl: high-precision mode blocks before the default ones
    {"12.0 12.0 1.00783 1.00783 1.00783 1.00783 1.00783",
     7, 7, 0, 0, 0,
     {DATA "ethyl_h_addition_hpmodes/product_ethyl.log", DATA "ethyl_h_addition_hpmodes/ts.log"},
     {}},
};

#undef CASE
#undef DATA

const ReaderTarget kTarget{"gaussian", kRecords};

}  // namespace
}  // namespace kelmar::fuzz

KELMAR_READER_FUZZ_TARGET(kTarget)
