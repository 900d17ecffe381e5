#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "input/input.h"
#include "testconsole.h"

namespace kelmar {
namespace {

// The reader run on in-memory files, one per slab.
struct MolproRun : TestState {
  explicit MolproRun(int natom) {
    p->natom = natom;
    p->nmode = 3 * natom;
    p->nvibm = 3 * natom - 6;
  }
  void read(const std::vector<std::string>& texts) {
    std::vector<std::unique_ptr<InputStream>> streams;
    std::vector<InputStream*> files;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      streams.push_back(std::make_unique<InputStream>(texts[i], "file" + std::to_string(i + 1) + ".out"));
      files.push_back(streams.back().get());
    }
    inputmolpro(*p, *coor, files, fastestScanKernel(), tc.console);
  }
  // The message of the input error that the read ends with (status 2).
  std::string rejection(const std::vector<std::string>& texts) {
    return runEndMessage([&] { read(texts); });
  }
  TestConsole tc;
};

std::string fixed(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

// Values of a made-up block: the wavenumber of column j and component r of
// it, different in every block (`tag`) so that misplaced values show.
std::string wavenumber(int tag, int j) { return fixed("%.2f", tag * 1000 + j * 10 + 0.25); }
std::string component(int tag, int j, int r) { return fixed("%.5f", tag + j * 0.01 + r * 0.0001); }

const char* const kAxes[] = {"X", "Y", "Z"};

// The groups of a mode block as Molpro prints them: five columns each and
// a last group of the rest.
std::string modeGroups(int count, int natom, int tag) {
  std::ostringstream s;
  for (int first = 1; first <= count; first += 5) {
    int w = std::min(5, count - first + 1);
    s << "\n                         ";
    for (int j = first; j < first + w; ++j) s << "         " << j << " A";
    s << "\n Wavenumbers [cm-1]      ";
    for (int j = first; j < first + w; ++j) s << "    " << wavenumber(tag, j);
    s << "\n Intensities [km/mol]    ";
    for (int j = 0; j < w; ++j) s << "        0.00";
    s << "\n Intensities [relative]  ";
    for (int j = 0; j < w; ++j) s << "        0.00";
    s << "\n";
    for (int r = 1; r <= 3 * natom; ++r) {
      s << "           H" << kAxes[(r - 1) % 3] << (r - 1) / 3 + 1 << "       ";
      for (int j = first; j < first + w; ++j) s << "   " << component(tag, j, r);
      s << "\n";
    }
  }
  s << "\n\n";
  return s.str();
}

std::string modeBlock(const std::string& marker, int count, int natom, int tag) {
  return " " + marker + "\n" + modeGroups(count, natom, tag);
}

// A count list of the given mode numbers, then a blank line.
std::string countList(const std::string& title, const std::vector<int>& numbers) {
  std::ostringstream s;
  s << title << "\n        Nr             [1/cm] \n";
  for (int k : numbers) s << "        " << k << "             " << 100 * k << ".50\n";
  s << "\n";
  return s.str();
}

std::vector<int> upTo(int n) {
  std::vector<int> v;
  for (int k = 1; k <= n; ++k) v.push_back(k);
  return v;
}

const char kImagList[] = " Imaginary Vibration  Wavenumber";
const char kVibList[] = "     Vibration        Wavenumber";
const char kLowList[] = "   Low Vibration      Wavenumber";
const char kRealBlock[] = "Normal Modes";
const char kImagBlock[] = "Normal Modes of imaginary frequencies";
const char kLowBlock[] = "Normal Modes of low/zero frequencies";

// The geometry section, atom a at (a, 10a, 100a) + `shift`.
std::string geometry(int natom, double shift) {
  std::ostringstream s;
  s << " FREQUENCIES * CALCULATION OF NORMAL MODES FOR UCCSD(T)\n\n\n Atomic Coordinates\n\n"
       "  Nr  Atom  Charge       X              Y              Z\n\n";
  for (int a = 1; a <= natom; ++a) {
    s << "   " << a << "   H     1.00   " << fixed("%.9f", a + shift) << "   " << fixed("%.9f", 10 * a + shift) << "   "
      << fixed("%.9f", 100 * a + shift) << "\n";
  }
  s << "\n Frequencies dumped to record   5400.2\n\n";
  return s.str();
}

std::string echo(int k, double x) { return formatFreeInteger(k) + formatFreeReal(x) + "\n"; }

// The transition-state file of a gas-phase run with natom 4: one imaginary,
// five real and six low/zero modes, every section in the order of the
// marker tests.
std::string workedExample() {
  return geometry(4, 0.5) + countList(kImagList, {1}) + countList(kVibList, upTo(5)) + countList(kLowList, upTo(6)) +
         modeBlock(kRealBlock, 5, 4, 1) + modeBlock(kImagBlock, 1, 4, 2) + modeBlock(kLowBlock, 6, 4, 3);
}

TEST(InputMolpro, WorkedExampleEchoesThirteenZerosAndStoresTheModesInOrder) {
  MolproRun run(4);
  run.read({"", workedExample()});

  std::string expected = echo(1, 0.0);
  for (int k = 1; k <= 5; ++k) expected += echo(k, 0.0);
  for (int k = 1; k <= 6; ++k) expected += echo(k, 0.0);
  expected += echo(6, 0.0);
  EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 13);
  EXPECT_EQ(expected.substr(0, 37), "           1  0.000000000000000E+000\n");
  EXPECT_EQ(run.tc.out(), expected);

  const Projection& p = *run.p;
  EXPECT_EQ(p.itrans, 2);
  for (int a = 1; a <= 4; ++a) {
    EXPECT_EQ(run.coor->x(4 + a), a + 0.5);
    EXPECT_EQ(run.coor->y(4 + a), 10 * a + 0.5);
    EXPECT_EQ(run.coor->z(4 + a), 100 * a + 0.5);
    EXPECT_EQ(run.coor->x(a), 0.0) << "slab 1 stays empty";
  }
  // real modes 1..5 as printed, the imaginary one at 6 and the low/zero
  // ones at 7..12 negated
  struct Stored {
    int m, tag, j;
    double sign;
  };
  std::vector<Stored> stored;
  for (int j = 1; j <= 5; ++j) stored.push_back({j, 1, j, 1.0});
  stored.push_back({6, 2, 1, -1.0});
  for (int j = 1; j <= 6; ++j) stored.push_back({6 + j, 3, j, -1.0});
  for (const Stored& s : stored) {
    EXPECT_EQ(p.freq(s.m, 2), s.sign * std::stod(wavenumber(s.tag, s.j))) << "mode " << s.m;
    for (int r = 1; r <= 12; ++r) {
      EXPECT_EQ(p.eigv(s.m, r, 2), std::stod(component(s.tag, s.j, r))) << "mode " << s.m << " row " << r;
    }
  }
  EXPECT_EQ(p.freq(13, 2), 0.0);
  EXPECT_EQ(p.eigv(13, 1, 2), 0.0);
  // each mode records the block it came from; the empty file's none
  for (int m = 1; m <= 13; ++m) {
    const ModeSection block = m <= 5    ? ModeSection::Real
                              : m == 6  ? ModeSection::Imaginary
                              : m <= 12 ? ModeSection::LowZero
                                        : ModeSection::None;
    EXPECT_EQ(p.modeSection(m, 2), block) << "mode " << m;
    EXPECT_EQ(p.modeSection(m, 1), ModeSection::None) << "mode " << m;
  }
}

// The made-up lines of a geometry, a count list ending at a line of words
// and a remainder group of one imaginary mode, for natom 2.
TEST(InputMolpro, GeometryTableLongerThanNatomGetsANoteOncePerFile) {
  const struct {
    int natom, rows;
    const char* err;
  } cases[] = {
      {4, 4, ""},
      {3, 4, "kelmar: note: file1.out, line 11: the geometry table lists atom 4, but natom is 3 (noted once per "
             "file)\n"},
      {2, 4, "kelmar: note: file1.out, line 10: the geometry table lists atom 3, but natom is 2 (noted once per "
             "file)\n"},
  };
  for (const auto& c : cases) {
    MolproRun run(c.natom);
    // the table twice: one note
    run.read({geometry(c.rows, 0.5) + geometry(c.rows, 0.5) + countList(kImagList, {1}) + " Summary\n", ""});
    EXPECT_EQ(run.tc.err(), c.err) << c.natom;
    EXPECT_EQ(run.p->freq(1, 1), 0.0) << c.natom;
    EXPECT_EQ(run.tc.out(), echo(1, 0.0)) << c.natom;  // the list after the table is read
  }
}

// One line may open the geometry and a mode block: the block reads on from
// the line after the natom rows, the note having read nothing.
TEST(InputMolpro, TableNoteReadsNothingBeforeASectionOfTheSameLine) {
  MolproRun run(2);
  // the block's two skipped lines are the third row and the empty line
  // after the table; its wavenumber line is the one after them
  const std::string file = countList(kVibList, {1}) +
                           " Normal Modes * CALCULATION OF NORMAL MODES\n1\n2\n3\n4\n5\n6\n"
                           "   1   H     1.00   1.5   10.5   100.5\n"
                           "   2   H     1.00   2.5   20.5   200.5\n"
                           "   3   H     1.00   3.5   30.5   300.5\n"
                           "\n"
                           " Wave numbers 95.2\nany\nany\nr1 0.1\nr2 0.2\nr3 0.3\nr4 0.4\nr5 0.5\nr6 0.6\n";
  run.read({file, ""});
  EXPECT_EQ(run.tc.err(), "kelmar: note: file1.out, line 14: the geometry table lists atom 3, but natom is 2 (noted "
                          "once per file)\n");
  EXPECT_EQ(run.coor->z(2), 200.5);
  EXPECT_EQ(run.p->freq(1, 1), 95.2);
  EXPECT_EQ(run.p->eigv(1, 6, 1), 0.6);
}

// A mode group that goes on with the rows of an atom past natom ends the
// run; its modes would be projected cut to natom atoms.
TEST(InputMolpro, ModeGroupWithARowPastNatomEndsTheRun) {
  const struct {
    int natom;
    std::string after;  // replaces the empty line after the group's rows
    const char* message;
  } cases[] = {
      {2, "           HX3          0.1   0.2\n",
       "kelmar: file1.out, line 18: the mode group of modes 1-2 lists atom 3, but natom is 2 (natom in the control "
       "file must be the number of atoms in the structure files)"},
      {2, "           HX12         0.1   0.2\n",
       "kelmar: file1.out, line 18: the mode group of modes 1-2 lists atom 12, but natom is 2 (natom in the "
       "control file must be the number of atoms in the structure files)"},
      {2, "           HX2          0.1   0.2\n", "the run went on"},  // no atom past natom
      {2, "           HX           0.1   0.2\n", "the run went on"},  // a label without an atom number
      {2, " Intensities [relative]        0.00        0.00\n", "the run went on"},
      {2, "\n", "the run went on"},
  };
  for (const auto& c : cases) {
    MolproRun run(c.natom);
    std::string file = countList(kVibList, {1, 2}) + modeBlock(kRealBlock, 2, c.natom, 1);
    file.replace(file.rfind("\n\n\n") + 1, 1, c.after);
    EXPECT_EQ(runEndMessage([&] { run.read({file, ""}); }), c.message) << c.after;
  }
}

TEST(InputMolpro, ListEndsAtAWordAndThatLineIsScannedNext) {
  MolproRun run(2);
  const std::string file =
      "a line that holds CALCULATION OF NORMAL MODES\n1\n2\n3\n4\n5\n6\n"
      "1 H 1.00 0.0 0.0 0.0\n"
      "2 H 1.00 0.0 0.0 1.4\n"
      "a line that holds Imaginary Vibration\n"
      "any line\n"
      "1 95.2\n"
      "\n"
      "Summary of the modes\n"
      "a line that holds Normal Modes of imaginary frequencies\n"
      "any\nany\n"
      "Wave numbers 95.2\n"
      "any\nany\n"
      "r1 0.71\nr2 0.72\nr3 0.73\nr4 0.74\nr5 0.75\nr6 0.76\n"
      "Imaginary Vibration on the next line scanned\n"
      "skipped\n"
      "Normal Modes of imaginary frequencies: the line stepped back to opens its section\n"
      "any\nany\nWave numbers 12.5\nany\nany\n"
      "r1 0.1\nr2 0.2\nr3 0.3\nr4 0.4\nr5 0.5\nr6 0.6\n";
  run.read({file, ""});
  // one echo for the first list; the second list has no integer line
  EXPECT_EQ(run.tc.out(), echo(1, 0.0));
  EXPECT_EQ(run.coor->z(2), 1.4);
  // nvib is 0, so the imaginary mode is mode 1; the second block replaces it
  EXPECT_EQ(run.p->freq(1, 1), -12.5);
  EXPECT_EQ(run.p->eigv(1, 6, 1), 0.6);
}

TEST(InputMolpro, NormalModesLineWithLowOrImaginaryOpensNoRealBlock) {
  for (const char* line : {" Normal Modes below 100 cm-1", " Normal Modes, imaginary part", " Normal Modes"}) {
    MolproRun run(2);
    run.read({countList(kVibList, {1}) + line + "\n" + modeGroups(1, 2, 1), ""});
    bool opens = std::string(line) == " Normal Modes";
    EXPECT_EQ(run.p->freq(1, 1), opens ? std::stod(wavenumber(1, 1)) : 0.0) << line;
  }
}

TEST(InputMolpro, CountIsTheLastNumberOfItsList) {
  // a list numbered 2, 4, 6 gives 6 real modes, whose block takes a full
  // group and a group of one
  MolproRun run(4);
  run.read({countList(kVibList, {2, 4, 6}) + modeBlock(kRealBlock, 6, 4, 1), ""});
  EXPECT_EQ(run.tc.out(), echo(2, 0.0) + echo(4, 0.0) + echo(6, 0.0) + echo(6, 0.0));
  EXPECT_EQ(run.p->freq(6, 1), std::stod(wavenumber(1, 6)));
  EXPECT_EQ(run.p->eigv(6, 12, 1), std::stod(component(1, 6, 12)));
}

TEST(InputMolpro, ListLongerThanNmodeStopsAtNmodeAndStepsBack) {
  // natom 1: nmode 3. The list takes lines 1 to 3, steps back, and its line
  // 3 and the rest are scanned as ordinary lines; the fourth list line holds
  // a marker, which opens its section.
  MolproRun run(1);
  const std::string file = std::string(kVibList) +
                           "\n Nr\n 1 10.0\n 2 20.0\n 3 30.0\n 4 Imaginary Vibration\n skipped\n 1 5.0\n\n" +
                           modeBlock(kRealBlock, 3, 1, 1);
  run.read({file, ""});
  EXPECT_EQ(run.tc.out(), echo(1, 0.0) + echo(2, 0.0) + echo(3, 0.0) + echo(1, 0.0));
  // nvib 3: the real block holds modes 1..3 as one group of three
  EXPECT_EQ(run.p->freq(3, 1), std::stod(wavenumber(1, 3)));
  EXPECT_EQ(run.p->eigv(3, 3, 1), std::stod(component(1, 3, 3)));
}

TEST(InputMolpro, RealCountMultipleOfFiveHasNoRemainderGroup) {
  // ten real modes: echoes 6 and 11 and no third group, so the low/zero
  // block right after is found, holding modes 11 and 12
  MolproRun run(4);
  run.read({countList(kVibList, upTo(10)) + modeBlock(kRealBlock, 10, 4, 1) + modeBlock(kLowBlock, 2, 4, 3), ""});
  std::string expected;
  for (int k = 1; k <= 10; ++k) expected += echo(k, 0.0);
  expected += echo(6, 0.0) + echo(11, 0.0);
  EXPECT_EQ(run.tc.out(), expected);
  EXPECT_EQ(run.p->freq(10, 1), std::stod(wavenumber(1, 10)));
  EXPECT_EQ(run.p->freq(11, 1), -std::stod(wavenumber(3, 1)));
  EXPECT_EQ(run.p->eigv(12, 12, 1), std::stod(component(3, 2, 12)));
}

TEST(InputMolpro, EchoShowsTheWavenumberHeldAtThatMoment) {
  // A second file whose blocks come before its lists: the blocks use the
  // counts of the first file, and the list echoes show what they stored.
  MolproRun run(4);
  const std::string first = countList(kImagList, {1}) + countList(kVibList, upTo(5)) + " end\n";
  const std::string second = modeBlock(kRealBlock, 5, 4, 1) + modeBlock(kImagBlock, 1, 4, 2) +
                             countList(kImagList, {1}) + countList(kVibList, upTo(5)) + " end\n";
  run.read({first, second});
  std::string expected;
  for (int file = 1; file <= 2; ++file) {
    if (file == 2) expected += echo(6, 0.0);  // after the real block's full group, before the imaginary block
    expected += echo(1, file == 2 ? std::stod(wavenumber(1, 1)) : 0.0);
    for (int k = 1; k <= 5; ++k) {
      double held = file == 1 ? 0.0 : k < 5 ? std::stod(wavenumber(1, k + 1)) : -std::stod(wavenumber(2, 1));
      expected += echo(k, held);
    }
  }
  EXPECT_EQ(run.tc.out(), expected);
  EXPECT_EQ(run.p->freq(6, 2), -std::stod(wavenumber(2, 1)));
}

TEST(InputMolpro, ImaginaryBlockEchoesTheIndexAfterEachFullGroup) {
  // seven imaginary modes after two real ones: echo 2+5+1 = 8 once the
  // first group's wavenumbers are stored, while mode 8 still holds 0; the
  // block read again echoes mode 8 as the first pass left it, negated
  MolproRun run(4);
  run.read({countList(kImagList, upTo(7)) + countList(kVibList, {1, 2}) + modeBlock(kImagBlock, 7, 4, 2) +
                modeBlock(kImagBlock, 7, 4, 2),
            ""});
  std::string expected;
  for (int k = 1; k <= 7; ++k) expected += echo(k, 0.0);
  expected += echo(1, 0.0) + echo(2, 0.0) + echo(8, 0.0) + echo(8, -std::stod(wavenumber(2, 6)));
  EXPECT_EQ(run.tc.out(), expected);
  for (int j = 1; j <= 7; ++j) EXPECT_EQ(run.p->freq(2 + j, 1), -std::stod(wavenumber(2, j)));
}

// The element of a geometry row: its label's letters as a symbol, else a
// whole-number charge (which an effective core potential lowers, so the
// symbol goes first), else none.
TEST(InputMolpro, GeometryRowsGiveTheirElements) {
  MolproRun run(5);
  run.read({" FREQUENCIES * CALCULATION OF NORMAL MODES FOR UCCSD(T)\n\n\n Atomic Coordinates\n\n"
            "  Nr  Atom  Charge       X              Y              Z\n\n"
            "   1   C1    6.00   0.0 0.0 0.0\n"
            "   2   CL   17.00   0.0 0.0 1.0\n"
            "   3   I    25.00   0.0 0.0 2.0\n"
            "   4   Q     8.00   0.0 0.0 3.0\n"
            "   5   Q     8.50   0.0 0.0 4.0\n\n",
            ""});
  const int expected[] = {6, 17, 53, 8, 0};
  for (int a = 1; a <= 5; ++a) {
    EXPECT_EQ(run.p->element(a, 1).z, expected[a - 1]) << a;
    EXPECT_EQ(run.p->element(a, 1).line, 7 + a) << a;
  }
}

TEST(InputMolpro, NegativeLowZeroCountConsumesTheLinesOfOneGroup) {
  // natom 1, nmode 3, five real modes: the low/zero count is -2, so its
  // block stores nothing but reads one group's lines (2 + 1 + 2 + 3); the
  // geometry marker after them is then found, and passed over as a later
  // job's, since it follows the file's modes.
  MolproRun run(1);
  const std::string file = countList(kVibList, {5}) + modeBlock(kRealBlock, 5, 1, 1) + " " + kLowBlock +
                           "\n\n 1\n Wavenumbers [cm-1] 0.00\n Intensities\n Intensities\n HX1 0.1\n HY1 0.2\n"
                           " HZ1 0.3\n" +
                           geometry(1, 0.25);
  run.read({file, ""});
  EXPECT_EQ(run.p->freq(5, 1), std::stod(wavenumber(1, 5)));
  EXPECT_EQ(run.p->eigv(1, 1, 1), std::stod(component(1, 1, 1)));
  EXPECT_EQ(run.coor->z(1), 0.0);
  const long geometryLine = long(splitLines(file).size()) - 10;  // the section is the last 11 lines
  EXPECT_EQ(run.tc.err(), "kelmar: note: file1.out, line " + std::to_string(geometryLine) +
                              ": a geometry table after the file's last frequency section is not used: it belongs "
                              "to a later job, and the geometry must be that of the modes\n");
}

TEST(InputMolpro, ZeroWavenumbersOfNegatedBlocksAreNegativeZeros) {
  MolproRun run(2);
  const std::string file = countList(kImagList, {1}) + countList(kVibList, {1}) + " " + kImagBlock +
                           "\n\n 1\n Wavenumbers [cm-1] 0.00\n a\n b\n" + "x 1\ny 0\nz 0\nx 0\ny 0\nz 0\n" +
                           modeBlock(kLowBlock, 4, 2, 3);
  run.read({file, ""});
  EXPECT_EQ(run.p->freq(2, 1), 0.0);
  EXPECT_TRUE(std::signbit(run.p->freq(2, 1)));
  EXPECT_EQ(run.p->freq(3, 1), -std::stod(wavenumber(3, 1)));
}

TEST(InputMolpro, ThreeFilesAndCountsCarriedOver) {
  // iprod 1: three files, the second empty; the third has no lists and
  // works with the counts of the first
  MolproRun run(2);
  const std::string first = countList(kImagList, {1}) + countList(kVibList, {1, 2}) + geometry(2, 0.0);
  const std::string third = geometry(2, 0.75) + modeBlock(kRealBlock, 2, 2, 1) + modeBlock(kImagBlock, 1, 2, 2) +
                            modeBlock(kLowBlock, 3, 2, 3);
  run.read({first, "", third});
  EXPECT_EQ(run.p->itrans, 3);
  EXPECT_EQ(run.coor->x(5), 1.75);
  EXPECT_EQ(run.coor->x(3), 0.0);
  EXPECT_EQ(run.p->freq(2, 3), std::stod(wavenumber(1, 2)));
  EXPECT_EQ(run.p->freq(3, 3), -std::stod(wavenumber(2, 1)));
  EXPECT_EQ(run.p->freq(6, 3), -std::stod(wavenumber(3, 3)));
}

TEST(InputMolpro, IndicesOutsideTheSlabAreRejectedBeforeUse) {
  const struct {
    const char* what;
    std::string file;
    const char* message;
  } cases[] = {
      {"list entry 0", countList(kImagList, {0}),
       "kelmar: file1.out, line 3: the \"Imaginary Vibration\" section refers to mode 0; a structure holds modes "
       "1..1000"},
      {"list echo past the slab", countList(kImagList, {1}) + countList(kLowList, {1000}),
       "kelmar: file1.out, line 7: the \"Low Vibration\" section refers to mode 1001; a structure holds modes "
       "1..1000"},
      {"imaginary modes past the slab", countList(kVibList, {1000}) + countList(kImagList, {1}) + " " + kImagBlock,
       "kelmar: file1.out, line 9: the \"Normal Modes of imaginary frequencies\" section refers to mode 1001; a "
       "structure holds modes 1..1000"},
      {"echo past the last full group", countList(kVibList, {1000}) + " " + kRealBlock,
       "kelmar: file1.out, line 5: the \"Normal Modes\" section refers to mode 1001; a structure holds modes "
       "1..1000"},
      {"negative real count", countList(kImagList, {4}) + countList(kVibList, {-3}) + " " + kImagBlock,
       "kelmar: file1.out, line 9: the \"Normal Modes of imaginary frequencies\" section refers to mode -2; a "
       "structure holds modes 1..1000"},
      {"list up to the end of the file", countList(kVibList, {1, 2}) + "\n  \n",
       "kelmar: file1.out, line 8: end of input, expected an integer"},
  };
  for (const auto& c : cases) {
    MolproRun run(2);
    EXPECT_EQ(run.rejection({c.file, ""}), c.message) << c.what;
  }
}

TEST(InputMolpro, RealTransitionStateFile) {
  // CH3O <-> CH2OH: 1 imaginary, 8 real and 6 low/zero modes, read as the
  // transition state of a gas-phase run after an empty reactant file
  MolproRun run(5);
  run.read({"", dataFile("molpro/ch3o_h_shift_ts/ts.out")});
  std::string expected = echo(1, 0.0);
  for (int k = 1; k <= 6; ++k) expected += echo(k, 0.0);
  for (int k = 1; k <= 8; ++k) expected += echo(k, 0.0);
  expected += echo(6, 0.0);
  EXPECT_EQ(run.tc.out(), expected);

  const Projection& p = *run.p;
  const Coor& c = *run.coor;
  //    1   O     8.00   -1.415116287    0.000037624   -0.178475524
  //    5   H     1.00   -0.338163618   -0.001284069    1.851696634
  EXPECT_EQ(c.x(6), -1.415116287);
  EXPECT_EQ(c.y(6), 0.000037624);
  EXPECT_EQ(c.z(6), -0.178475524);
  EXPECT_EQ(c.x(10), -0.338163618);
  EXPECT_EQ(c.z(10), 1.851696634);
  const double real[] = {780.26, 982.12, 1134.14, 1140.78, 1480.76, 2433.96, 3068.56, 3182.75};
  for (int m = 1; m <= 8; ++m) EXPECT_EQ(p.freq(m, 2), real[m - 1]) << m;
  EXPECT_EQ(p.freq(9, 2), -1997.98);
  for (int m = 10; m <= 15; ++m) {
    EXPECT_EQ(p.freq(m, 2), 0.0);
    EXPECT_TRUE(std::signbit(p.freq(m, 2))) << m;
  }
  EXPECT_EQ(p.eigv(1, 1, 2), -0.00044);    // OX1 of mode 1
  EXPECT_EQ(p.eigv(8, 15, 2), -0.00002);   // HZ5 of mode 8
  EXPECT_EQ(p.eigv(9, 13, 2), 0.89651);    // HX5 of the imaginary mode
  EXPECT_EQ(p.eigv(15, 15, 2), -0.00464);  // HZ5 of the last low/zero mode
  EXPECT_EQ(p.eigv(16, 1, 2), 0.0);
  EXPECT_EQ(p.itrans, 2);
}

TEST(InputMolpro, RealMinimumFiles) {
  // Minima without an "Imaginary Vibration" list: with nim 0 the low/zero
  // modes follow the real ones and end at nmode.
  const struct {
    const char* path;
    int natom;
    int nvib;
    double lastReal;
    double firstX, lastZ;  // of atoms 1 and natom
  } cases[] = {
      {"molpro/ch2o/ch2o.out", 4, 6, 3000.10, 2.023400362, 1.833734201},
      {"molpro/dvb/dvb_ir.out", 20, 54, 3547.49, 2.676555206, 0.0},
  };
  for (const auto& t : cases) {
    MolproRun run(t.natom);
    run.read({dataFile(t.path), ""});
    const Projection& p = *run.p;
    EXPECT_EQ(p.freq(t.nvib, 1), t.lastReal) << t.path;
    for (int m = t.nvib + 1; m <= 3 * t.natom; ++m) {
      EXPECT_TRUE(p.freq(m, 1) == 0.0 && std::signbit(p.freq(m, 1))) << t.path << " mode " << m;
    }
    EXPECT_EQ(run.coor->x(1), t.firstX) << t.path;
    EXPECT_EQ(run.coor->z(t.natom), t.lastZ) << t.path;
  }
}

TEST(InputMolpro, RealFileWithImaginaryModeAfterAMinimum) {
  // HOSI (1 imaginary, 5 real) after CH2O (0 imaginary, 6 real), both with
  // natom 4: the imaginary mode lands at nvibm = 6
  MolproRun run(4);
  run.read({dataFile("molpro/ch2o/ch2o.out"), dataFile("molpro/hosi_imag/hosi.out")});
  const Projection& p = *run.p;
  EXPECT_EQ(p.freq(5, 2), 3768.07);
  EXPECT_EQ(p.freq(6, 2), -428.80);
  EXPECT_EQ(p.eigv(6, 9, 2), 0.95955);  // HZ3
  EXPECT_EQ(p.freq(6, 1), 3000.10);
  EXPECT_EQ(run.coor->x(8), 2.558445290);  // the I atom
  // the sections tell the imaginary mode from the low/zero ones, which
  // are stored negated as well
  EXPECT_EQ(p.modeSection(6, 2), ModeSection::Imaginary);
  EXPECT_EQ(p.modeSection(7, 2), ModeSection::LowZero);
  EXPECT_EQ(p.modeSection(6, 1), ModeSection::Real);
  EXPECT_EQ(p.modeSection(7, 1), ModeSection::LowZero);
}


// The number of the line at which `marker` stands for the `nth` time (1
// for its first), counting from 1.
long lineOf(const std::string& text, const std::string& marker, int nth) {
  std::size_t at = 0;
  for (int k = 0; k < nth; ++k) at = text.find(marker, k == 0 ? 0 : at + 1);
  return 1 + long(std::count(text.begin(), text.begin() + long(at), '\n'));
}

// In a gas-phase run the real and imaginary modes of a file may go on past
// nvibm (3*natom-6 = 6 here): a linear molecule's seventh vibration, or the
// imaginary mode of a linear transition state, is then left out.
TEST(InputMolpro, ModesPastNvibmGetANote) {
  const std::string linearMinimum = geometry(4, 0.0) + countList(kVibList, upTo(7)) + countList(kLowList, upTo(5)) +
                                    modeBlock(kRealBlock, 7, 4, 1) + modeBlock(kLowBlock, 5, 4, 3);
  const std::string linearSaddle = geometry(4, 0.0) + countList(kImagList, {1}) + countList(kVibList, upTo(6)) +
                                   countList(kLowList, upTo(5)) + modeBlock(kRealBlock, 6, 4, 1) +
                                   modeBlock(kImagBlock, 1, 4, 2) + modeBlock(kLowBlock, 5, 4, 3);
  const std::string tail = " that the run reads (nvibm = 3*natom-6): mode 7 (";
  const std::string hint = " cm-1) is left out; a linear molecule has 3*natom-5 = 7 modes and needs linear 1 in the "
                           "control file\n";
  const struct {
    const char* reactype;
    std::string file;
    std::string note;
  } cases[] = {
      {"gas", linearMinimum,
       "kelmar: note: file1.out, line " + std::to_string(lineOf(linearMinimum, "Wavenumbers", 2)) +
           ": the file's real and imaginary modes go on past the 6" + tail + wavenumber(1, 7) + hint},
      {"gas", linearSaddle,
       "kelmar: note: file1.out, line " + std::to_string(lineOf(linearSaddle, "Wavenumbers", 3)) +
           ": the file's real and imaginary modes go on past the 6" + tail + "-" + wavenumber(2, 1) + hint},
      {"gas", workedExample(), ""},  // one imaginary and five real modes
      {"surface", linearMinimum, ""},
  };
  for (const auto& c : cases) {
    MolproRun run(4);
    run.p->reactype = Reactype(c.reactype);
    run.read({c.file, ""});
    EXPECT_EQ(run.tc.err(), c.note) << c.reactype;
  }
}

}  // namespace
}  // namespace kelmar
