#include "shared/plainline.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "shared/numbers.h"

namespace kelmar {
namespace {

// More items than this go to the general read.
constexpr std::size_t kMaxItems = 32;

// The bytes that give a token a meaning of its own in free format (a
// separator, the end of the read, a quoted text, a repeat), which the plain
// split at blanks would miss.
struct Specials {
  bool is[256] = {};
  constexpr Specials() {
    for (char c : {'\t', ',', '/', '\'', '"', '*'}) is[static_cast<unsigned char>(c)] = true;
  }
};
constexpr Specials kSpecials;

// The first byte at or after p that is not a blank, or e.
const char* skipBlanks(const char* p, const char* e) {
  if constexpr (std::endian::native == std::endian::little) {
    // eight bytes at a time: the first byte that differs from a blank is
    // the lowest one of the word that is not zero after the xor
    for (; e - p >= 8; p += 8) {
      std::uint64_t x = 0;
      std::memcpy(&x, p, 8);
      x ^= 0x2020202020202020ULL;
      if (x != 0) return p + std::countr_zero(x) / 8;
    }
  }
  while (p < e && *p == ' ') ++p;
  return p;
}

}  // namespace

bool readPlainLine(InputStream& in, std::span<const ReadItem> items) {
  if (items.empty() || items.size() > kMaxItems) return false;
  std::string_view line;
  if (!in.nextLine(line)) return false;  // the general read reports the end of input
  if (in.lastLineCut()) {  // and refuses a line that the stream cut
    in.stepBack();
    return false;
  }
  const char* p = line.data();
  const char* const e = p + line.size();
  // Each value is stored once its token is known to end at a blank or at
  // the end of the line. When a later token sends the line to the general
  // read, that read stores the same values for these tokens again, so the
  // items end as the general read alone leaves them.
  for (const ReadItem& item : items) {
    p = skipBlanks(p, e);
    std::string_view rest(p, std::size_t(e - p));
    std::size_t n = 0;
    int i = 0;
    double d = 0.0;
    switch (item.kind) {
      case ReadItem::Kind::Text:
        // a word that is dropped: any bytes up to the next blank
        if (item.dest == nullptr) {
          while (n < rest.size() && rest[n] != ' ' && !kSpecials.is[static_cast<unsigned char>(rest[n])]) ++n;
        }
        break;
      case ReadItem::Kind::Integer:
        n = plainIntegerPrefix(rest, i);
        break;
      case ReadItem::Kind::Real:
        n = plainRealPrefix(rest, d);
        break;
    }
    if (n == 0 || (n != rest.size() && rest[n] != ' ')) {
      in.stepBack();
      return false;
    }
    if (item.dest != nullptr) {
      if (item.kind == ReadItem::Kind::Integer) *static_cast<int*>(item.dest) = i;
      if (item.kind == ReadItem::Kind::Real) *static_cast<double*>(item.dest) = d;
    }
    if (item.line != nullptr) *item.line = in.lineNumber();
    p += n;
  }
  return true;
}

}  // namespace kelmar
