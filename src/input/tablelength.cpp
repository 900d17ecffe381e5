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

// Whether the blank-separated tokens of the line are the columns.
bool isRow(std::string_view line, std::string_view columns) {
  std::size_t at = 0;
  for (char column : columns) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string_view::npos) return false;
    std::size_t end = line.find_first_of(" \t", at);
    if (end == std::string_view::npos) end = line.size();
    std::string_view token = line.substr(at, end - at);
    at = end;
    int i = 0;
    double d = 0.0;
    if (column == 'i' && plainIntegerPrefix(token, i) != token.size()) return false;
    if (column == 'r' && !parseReal(token, d)) return false;
  }
  return line.find_first_not_of(" \t", at) == std::string_view::npos;
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
    const bool end = shape.isEnd(line);
    const long endLine = in.lineNumber();
    in.stepBack();
    if (end && rows > natom) {
      writeNote(console, placeOf(in, endLine) + "the geometry table holds " + std::to_string(rows) +
                             " atoms; natom is " + std::to_string(natom));
    }
    return;
  }
}

}  // namespace kelmar
