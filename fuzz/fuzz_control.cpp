// Fuzz target: the control file on standard input, through readfile and
// countmodes.
#include <cstddef>
#include <cstdint>

#include "fuzzrun.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  kelmar::fuzz::handleOwnCommands(nullptr, *argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelmar::fuzz::runControlCase(data, size);
  return 0;
}
