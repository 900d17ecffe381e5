// A structure reader run on texts in a chosen way (scan kernel, plain-line
// reads, how the files arrive), and everything the run leaves, so that two
// ways can be compared value for value. The unit tests and the fuzz targets
// both use it; it needs nothing but the program's library.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <ostream>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "input/input.h"
#include "shared/markerscan.h"
#include "shared/runend.h"
#include "streamfeed.h"

namespace kelmar {

inline const char* kernelName(ScanKernel k) {
  switch (k) {
    case ScanKernel::LineByLine:
      return "line by line";
    case ScanKernel::Portable:
      return "portable";
    case ScanKernel::Vector16:
      return "16-byte vectors";
    case ScanKernel::Vector32:
      return "32-byte vectors";
  }
  return "?";
}

// The bulk-scan kernels that this processor runs, the fastest last.
inline std::vector<ScanKernel> fastKernels() {
  std::vector<ScanKernel> kernels;
  for (ScanKernel k : {ScanKernel::Portable, ScanKernel::Vector16, ScanKernel::Vector32}) {
    if (scanKernelAvailable(k)) kernels.push_back(k);
  }
  return kernels;
}

// A reader run on open files with a kernel.
using ReaderCall = std::function<void(Projection&, Coor&, std::span<InputStream* const>, ScanKernel, Console&)>;

inline void readGaussian(Projection& p, Coor& coor, std::span<InputStream* const> files, ScanKernel kernel,
                         Console& console) {
  inputgaussian(p, coor, files, kernel, console);
}
inline void readMolpro(Projection& p, Coor& coor, std::span<InputStream* const> files, ScanKernel kernel,
                       Console& console) {
  inputmolpro(p, coor, files, kernel, console);
}
inline void readPolyrate(Projection& p, Coor& coor, std::span<InputStream* const> files, ScanKernel kernel,
                         Console&) {
  inputpolyrate(p, coor, *files[0], kernel);
}

// How the reader is run: its kernel, whether plain lines are tried, how the
// files reach it (a pipe's writer writing pieces of the sizes in `pieces`,
// in turn), and the longest line the streams hand out whole.
struct Way {
  ScanKernel kernel;
  bool plainLines;
  Transport how;
  std::vector<std::size_t> pieces = {4093};
  std::size_t maxLineLength = kMaxLineLength;
};

inline std::ostream& operator<<(std::ostream& os, const Way& w) {
  os << kernelName(w.kernel) << (w.plainLines ? ", plain lines" : "") << ", " << transportName(w.how);
  if (w.how == Transport::Pipe) {
    os << " in pieces of";
    for (std::size_t piece : w.pieces) os << " " << piece;
  }
  if (w.maxLineLength != kMaxLineLength) os << ", lines cut at " << w.maxLineLength;
  return os;
}

// What a run of a reader leaves: how it ended, every value it can have
// stored (bit for bit, so a sign of zero shows), what it wrote, and the
// line each stream stands at.
struct Outcome {
  std::string end;
  std::vector<std::uint64_t> values;
  std::string out;
  std::vector<long> lines;
  bool operator==(const Outcome&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Outcome& o) {
  os << "end: " << o.end << "\nlines:";
  for (long l : o.lines) os << " " << l;
  return os << "\n" << o.values.size() << " values, output of " << o.out.size() << " bytes";
}

// The names of n structure files: file1.out, file2.out, ...
inline std::vector<std::string> fileNames(std::size_t n) {
  std::vector<std::string> names;
  for (std::size_t k = 1; k <= n; ++k) names.push_back("file" + std::to_string(k) + ".out");
  return names;
}

// Runs the reader with `kernel` on the open structure files `files` into
// `p` and `coor`, which must be as new: natom atoms of mass 9, nvibm modes
// in the reaction mode's place. What the run leaves goes into `o`, whose
// vectors keep their storage, so that a caller that runs reader after
// reader (the fuzz target) allocates them once.
inline void runReaderOn(const ReaderCall& reader, ScanKernel kernel, std::span<InputStream* const> files,
                        Projection& p, Coor& coor, int natom, int nvibm, Outcome& o) {
  p.natom = natom;
  p.nmode = 3 * natom;
  p.nvibm = nvibm;
  for (int a = 1; a <= natom; ++a) p.amass(a) = 9.0;
  std::ostringstream outText, errText;
  Output output{outText, errText};
  InputStream nothing(std::string_view(), "standard input");
  Console console{nothing, output, true};
  try {
    reader(p, coor, files, kernel, console);
    o.end = "the run went on";
  } catch (const RunEnd& e) {
    o.end = "status " + std::to_string(e.status) + ": " + e.message;
  }
  o.values.clear();
  // n values from v on, bit for bit
  auto put = [&](const double& v, std::size_t n = 1) {
    const std::size_t at = o.values.size();
    o.values.resize(at + n);
    std::memcpy(o.values.data() + at, &v, n * sizeof v);
  };
  const std::size_t rows = std::size_t(3 * natom);
  for (int sl = 1; sl <= kMaxSlabs; ++sl) {
    for (int m = 1; m <= p.nmode; ++m) {
      put(p.freq(m, sl));
      // the rows of a mode lie next to each other; the last one's index is
      // checked too
      (void)p.eigv(m, int(rows), sl);
      put(p.eigv(m, 1, sl), rows);
    }
  }
  for (int a = 1; a <= natom; ++a) put(p.amass(a));
  for (int pos = 1; pos <= kMaxSlabs * natom; ++pos) {
    put(coor.x(pos));
    put(coor.y(pos));
    put(coor.z(pos));
  }
  o.values.push_back(std::uint64_t(p.itrans));
  o.values.push_back(std::uint64_t(p.nimag));
  o.out = outText.str() + errText.str();
  o.lines.clear();
  for (InputStream* f : files) o.lines.push_back(f->lineNumber());
}

// Runs the reader on the texts, one structure file each, passed to it as
// `way` says; `p` and `coor` as for runReaderOn.
inline Outcome runReader(const ReaderCall& reader, const Way& way, Projection& p, Coor& coor, int natom, int nvibm,
                         const std::vector<std::string>& texts) {
  StreamFeed s(texts, fileNames(texts.size()), way.how, way.pieces, way.maxLineLength, way.plainLines);
  Outcome o;
  runReaderOn(reader, way.kernel, s.files(), p, coor, natom, nvibm, o);
  return o;
}

}  // namespace kelmar
