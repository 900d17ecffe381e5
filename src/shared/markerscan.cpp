#include "shared/markerscan.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KELMAR_X86_VECTORS 1
#include <immintrin.h>
#else
#define KELMAR_X86_VECTORS 0
#endif

namespace kelmar {
namespace {

// The most markers the vector kernels take; a reader with more is searched
// by the plain kernel.
constexpr std::size_t kMaxVectorMarkers = 6;

// How seldom a byte stands in the output files of the chemistry programs,
// roughly: blanks, digits and number signs everywhere, the frequent letters
// of English words often, capitals and brackets seldom. The vector search
// compares two of the seldom bytes of each marker, so that few places need
// the full compare.
int rarity(unsigned char c) {
  if (c == ' ' || c == '\t' || c == '\n' || c == '\r') return 0;
  if ((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+') return 1;
  if (std::strchr("etaoinsrhl", c) != nullptr && c != '\0') return 2;
  if (c >= 'a' && c <= 'z') return 3;
  if (c >= 'A' && c <= 'Z') return 4;
  return 5;
}

}  // namespace

bool scanKernelAvailable(ScanKernel kernel) {
  switch (kernel) {
    case ScanKernel::LineByLine:
    case ScanKernel::Portable:
      return true;
    case ScanKernel::Vector16:
      return KELMAR_X86_VECTORS != 0;
    case ScanKernel::Vector32:
#if KELMAR_X86_VECTORS
    {
      // the processor's word (CPUID, and whether the system keeps the
      // 32-byte registers), asked once
      static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
      }();
      return avx2;
    }
#else
      return false;
#endif
  }
  return false;
}

ScanKernel fastestScanKernel() {
  if (scanKernelAvailable(ScanKernel::Vector32)) return ScanKernel::Vector32;
  if (scanKernelAvailable(ScanKernel::Vector16)) return ScanKernel::Vector16;
  return ScanKernel::Portable;
}

long countLineEnds(const char* data, std::size_t size) {
  // Eight bytes at a time: a byte of x ^ 0x0a.. is zero exactly where a line
  // end stands, and the sum below keeps the top bit of every byte that is
  // not zero, without carries between bytes.
  constexpr std::uint64_t kOnes7 = 0x7f7f7f7f7f7f7f7fULL;
  constexpr std::uint64_t kTops = 0x8080808080808080ULL;
  constexpr std::uint64_t kEnds = 0x0a0a0a0a0a0a0a0aULL;
  long n = 0;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t x = 0;
    std::memcpy(&x, data + i, 8);
    std::uint64_t y = x ^ kEnds;
    std::uint64_t t = ((y & kOnes7) + kOnes7) | y;
    std::uint64_t z = ~t & kTops;
    // one bit per line end: add them up
    z >>= 7;
    z = (z * 0x0101010101010101ULL) >> 56;
    n += long(z);
  }
  for (; i < size; ++i) n += data[i] == '\n';
  return n;
}

MarkerScan::MarkerScan(ScanKernel kernel, std::initializer_list<std::string_view> markers)
    : kernel_(kernel), search_(*this) {
  if (!scanKernelAvailable(kernel)) throw std::logic_error("scan kernel that this processor does not run");
  // a scan for nothing would pass over every line
  if (markers.size() == 0) throw std::logic_error("marker scan without markers");
  std::vector<std::string> trimmed;
  for (std::string_view m : markers) {
    std::size_t n = m.size();
    while (n > 0 && m[n - 1] == ' ') --n;
    if (n == 0 || m.find('\n') != std::string_view::npos) throw std::logic_error("marker that no line can hold");
    trimmed.emplace_back(m.substr(0, n));
  }
  // A line holding a marker that holds another holds that other one too.
  for (std::size_t i = 0; i < trimmed.size(); ++i) {
    bool covered = false;
    for (std::size_t j = 0; j < trimmed.size() && !covered; ++j) {
      if (j == i) continue;
      bool inside = trimmed[i].find(trimmed[j]) != std::string::npos;
      // of two equal texts, the first is kept
      covered = inside && (trimmed[i] != trimmed[j] || j < i);
    }
    if (!covered) searched_.push_back(trimmed[i]);
  }
  for (const std::string& m : searched_) {
    // the seldom byte, then the seldom one of the others; the later on ties
    std::size_t best = 0;
    for (std::size_t k = 1; k < m.size(); ++k) {
      if (rarity(static_cast<unsigned char>(m[k])) >= rarity(static_cast<unsigned char>(m[best]))) best = k;
    }
    std::size_t other = best == 0 ? 1 % m.size() : 0;
    for (std::size_t k = 0; k < m.size(); ++k) {
      if (k == best) continue;
      if (rarity(static_cast<unsigned char>(m[k])) >= rarity(static_cast<unsigned char>(m[other]))) other = k;
    }
    std::size_t first = std::min(best, other);
    std::size_t second = std::max(best, other);
    probes_.push_back({first, second, static_cast<unsigned char>(m[first]), static_cast<unsigned char>(m[second])});
    reach_ = std::max(reach_, second);
  }
  finder_ = finderFor(kernel, probes_.size());
}

bool MarkerScan::nextLine(InputStream& in, LineBuffer& buffer) const {
  if (kernel_ != ScanKernel::LineByLine) in.passOver(search_);
  return readWholeLine(in, buffer);
}

bool MarkerScan::hitAt(const char* data, std::size_t size, std::size_t at) const {
  for (const std::string& m : searched_) {
    if (m.size() <= size - at && std::memcmp(data + at, m.data(), m.size()) == 0) return true;
  }
  return false;
}

std::size_t MarkerScan::findTail(const char* data, std::size_t from, std::size_t size, long& lineEnds) const {
  for (std::size_t q = from; q < size; ++q) {
    if (hitAt(data, size, q)) return q;
    lineEnds += data[q] == '\n';
  }
  return size;
}

std::size_t MarkerScan::findPortable(const char* data, std::size_t size, long& lineEnds) const {
  // Window by window, so that a marker that the file does not hold is not
  // searched for up to the end of the data again after every hit.
  constexpr std::size_t kWindow = 8192;
  for (std::size_t p = 0; p < size;) {
    std::size_t wend = std::min(size, p + kWindow);
    std::size_t best = wend;
    for (const std::string& m : searched_) {
      std::size_t span = std::min(size, wend + m.size() - 1) - p;
      std::size_t f = std::string_view(data + p, span).find(m);
      if (f != std::string_view::npos) best = std::min(best, p + f);
    }
    lineEnds += countLineEnds(data + p, best - p);
    if (best < wend) return best;
    p = wend;
  }
  return size;
}

#if KELMAR_X86_VECTORS

namespace {

#define KELMAR_AVX2 __attribute__((target("avx2")))

// Fills `v` from the bytes at p, wherever they stand: every load of the
// vector kernel. The copy compiles to one unaligned vector load.
template <class T>
[[gnu::always_inline]] inline void loadUnaligned(T& v, const char* p) {
  std::memcpy(&v, p, sizeof v);
}

// The sum of the two 64-bit lanes.
long addHalves(__m128i sums) {
  return long(_mm_cvtsi128_si64(sums)) + long(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
}

// The operations of the vector kernel on 16-byte vectors, which every
// x86-64 processor has, and on 32-byte vectors (AVX2). A vector passes
// through the kernel's code wrapped in a struct: the code is written for
// the default target, and the compilers refuse or warn about a bare 32-byte
// vector there, although the 32-byte instance only runs inlined into its
// AVX2 function.
struct Ops16 {
  struct V {
    __m128i x;
  };
  static constexpr std::size_t kWidth = 16;
  static V load(const char* p) {
    V v;
    loadUnaligned(v.x, p);
    return v;
  }
  static V splat(unsigned char c) { return {_mm_set1_epi8(static_cast<char>(c))}; }
  static V zero() { return {_mm_setzero_si128()}; }
  static V equal(V a, V b) { return {_mm_cmpeq_epi8(a.x, b.x)}; }
  static V both(V a, V b) { return {_mm_and_si128(a.x, b.x)}; }
  static V either(V a, V b) { return {_mm_or_si128(a.x, b.x)}; }
  static V minus(V a, V b) { return {_mm_sub_epi8(a.x, b.x)}; }
  static unsigned mask(V a) { return unsigned(_mm_movemask_epi8(a.x)); }
  // the sum of the byte lanes
  static long laneSum(V a) { return addHalves(_mm_sad_epu8(a.x, _mm_setzero_si128())); }
};

struct Ops32 {
  struct V {
    __m256i x;
  };
  static constexpr std::size_t kWidth = 32;
  KELMAR_AVX2 static V load(const char* p) {
    V v;
    loadUnaligned(v.x, p);
    return v;
  }
  KELMAR_AVX2 static V splat(unsigned char c) { return {_mm256_set1_epi8(static_cast<char>(c))}; }
  KELMAR_AVX2 static V zero() { return {_mm256_setzero_si256()}; }
  KELMAR_AVX2 static V equal(V a, V b) { return {_mm256_cmpeq_epi8(a.x, b.x)}; }
  KELMAR_AVX2 static V both(V a, V b) { return {_mm256_and_si256(a.x, b.x)}; }
  KELMAR_AVX2 static V either(V a, V b) { return {_mm256_or_si256(a.x, b.x)}; }
  KELMAR_AVX2 static V minus(V a, V b) { return {_mm256_sub_epi8(a.x, b.x)}; }
  KELMAR_AVX2 static unsigned mask(V a) { return unsigned(_mm256_movemask_epi8(a.x)); }
  KELMAR_AVX2 static long laneSum(V a) {
    __m256i sums = _mm256_sad_epu8(a.x, _mm256_setzero_si256());
    return addHalves(_mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1)));
  }
};

// The vector kernel compares two bytes of every marker at 16 or 32 places
// at once, and counts the line ends in byte lanes: a lane counts to at most
// 255 before the lanes are added up, so the blocks come in rounds of 255.
constexpr std::size_t kRound = 255;

}  // namespace

// Always inlined, so that the 32-byte instance is compiled as part of its
// AVX2 function (findVector32), where the operations of Ops32 inline too.
template <class Ops, std::size_t N>
[[gnu::always_inline]] inline std::size_t MarkerScan::findVector(const char* data, std::size_t size,
                                                                 long& lineEnds) const {
  using V = typename Ops::V;
  constexpr std::size_t W = Ops::kWidth;
  V a[N], b[N];
  std::size_t first[N], second[N];
  for (std::size_t k = 0; k < N; ++k) {
    a[k] = Ops::splat(probes_[k].a);
    b[k] = Ops::splat(probes_[k].b);
    first[k] = probes_[k].first;
    second[k] = probes_[k].second;
  }
  const V ends = Ops::splat('\n');
  std::size_t p = 0;
  // blocks start at p <= last, so that every load stays within the data
  const std::size_t last = size >= reach_ + W ? size - reach_ - W : 0;
  while (size >= reach_ + W && p <= last) {
    const std::size_t stop = std::min(last + 1, p + kRound * W);
    V counts = Ops::zero();  // line ends per byte lane in this round
    unsigned mask = 0;
    for (; p < stop; p += W) {
      V hits = Ops::zero();
#pragma GCC unroll 6
      for (std::size_t k = 0; k < N; ++k) {
        const V x = Ops::load(data + p + first[k]);
        const V y = Ops::load(data + p + second[k]);
        hits = Ops::either(hits, Ops::both(Ops::equal(x, a[k]), Ops::equal(y, b[k])));
      }
      mask = Ops::mask(hits);
      if (mask != 0) break;
      counts = Ops::minus(counts, Ops::equal(Ops::load(data + p), ends));
    }
    lineEnds += Ops::laneSum(counts);
    if (p < stop) {
      // Places of the block at p that may start a marker, checked out of
      // the loop above, which so keeps its vectors in registers.
      for (; mask != 0; mask &= mask - 1) {
        unsigned bit = unsigned(std::countr_zero(mask));
        if (hitAt(data, size, p + bit)) {
          lineEnds += countLineEnds(data + p, bit);
          return p + bit;
        }
      }
      lineEnds += countLineEnds(data + p, W);
      p += W;
    }
  }
  return findTail(data, p, size, lineEnds);
}

template <std::size_t N>
std::size_t MarkerScan::findVector16(const char* data, std::size_t size, long& lineEnds) const {
  return findVector<Ops16, N>(data, size, lineEnds);
}

template <std::size_t N>
KELMAR_AVX2 std::size_t MarkerScan::findVector32(const char* data, std::size_t size, long& lineEnds) const {
  return findVector<Ops32, N>(data, size, lineEnds);
}

#undef KELMAR_AVX2

#endif

MarkerScan::Finder MarkerScan::finderFor([[maybe_unused]] ScanKernel kernel, [[maybe_unused]] std::size_t probes) {
#if KELMAR_X86_VECTORS
  if (probes <= kMaxVectorMarkers) {
    static constexpr Finder k16[] = {nullptr,
                                     &MarkerScan::findVector16<1>,
                                     &MarkerScan::findVector16<2>,
                                     &MarkerScan::findVector16<3>,
                                     &MarkerScan::findVector16<4>,
                                     &MarkerScan::findVector16<5>,
                                     &MarkerScan::findVector16<6>};
    static constexpr Finder k32[] = {nullptr,
                                     &MarkerScan::findVector32<1>,
                                     &MarkerScan::findVector32<2>,
                                     &MarkerScan::findVector32<3>,
                                     &MarkerScan::findVector32<4>,
                                     &MarkerScan::findVector32<5>,
                                     &MarkerScan::findVector32<6>};
    if (kernel == ScanKernel::Vector16) return k16[probes];
    if (kernel == ScanKernel::Vector32) return k32[probes];
  }
#endif
  return &MarkerScan::findPortable;
}

std::size_t MarkerScan::Search::find(const char* data, std::size_t size, long& lineEnds) const {
  return (scan_.*scan_.finder_)(data, size, lineEnds);
}

}  // namespace kelmar
