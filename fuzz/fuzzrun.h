// The common part of the fuzz targets: a run in memory, whose orderly end
// (RunEnd) is a normal outcome and whose escaped exceptions crash.
//
// A reader target takes its input as
//   byte 0     the case: bit 0 a surface run (else gas phase), bit 1 a
//              product run (iprod 1), bits 2-7 the control record (modulo
//              the number of records of the target)
//   the rest   the structure files, split at each record separator byte
//              (0x1e): structure file s is part s, or the last part when
//              there are fewer; without a separator every structure file
//              holds the same bytes.
// readfile reads the control record from a control file made for the case,
// and the reader gets the structure files as in-memory streams; the rest of
// the run follows the sequence of a run after loading. The console is a
// terminal with nothing to read, so that a pause prompt ends the run instead
// of waiting.
//
// Every target also takes two commands of its own (handled before the
// fuzzer reads its flags, and exiting when done):
//   -write_seeds=DIR -tests=TESTS   writes the target's seed inputs, made
//                                   from the files under TESTS (the
//                                   project's tests/ folder), into DIR;
//   -write_case=DIR INPUT           (reader targets) writes the control file
//                                   and the structure files of one input
//                                   into DIR, so that `kelmar < input.txt`
//                                   run there repeats it.
// With KELMAR_FUZZ_ECHO set in the environment, a run's output and its
// closing message go to standard output and standard error instead of
// being dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shared/instream.h"
#include "shared/projection.h"
#include "shared/runend.h"

namespace kelmar::fuzz {

// A control record that matches structure files of the test data.
struct ControlRecord {
  const char* masses;  // the masses line: natom values
  int natom;
  int nreact1;
  int linear1, linear2, linear;
  // Seed files (paths under tests/) of a reactant run and of a product run,
  // in the order of the control file; a null ends a list, and an empty
  // product list gives no product-run seed.
  const char* reactantRun[3];
  const char* productRun[4];
};

struct ReaderTarget {
  const char* software;  // the control file's software line, which names the reader
  std::span<const ControlRecord> records;
};

// One input of a reader target.
void runReaderCase(const ReaderTarget& target, const std::uint8_t* data, std::size_t size);

// One input of the control file target: readfile and countmodes read it, as
// far as a run goes before it opens a structure file.
void runControlCase(const std::uint8_t* data, std::size_t size);

// The structure files of an input's bytes: split at each record separator
// byte (0x1e), at least one part.
std::vector<std::string_view> structureFileParts(std::string_view bytes);

// A new Projection for one run whose mode and frequency stores are those of
// the run before, zeroed: a fresh allocation of their 24 MB for every input
// costs AddressSanitizer more than most runs take. Hand it back when the run
// is done.
std::unique_ptr<Projection> lendProjection();
void giveBackProjection(Projection& p);

// The bytes of a file, and a file written with bytes; a failure ends the
// process with status 2.
std::string readWhole(const std::filesystem::path& path);
void writeWhole(const std::filesystem::path& path, std::string_view bytes);

// Whether KELMAR_FUZZ_ECHO is set, so that a run shows what it wrote.
bool echoing();

// Writes the seed inputs of a target into `dir` (already made), from the
// files under `tests`.
using SeedWriter = std::function<void(const std::filesystem::path& dir, const std::filesystem::path& tests)>;

// For LLVMFuzzerInitialize of a target with an input layout of its own:
// carries out -write_seeds=DIR -tests=TESTS with `write` and exits when the
// arguments ask for it, else returns.
void handleSeedCommand(int argc, char** argv, const SeedWriter& write);

// For LLVMFuzzerInitialize: carries out -write_seeds or -write_case and
// exits when the arguments ask for one, else returns. A null target is the
// control file target.
void handleOwnCommands(const ReaderTarget* target, int argc, char** argv);

}  // namespace kelmar::fuzz

// The two entry points that libFuzzer calls, for the reader target `target`
// (a ReaderTarget of namespace kelmar::fuzz).
#define KELMAR_READER_FUZZ_TARGET(target)                                           \
  extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {                    \
    ::kelmar::fuzz::handleOwnCommands(&::kelmar::fuzz::target, *argc, *argv);       \
    return 0;                                                                       \
  }                                                                                 \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    ::kelmar::fuzz::runReaderCase(::kelmar::fuzz::target, data, size);              \
    return 0;                                                                       \
  }
