// Fuzz target: the bulk scan of the structure readers against reading every
// line, with the files arriving through file descriptors, so that refills,
// lines split across two reads and cut lines are reached. Every input runs
// a reader once line by line from memory (the reference), then with every
// scan kernel of this processor, with and without plain-line reads, through
// a pipe written in the input's piece sizes and from a regular file; any
// difference in values, messages or line numbers aborts.
//
// The input:
//   byte 0     bits 0-1 the reader (0 Gaussian, 1 Molpro, 2 Polyrate, 3
//              Gaussian again), bit 2 three structure files instead of two
//              (Gaussian and Molpro; Polyrate reads one), bits 3-4 the longest
//              line a stream hands out whole (1 MiB, 130, 200 or 1000 bytes;
//              a stream holds twice that, so short ones refill often), bits
//              5-7 how far nvibm stands below 3 natom (0, 5, 6, 1, 2, 3, 7, 9)
//   byte 1     natom - 1, modulo 40
//   bytes 2-5  the sizes of the pieces that a pipe's writer writes in turn:
//              a byte b below 128 is b + 1 bytes, else (b - 127) KiB
//   the rest   the structure files, split at each record separator byte
//              (0x1e) as in the reader targets
// Shorter inputs are padded with zero bytes.
//
// Besides the fuzzer's flags it takes -write_seeds=DIR -tests=TESTS, which
// writes seed inputs made from the test data under TESTS into DIR.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzzrun.h"
#include "readeroutcome.h"

namespace kelmar::fuzz {
namespace {

constexpr std::size_t kHeader = 6;
constexpr std::size_t kLineLengths[] = {kMaxLineLength, 130, 200, 1000};
constexpr int kBelowAll[] = {0, 5, 6, 1, 2, 3, 7, 9};

const ReaderCall kReaders[] = {readGaussian, readMolpro, readPolyrate, readGaussian};
const char* const kReaderNames[] = {"Gaussian", "Molpro", "Polyrate", "Gaussian"};

struct ScanCase {
  unsigned reader;
  std::size_t maxLineLength;
  int natom, nvibm;
  std::vector<std::size_t> pieces;
  std::vector<std::string> texts;
};

ScanCase decode(const std::uint8_t* data, std::size_t size) {
  std::uint8_t head[kHeader] = {};
  for (std::size_t k = 0; k < kHeader && k < size; ++k) head[k] = data[k];
  ScanCase c;
  c.reader = head[0] & 3u;
  c.maxLineLength = kLineLengths[(head[0] >> 3) & 3u];
  c.natom = 1 + head[1] % 40;
  c.nvibm = std::max(1, 3 * c.natom - kBelowAll[head[0] >> 5]);
  for (std::size_t k = 2; k < kHeader; ++k) {
    c.pieces.push_back(head[k] < 128 ? std::size_t(head[k]) + 1 : std::size_t(head[k] - 127) * 1024);
  }
  const std::string_view body =
      size > kHeader ? std::string_view(reinterpret_cast<const char*>(data + kHeader), size - kHeader) : "";
  const std::vector<std::string_view> parts = structureFileParts(body);
  const std::size_t files = c.reader == 2 ? 1 : (head[0] & 4u) ? 3 : 2;
  for (std::size_t s = 1; s <= files; ++s) c.texts.emplace_back(parts[std::min(s, parts.size()) - 1]);
  return c;
}

Outcome run(const ScanCase& c, const Way& way) {
  std::unique_ptr<Projection> p = lendProjection();
  auto coor = std::make_unique<Coor>();
  Outcome o = runReader(kReaders[c.reader], way, *p, *coor, c.natom, c.nvibm, c.texts);
  giveBackProjection(*p);
  return o;
}

void compare(const ScanCase& c, const Outcome& expected, const Way& way) {
  const Outcome got = run(c, way);
  if (got == expected) return;
  std::cerr << "kelmar fuzz: the " << kReaderNames[c.reader] << " reader (natom " << c.natom << ", nvibm "
            << c.nvibm << ") read " << way << " differs from reading every line from memory\n"
            << "line by line:\n"
            << expected << "\n"
            << "read " << way << ":\n"
            << got << "\n";
  if (got.out != expected.out) std::cerr << "output line by line:\n" << expected.out << "output read so:\n" << got.out;
  std::abort();
}

void runScanCase(const std::uint8_t* data, std::size_t size) {
  const ScanCase c = decode(data, size);
  const Outcome expected =
      run(c, Way{ScanKernel::LineByLine, false, Transport::Memory, c.pieces, c.maxLineLength});
  if (echoing()) std::cerr << expected << "\n" << expected.out;
  compare(c, expected, Way{ScanKernel::LineByLine, true, Transport::Pipe, c.pieces, c.maxLineLength});
  for (ScanKernel kernel : fastKernels()) {
    for (bool plain : {false, true}) {
      compare(c, expected, Way{kernel, plain, Transport::Pipe, c.pieces, c.maxLineLength});
    }
    compare(c, expected, Way{kernel, true, Transport::File, c.pieces, c.maxLineLength});
  }
}

// Seeds: real files of each reader, in a few line lengths and piece sizes.
struct Seed {
  const char* name;
  unsigned reader;  // as byte 0 bits 0-1
  int natom, nvibm;
  const char* files[3];
};

const Seed kSeeds[] = {
    {"gaussian-claisen", 0, 14, 36, {"data/gaussian/claisen/reactant.out", "data/gaussian/claisen/ts.out"}},
    {"gaussian-example", 0, 3, 3, {"e2e/cases/worked_example_gas_gaussian/r.log",
                                   "e2e/cases/worked_example_gas_gaussian/ts.log"}},
    {"molpro-hosi", 1, 4, 6, {"data/molpro/hosi_imag/hosi.out", "data/molpro/ch2o/ch2o.out"}},
    {"polyrate-three", 2, 3, 9, {"data/polyrate-made/o_h2_three_structures.out"}},
};

void writeSeeds(const std::filesystem::path& dir, const std::filesystem::path& tests) {
  for (const Seed& s : kSeeds) {
    std::string body;
    int files = 0;
    for (const char* f : s.files) {
      if (!f) break;
      if (files++ > 0) body += '\x1e';
      body += readWhole(tests / f);
    }
    const int below = 3 * s.natom - s.nvibm;
    unsigned belowIndex = 0;
    while (belowIndex < 8 && kBelowAll[belowIndex] != below) ++belowIndex;
    if (belowIndex == 8) {
      std::fprintf(stderr, "kelmar fuzz: seed %s has an nvibm the input cannot give\n", s.name);
      std::exit(2);
    }
    for (unsigned length = 0; length < 4; ++length) {
      // pieces of 1 KiB, 1, 17 and 4 KiB bytes; of 2 KiB, 7, 64 and 1 bytes
      // (a piece of one byte is a write of its own, so few of them)
      const std::uint8_t pieces[2][4] = {{0x80, 0x00, 0x10, 0x83}, {0x81, 0x06, 0x3f, 0x00}};
      std::string seed;
      seed += char(s.reader | (length << 3) | (belowIndex << 5));
      seed += char(s.natom - 1);
      for (std::uint8_t b : pieces[length == 0 ? 0 : 1]) seed += char(b);
      seed += body;
      writeWhole(dir / (std::string(s.name) + "-" + std::to_string(kLineLengths[length])), seed);
    }
  }
}

}  // namespace
}  // namespace kelmar::fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  ::kelmar::fuzz::handleSeedCommand(*argc, *argv, ::kelmar::fuzz::writeSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ::kelmar::fuzz::runScanCase(data, size);
  return 0;
}
