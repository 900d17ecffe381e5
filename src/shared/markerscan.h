// The marker scan of the structure readers: the lines of a file are passed
// over in bulk, their bytes searched for all markers of a reader at once,
// and only a line that holds one of them is read into the 130-character line
// buffer, whose own test still decides whether a section starts there. The
// line numbers count every line passed over, so messages name the same line
// as a scan that reads every line.
//
// The search runs on 32-byte vectors where the processor has them (chosen
// at run time), on 16-byte vectors on every x86-64 processor, and on plain
// searches elsewhere.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "shared/freeread.h"
#include "shared/instream.h"

namespace kelmar {

// How the lines of a structure file are passed over.
enum class ScanKernel {
  LineByLine,  // every line read into the line buffer and tested
  Portable,    // plain substring searches and a word-wise line-end count
  Vector16,    // 16-byte vector compares (x86-64 only)
  Vector32,    // 32-byte vector compares (x86-64 processors with AVX2 only)
};

// Whether the kernel runs on this processor.
bool scanKernelAvailable(ScanKernel kernel);

// The fastest kernel that this processor runs (the processor is asked
// once): the one the program scans with.
ScanKernel fastestScanKernel();

class MarkerScan {
 public:
  // The markers exactly as the reader's line-buffer tests name them. Every
  // section of the reader must need one of them in the line buffer. No
  // markers, or a marker that no line can hold (empty, blanks only, or with
  // a line end), is a mistake of the caller: std::logic_error.
  // The scan runs on `kernel`, which must be one this processor runs.
  MarkerScan(ScanKernel kernel, std::initializer_list<std::string_view> markers);
  MarkerScan(const MarkerScan&) = delete;
  MarkerScan& operator=(const MarkerScan&) = delete;

  // Reads the next line that can hold one of the markers into the buffer;
  // false at end of input (the buffer keeps its previous text). The lines
  // passed over hold none of the markers, so no test of the buffer could
  // have found one there.
  bool nextLine(InputStream& in, LineBuffer& buffer) const;

  // What the search looks for in the raw bytes of a line: each marker
  // without its trailing blanks (those may come from the padding of a short
  // line), and only the markers that hold none of the others. Only the
  // tests ask for it.
  const std::vector<std::string>& searched() const { return searched_; }

 private:
  struct Probe {  // two bytes of a searched text and where they stand in it
    std::size_t first, second;
    unsigned char a, b;
  };

  class Search : public LineSearch {
   public:
    explicit Search(const MarkerScan& scan) : scan_(scan) {}
    std::size_t find(const char* data, std::size_t size, long& lineEnds) const override;

   private:
    const MarkerScan& scan_;
  };

  std::size_t findPortable(const char* data, std::size_t size, long& lineEnds) const;
  // The vector kernel for N probes on the vector operations Ops, and its
  // 16-byte and 32-byte instances.
  template <class Ops, std::size_t N>
  std::size_t findVector(const char* data, std::size_t size, long& lineEnds) const;
  template <std::size_t N>
  std::size_t findVector16(const char* data, std::size_t size, long& lineEnds) const;
  template <std::size_t N>
  std::size_t findVector32(const char* data, std::size_t size, long& lineEnds) const;
  using Finder = std::size_t (MarkerScan::*)(const char*, std::size_t, long&) const;
  // The search of `kernel` for `probes` probes.
  static Finder finderFor(ScanKernel kernel, std::size_t probes);
  // Whether a searched text starts at data[at], within data[0, size).
  bool hitAt(const char* data, std::size_t size, std::size_t at) const;
  // The plain search of data[from, size), line ends counted from `from`.
  std::size_t findTail(const char* data, std::size_t from, std::size_t size, long& lineEnds) const;

  ScanKernel kernel_;
  Finder finder_ = nullptr;  // the search of the kernel, for the markers' count
  std::vector<std::string> searched_;
  std::vector<Probe> probes_;
  std::size_t reach_ = 0;  // the largest offset of a probe's second byte
  Search search_;
};

// The number of line ends in data[0, size).
long countLineEnds(const char* data, std::size_t size);

}  // namespace kelmar
