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
  union Value {
    int i;
    double d;
  };
  Value values[kMaxItems];
  const char* p = line.data();
  const char* const e = p + line.size();
  bool ok = true;
  for (std::size_t k = 0; k < items.size() && ok; ++k) {
    p = skipBlanks(p, e);
    std::string_view rest(p, std::size_t(e - p));
    std::size_t n = 0;
    switch (items[k].kind) {
      case ReadItem::Kind::Text:
        // a word that is dropped: any bytes up to the next blank
        if (items[k].dest == nullptr) {
          while (n < rest.size() && rest[n] != ' ' && !kSpecials.is[static_cast<unsigned char>(rest[n])]) ++n;
        }
        break;
      case ReadItem::Kind::Integer:
        n = plainIntegerPrefix(rest, values[k].i);
        break;
      case ReadItem::Kind::Real:
        n = plainRealPrefix(rest, values[k].d);
        break;
    }
    // the token must end at a blank or at the end of the line
    ok = n > 0 && (n == rest.size() || rest[n] == ' ');
    p += n;
  }
  if (!ok) {
    in.stepBack();
    return false;
  }
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (items[k].dest == nullptr) continue;
    if (items[k].kind == ReadItem::Kind::Integer) *static_cast<int*>(items[k].dest) = values[k].i;
    if (items[k].kind == ReadItem::Kind::Real) *static_cast<double*>(items[k].dest) = values[k].d;
  }
  return true;
}

}  // namespace kelmar
