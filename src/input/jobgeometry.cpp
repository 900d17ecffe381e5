#include "input/jobgeometry.h"

#include <string>

#include "shared/elements.h"
#include "shared/freeread.h"

namespace kelmar {

JobGeometry::JobGeometry(int natom) : natom_(natom), rows_(std::size_t(natom > 0 ? natom : 0)) {}

void JobGeometry::tableStart(long line) {
  if (!held_) firstPassedLine_ = line;
  held_ = true;
  heldLine_ = line;
}

void JobGeometry::commit(Projection& p, Coor& coor, int s) {
  for (int a = 1; a <= natom_; ++a) {
    const Row& t = rows_[std::size_t(a - 1)];
    const int pos = natom_ * (s - 1) + a;
    coor.x(pos) = t.x;
    coor.y(pos) = t.y;
    coor.z(pos) = t.z;
    p.element(a, s) = t.element;
  }
  p.geometryFound(s) = true;
  usedLine_ = heldLine_;
  held_ = false;
}

void JobGeometry::modesStart(Projection& p, Coor& coor, int s) {
  if (held_) commit(p, coor, s);
  modesMet_ = true;
  p.modesFound(s) = true;
}

void JobGeometry::fileEnd(Projection& p, Coor& coor, int s, const InputStream& in, Console& console) {
  if (!held_) return;
  if (!modesMet_) {
    commit(p, coor, s);
    return;
  }
  std::string note = placeOf(in, firstPassedLine_) +
                     "a geometry table after the file's last frequency section is not used: it belongs to a "
                     "later job, and the geometry must be that of the modes";
  if (usedLine_ > 0) note += " (the structure's geometry is the table at line " + std::to_string(usedLine_) + ")";
  writeNote(console, note);
}

namespace {

std::string elementName(int z) {
  const std::string_view symbol = elementSymbol(z);
  std::string name = symbol.empty() ? "element" : std::string(symbol);
  return name + " (atomic number " + std::to_string(z) + ")";
}

}  // namespace

void checkSameAtoms(const Projection& p, int s) {
  for (int a = 1; a <= p.natom; ++a) {
    const AtomElement& first = p.element(a, 1);
    const AtomElement& later = p.element(a, s);
    if (first.z == 0 || later.z == 0 || first.z == later.z) continue;
    rejectInput(p.placeOf(Origin{s, later.line}) + ": atom " + std::to_string(a) + " is " + elementName(later.z) +
                ", but in " + p.placeOf(Origin{1, first.line}) + ", it is " + elementName(first.z) +
                ": the structure files must list the same atoms in the same order");
  }
}

}  // namespace kelmar
