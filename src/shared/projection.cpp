#include "shared/projection.h"

#include <cstdlib>
#include <new>
#include <stdexcept>

namespace kelmar {

void checkIndex(const char* store, int index, int limit) {
  if (index < 1 || index > limit) {
    throw std::logic_error(std::string(store) + " index " + std::to_string(index) +
                           " outside 1.." + std::to_string(limit));
  }
}

ZeroBlock::ZeroBlock(std::size_t count)
    : data_(static_cast<double*>(std::calloc(count, sizeof(double)))) {
  if (!data_) throw std::bad_alloc();
}

void ZeroBlock::Free::operator()(double* p) const { std::free(p); }

std::string blankText(std::size_t length) { return std::string(length, ' '); }

bool contains(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

std::string_view trimmedName(std::string_view text) {
  std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string_view Projection::slabFileName(int s) const {
  // a Polyrate file holds every structure
  if (software.words().names == FileNames::One) return trimmedName(fname);
  switch (s) {
    case 1:
      return trimmedName(fname);
    case 2:
      return trimmedName(fname2);
    default:
      return trimmedName(fname3);
  }
}

long Projection::fnameLine(int s) const {
  checkIndex("file name slab", s, kMaxSlabs);
  return software.words().names == FileNames::One ? fnameLines[0] : fnameLines[s - 1];
}

bool Projection::fnameWasCut(int s) const {
  checkIndex("file name slab", s, kMaxSlabs);
  return software.words().names == FileNames::One ? fnameCut[0] : fnameCut[s - 1];
}

std::string Projection::placeOf(const Origin& o) const {
  std::string name = o.slab == 0 ? std::string("standard input") : std::string(slabFileName(o.slab));
  return name + ", line " + std::to_string(o.line);
}

double& Coor::axis(int c, int pos) {
  checkIndex("coor axis", c, 3);
  return c == 1 ? x(pos) : c == 2 ? y(pos) : z(pos);
}

double Coor::axis(int c, int pos) const {
  checkIndex("coor axis", c, 3);
  return c == 1 ? x(pos) : c == 2 ? y(pos) : z(pos);
}

}  // namespace kelmar
