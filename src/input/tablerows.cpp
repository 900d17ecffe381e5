#include "input/tablerows.h"

#include <string>

#include "shared/freeread.h"
#include "shared/numbers.h"

namespace kelmar {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Whether the token at `at` (not blank) is of the column's kind; moves past
// it. The tokens are cut by plain loops: a long optimisation log has tens of
// thousands of tables.
bool takeToken(std::string_view line, std::size_t& at, char column) {
  const std::size_t n = line.size();
  if (column == 'i') {  // the digits must end at a blank or the line's end
    int i = 0;
    const std::size_t digits = plainIntegerPrefix(line.substr(at), i);
    if (digits == 0) return false;
    at += digits;
    return at == n || isBlank(line[at]);
  }
  std::size_t end = at;
  while (end < n && !isBlank(line[end])) ++end;
  double d = 0.0;
  if (column == 'r' && !parseReal(line.substr(at, end - at), d)) return false;
  at = end;
  return true;
}

}  // namespace

bool isTableRow(std::string_view line, std::string_view columns) {
  std::size_t at = 0;
  const std::size_t n = line.size();
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const char column = columns[k];
    const bool repeats = k + 1 < columns.size() && columns[k + 1] == '+';
    while (at < n && isBlank(line[at])) ++at;
    if (at == n || !takeToken(line, at, column)) return false;
    if (repeats) {
      for (;;) {
        while (at < n && isBlank(line[at])) ++at;
        if (at == n) return true;
        if (!takeToken(line, at, column)) return false;
      }
    }
  }
  while (at < n && isBlank(line[at])) ++at;
  return at == n;
}

namespace {

// The atom number of a row's first token: the digits that end it, as the
// atom number itself (Gaussian: "22") or a row label (Molpro: "HX22")
// holds them; 0 when it ends in none.
int rowAtom(std::string_view first) {
  std::size_t b = first.size();
  while (b > 0 && first[b - 1] >= '0' && first[b - 1] <= '9') --b;
  std::string_view digits = first.substr(b);
  if (digits.empty() || digits.size() > 9) return 0;
  int atom = 0;
  for (char c : digits) atom = atom * 10 + (c - '0');
  return atom;
}

// The line after the rows just read, when it is a row of `columns` for an
// atom past natom; the stream steps back over it.
struct RowPastNatom {
  bool found = false;
  long line = 0;  // where it stands
  int atom = 0;   // the atom it lists
};

RowPastNatom rowPastNatom(InputStream& in, std::string_view columns, int natom) {
  RowPastNatom row;
  std::string_view line;
  if (!in.nextLine(line)) return row;
  if (isTableRow(line, columns)) {
    const std::size_t b = line.find_first_not_of(" \t");
    const std::size_t e = line.find_first_of(" \t", b);
    const int atom = rowAtom(line.substr(b, e - b));  // e - b runs to the line's end when e is npos
    if (atom > natom) row = {true, in.lineNumber(), atom};
  }
  in.stepBack();
  return row;
}

}  // namespace

void noteLongerTable(InputStream& in, int natom, std::string_view columns, bool& noted, Console& console) {
  if (noted) return;
  const RowPastNatom row = rowPastNatom(in, columns, natom);
  if (!row.found) return;
  noted = true;
  writeNote(console, placeOf(in, row.line) + "the geometry table lists atom " + std::to_string(row.atom) +
                         ", but natom is " + std::to_string(natom) + " (noted once per file)");
}

void rejectRowPastNatom(InputStream& in, int natom, std::string_view columns, const Section& block) {
  const RowPastNatom row = rowPastNatom(in, columns, natom);
  if (!row.found) return;
  rejectInput(placeOf(in, row.line) + block.name() + " lists atom " + std::to_string(row.atom) + ", but natom is " +
              std::to_string(natom) + " (natom in the control file must be the number of atoms in the structure "
              "files)");
}

}  // namespace kelmar
