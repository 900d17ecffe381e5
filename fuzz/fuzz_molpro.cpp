// Fuzz target: Molpro frequency outputs, from the reader to the report (the
// input layout is in fuzzrun.h).
#include <cstddef>
#include <cstdint>

#include "fuzzrun.h"

namespace kelmar::fuzz {
namespace {

#define DATA "data/molpro/"

const ControlRecord kRecords[] = {
    // HOSI: one imaginary mode
    {"31.97207 15.99491 1.00783 126.90447", 4, 4, 0, 0, 0, {DATA "hosi_imag/hosi.out"}, {DATA "hosi_imag/hosi.out"}},
    // formaldehyde: no imaginary mode list
    {"15.99491 12.0 1.00783 1.00783", 4, 4, 0, 0, 0, {DATA "ch2o/ch2o.out"}, {DATA "ch2o/ch2o.out"}},
    // CH3O <-> CH2OH transition state, split after its first atom into two fragments
    {"15.99491 12.0 1.00783 1.00783 1.00783",
     5, 1, 0, 0, 0,
     {DATA "ch3o_h_shift_ts/ts.out"},
     {DATA "ch3o_h_shift_ts/ts.out"}},
    // p-divinylbenzene: several groups of five modes
    {"12.0 12.0 12.0 12.0 12.0 12.0 12.0 12.0 1.00783 1.00783 1.00783 1.00783 12.0 12.0 1.00783 1.00783 1.00783 "
     "1.00783 1.00783 1.00783",
     20, 20, 0, 0, 0,
     {DATA "dvb/dvb_ir.out"},
     {}},
};

#undef DATA

const ReaderTarget kTarget{"molpro", kRecords};

}  // namespace
}  // namespace kelmar::fuzz

KELMAR_READER_FUZZ_TARGET(kTarget)
