#include "shared/plainline.h"

#include <cstring>
#include <string_view>

#include "shared/numbers.h"

namespace kelmar {
namespace {

// More items than this go to the general read.
constexpr std::size_t kMaxItems = 32;

// The bytes of a line: a blank; a byte that gives a token a meaning of its
// own in free format (a separator, the end of the read, a quoted text, a
// repeat), which the plain split at blanks would miss; any other byte.
enum : unsigned char { kOther, kBlank, kSpecial };

struct ByteClasses {
  unsigned char of[256] = {};
  constexpr ByteClasses() {
    of[static_cast<unsigned char>(' ')] = kBlank;
    for (char c : {'\t', ',', '/', '\'', '"', '*'}) of[static_cast<unsigned char>(c)] = kSpecial;
  }
};
constexpr ByteClasses kClasses;

unsigned char classOf(char c) { return kClasses.of[static_cast<unsigned char>(c)]; }

}  // namespace

bool readPlainLine(InputStream& in, std::span<const ReadItem> items) {
  if (items.empty() || items.size() > kMaxItems) return false;
  for (const ReadItem& item : items) {
    if (item.kind == ReadItem::Kind::Text && item.dest != nullptr) return false;
  }
  std::string_view line;
  if (!in.nextLine(line)) return false;  // the general read reports the end of input
  union Value {
    int i;
    double d;
  };
  Value values[kMaxItems];
  const char* p = line.data();
  const char* end = p + line.size();
  bool ok = true;
  for (std::size_t k = 0; k < items.size() && ok; ++k) {
    while (p < end && *p == ' ') ++p;
    const char* start = p;
    unsigned char c = kOther;
    while (p < end && (c = classOf(*p)) == kOther) ++p;
    if (c == kSpecial || p == start) {
      ok = false;  // a special byte, or the line holds fewer tokens than items
      break;
    }
    std::string_view token(start, std::size_t(p - start));
    switch (items[k].kind) {
      case ReadItem::Kind::Text:
        break;
      case ReadItem::Kind::Integer:
        ok = parseInteger(token, values[k].i);
        break;
      case ReadItem::Kind::Real:
        ok = parseReal(token, values[k].d);
        break;
    }
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
