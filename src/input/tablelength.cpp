// The length of a geometry table that shows its own end: a table of more
// rows than natom is a sign that natom does not fit the files, which the
// read errors that follow do not say.
#include <string>
#include <vector>

#include "input/input.h"
#include "shared/freeread.h"
#include "shared/numbers.h"

namespace kelmar {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Whether the blank-separated tokens of the line are the columns. The
// tokens are found by plain loops: the reader runs this once for every
// table of a long optimisation log.
bool isRow(std::string_view line, std::string_view columns) {
  std::size_t at = 0;
  const std::size_t n = line.size();
  for (char column : columns) {
    while (at < n && isBlank(line[at])) ++at;
    if (at == n) return false;
    if (column == 'i') {  // the digits must end at a blank or the line's end
      int i = 0;
      const std::size_t digits = plainIntegerPrefix(line.substr(at), i);
      if (digits == 0) return false;
      at += digits;
      if (at < n && !isBlank(line[at])) return false;
      continue;
    }
    std::size_t end = at;
    while (end < n && !isBlank(line[end])) ++end;
    double d = 0.0;
    if (column == 'r' && !parseReal(line.substr(at, end - at), d)) return false;
    at = end;
  }
  while (at < n && isBlank(line[at])) ++at;
  return at == n;
}

}  // namespace

void noteLongerTable(InputStream& in, int natom, const TableShape& shape, Console& console) {
  // The rows read here are lines of numbers (and one atom label) that hold
  // none of the readers' markers, so reading them changes nothing that the
  // scan would find; the first other line is stepped back over, so that
  // the scan reads it next.
  int rows = natom;
  std::string_view line;
  while (in.nextLine(line)) {
    if (isRow(line, shape.columns)) {
      ++rows;
      continue;
    }
    const bool longer = rows > natom && shape.isEnd(line);
    const long endLine = in.lineNumber();
    in.stepBack();
    if (longer) {
      writeNote(console, placeOf(in, endLine) + "the geometry table holds " + std::to_string(rows) +
                             " atoms; natom is " + std::to_string(natom));
    }
    return;
  }
}

}  // namespace kelmar
