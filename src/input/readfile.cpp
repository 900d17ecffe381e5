// The control file, read from standard input in its fixed order of label and
// value lines, and echoed as it is read.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "input/input.h"
#include "shared/freeread.h"
#include "shared/numbers.h"

namespace kelmar {
namespace {

// Where a value of the control file stands in a well-formed one: read and
// range errors name it, so that a line left out or added above shows at
// once.
std::string wellFormedPlace(const std::string& value, long wellFormedLine, const std::string& after = {}) {
  return value + ", which a well-formed control file gives on line " + std::to_string(wellFormedLine) + after;
}

// The reads of one value of the control file, with the label line before
// it: a read error among them names the value and its well-formed line.
class ValueReads {
 public:
  ValueReads(InputStream& in, const std::string& value, long wellFormedLine, const std::string& after = {})
      : ValueReads(in, wellFormedPlace(value, wellFormedLine, after)) {}
  // `place` as wellFormedPlace gives it
  ValueReads(InputStream& in, std::string place) : text_(std::move(place)), scope_(in, Section::named(text_.c_str())) {}

 private:
  std::string text_;
  SectionScope scope_;
};

// The text of a control word, read after its label lines; a null value or
// a slash leaves `text` as it stood.
std::string readWord(InputStream& in, std::string text, int labelLines, long& line) {
  skipLines(in, labelLines);
  freeRead(in, {ReadItem::text(text, kTextLength).at(line)});
  return text;
}

// The read of the masses drops the rest of its last line. When that rest
// goes on with a number, the line most likely holds more masses than natom,
// or masses typed with decimal commas, which the read takes as two numbers
// each (1,008 is 1 and 8): the masses read are then not those meant.
void noteNumbersAfterMasses(const LineRest& rest, int natom, Console& console) {
  std::string_view text(rest.text);
  const std::size_t b = text.find_first_not_of(" \t,");
  if (b == std::string_view::npos) return;
  const std::size_t e = text.find_first_of(" \t,/", b);
  double number = 0.0;
  if (!parseReal(text.substr(b, e == std::string_view::npos ? e : e - b), number)) return;
  const std::size_t start = text.find_first_not_of(" \t");
  writeNote(console, "standard input, line " + std::to_string(rest.line) + ": the read of the " +
                         std::to_string(natom) + (natom == 1 ? " mass" : " masses") + " (natom " +
                         std::to_string(natom) + ") ends on this line, but the line goes on with " +
                         quoteForMessage(text.substr(start)) +
                         ", which is not read: more masses than natom, or masses typed with decimal commas (1,008 "
                         "is read as two numbers, 1 and 8; write 1.008)");
}

}  // namespace

void readfile(Projection& p, Console& console) {
  InputStream& in = console.in;
  Output& out = console.out;

  out.free({"Kelmar calculations"});
  {
    ValueReads value(in, "software", 3, ", after the title line and its own label line");
    p.software = Software(readWord(in, p.software.text(), 2, p.softwareLine));
  }
  out.free({"software:   ", p.software.text()});
  {
    ValueReads value(in, "reactype", 5);
    p.reactype = Reactype(readWord(in, p.reactype.text(), 1, p.reactypeLine));
  }
  out.free({"reactype:   ", p.reactype.text()});
  {
    ValueReads value(in, "iprod", 7);
    skipLines(in);
    freeRead(in, {ReadItem::integer(p.iprod).at(p.iprodLine)});
  }
  {
    ValueReads value(in, "the label line of the structure files", 8);
    skipLines(in);
  }
  if (p.iprod != 1 && p.iprod != 0) {
    stopRun("iprod error", p.placeOf(Origin{0, p.iprodLine}) + ": iprod is " +
                               std::to_string(p.iprod) +
                               "; it must be 0 to project the reactant modes or 1 to project the product modes (" +
                               wellFormedPlace("iprod", 7) + ")");
  }

  // The structure file names: one for Polyrate, two for the VASP-derived
  // files (always a reactant run), three for a product run, else two. Each
  // choice consumes three records.
  auto readName = [&](int s) {
    std::string& name = s == 1 ? p.fname : s == 2 ? p.fname2 : p.fname3;
    long& line = p.fnameLines[s - 1];
    const long expected = in.lineNumber() + 1;
    {
      ValueReads value(in, "the name of structure file " + std::to_string(s), 8 + s);
      freeRead(in, {ReadItem::text(name, kWholeText).at(line).cutInto(p.fnameCut[s - 1])});
    }
    // The read passes over empty lines: a line left empty for a name that
    // the run reads takes the next line's first word, and every later line
    // shifts by one.
    if (line > expected) {
      std::string empty = line - 1 > expected ? "lines " + std::to_string(expected) + "-" + std::to_string(line - 1) +
                                                    " are empty"
                                              : "line " + std::to_string(expected) + " is empty";
      writeNote(console, "standard input, " + empty + ", so the name of structure file " + std::to_string(s) +
                             " is taken from line " + std::to_string(line) + ": " +
                             quoteForMessage(trimmedName(name), kNameShown) +
                             " (a line that names a file the run reads must not be left empty)");
    }
  };
  // a line of a file name that the run does not read
  auto skipName = [&](int s) {
    ValueReads value(in, "the line of structure file " + std::to_string(s) + ", unused in this run", 8 + s);
    skipLines(in);
  };
  switch (p.software.words().names) {
    case FileNames::One:
      readName(1);
      skipName(2);
      skipName(3);
      break;
    case FileNames::ReactantAndTransitionState:
      readName(1);
      readName(2);
      skipName(3);
      if (p.iprod == 1) {
        writeNote(console, p.placeOf(Origin{0, p.iprodLine}) +
                               ": iprod 1 is taken as 0: a run of VASP-derived mode files projects the reactant "
                               "modes (it reads the reactant and the transition-state file)");
      }
      p.iprod = 0;
      break;
    case FileNames::ByIprod:
      readName(1);
      readName(2);
      if (p.iprod == 1) {
        readName(3);
      } else {
        skipName(3);
      }
      break;
  }
  out.free({"iprod", p.iprod});

  {
    ValueReads value(in, "natom and nreact1", 13);
    skipLines(in);
    freeRead(in, {ReadItem::integer(p.natom), ReadItem::integer(p.nreact1)});
  }
  out.free({"natom,nreact1", p.natom, p.nreact1});
  // The stores hold at most kMaxAtoms atoms; the masses below are read into
  // them, so the counts are checked before anything else is read.
  if (p.natom < 1 || p.natom > kMaxAtoms) {
    rejectInput(placeOf(in, in.lineNumber()) + "natom " + std::to_string(p.natom) +
                " is outside 1.." + std::to_string(kMaxAtoms) + ", the number of atoms the program holds (" +
                wellFormedPlace("natom and nreact1", 13) + ")");
  }
  if (p.nreact1 < 0 || p.nreact1 > p.natom) {
    rejectInput(placeOf(in, in.lineNumber()) + "nreact1 " + std::to_string(p.nreact1) +
                " is outside 0..natom, that is 0.." + std::to_string(p.natom) + " (" +
                wellFormedPlace("natom and nreact1", 13) + ")");
  }

  {
    ValueReads value(in, "linear1, linear2 and linear", 15);
    skipLines(in);
    freeRead(in, {ReadItem::integer(p.linear1), ReadItem::integer(p.linear2), ReadItem::integer(p.linear)});
  }
  out.free({"linear1,linear2,linear", p.linear1, p.linear2, p.linear});

  // Each mass remembers its line, so that a mass the run cannot use is
  // reported where it stands; one that a slash leaves unset gets the line
  // where the read ended.
  LineRest massesRest;
  std::vector<ReadItem> masses;
  masses.reserve(std::size_t(p.natom));
  for (int a = 1; a <= p.natom; ++a) {
    p.massOrigin(a) = Origin{0, 0};
    masses.push_back(ReadItem::real(p.amass(a)).at(p.massOrigin(a).line));
  }
  {
    SectionScope section(in, {"the masses", "atoms", 1, p.natom, 0, p.natom,
                              "a well-formed control file gives them from line 17 on"});
    skipLines(in);
    freeRead(in, masses, massesRest);
  }
  const long massesEnd = in.lineNumber();
  noteNumbersAfterMasses(massesRest, p.natom, console);
  for (int a = 1; a <= p.natom; ++a) {
    if (p.massOrigin(a).line == 0) p.massOrigin(a).line = massesEnd;
  }

  // The masses may take several lines; the lines after them are counted
  // from the last.
  long deltLine = 0;
  const std::string deltPlace = wellFormedPlace("delt", massesEnd + 2, ", the second line after the masses");
  {
    ValueReads value(in, deltPlace);
    skipLines(in);
    freeRead(in, {ReadItem::real(p.delt)});
    deltLine = in.lineNumber();
  }
  {
    ValueReads value(in, "the three numbers of the last line", deltLine + 2, ", the second line after delt");
    skipLines(in);
    double unused[3] = {0.0, 0.0, 0.0};
    freeRead(in, {ReadItem::real(unused[0]), ReadItem::real(unused[1]), ReadItem::real(unused[2])});
  }

  // The translational vectors divide by the step.
  if (p.delt == 0.0) {
    rejectInput(placeOf(in, deltLine) +
                "delt is 0; the displacement step of the translational vectors must not be zero (" + deltPlace +
                ")");
  }

  out.free({"read kelmarinput.txt done"});
  out.free({});
}

}  // namespace kelmar
