// The control file and the mode counts.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "input/input.h"
#include "testconsole.h"

namespace kelmar {
namespace {

std::string control(const std::string& software, const std::string& reactype, const std::string& iprod,
                    const std::string& names, const std::string& atoms, const std::string& linear,
                    const std::string& masses) {
  return "a title line\na second free line\n" + software + "\nreaction type\n" + reactype + "\niprod\n" + iprod +
         "\nstructure files\n" + names + "natom nreact1\n" + atoms + "\nlinear1 linear2 linear\n" + linear +
         "\nmasses\n" + masses + "\nstep\n0.01\nlast line\n0.0 0.0 0.0\n";
}

std::string padded(const std::string& s) { return s + std::string(kTextLength - s.size(), ' '); }

TEST(Readfile, WorkedExampleEchoAndValues) {
  TestConsole tc(control("gaussian", "gas", "0", "r.log\nts.log\n\n", "3 1", "0 1 0", "15.995 1.008 1.008"));
  auto p = std::make_unique<Projection>();
  readfile(*p, tc.console);
  EXPECT_EQ(tc.out(),
            " Kelmar calculations\n"
            " software:   gaussian                                          \n"
            " reactype:   gas                                               \n"
            " iprod           0\n"
            " natom,nreact1           3           1\n"
            " linear1,linear2,linear           0           1           0\n"
            " read kelmarinput.txt done\n"
            " \n");
  EXPECT_EQ(p->software.text(), padded("gaussian"));
  EXPECT_EQ(p->fname, std::string("r.log"));
  EXPECT_EQ(p->fname2, std::string("ts.log"));
  EXPECT_EQ(p->fname3, std::string(""));
  EXPECT_EQ(p->linear2, 1);
  EXPECT_EQ(p->amass(1), 15.995);
  EXPECT_EQ(p->amass(3), 1.008);
  EXPECT_EQ(p->delt, 0.01);
  int ninit = -1;
  countmodes(*p, ninit, tc.console);
  EXPECT_EQ(tc.out().substr(tc.out().size() - 84),
            " vibrational mode for initial states and the entire system\n"
            "           1           3\n");
  EXPECT_EQ(p->nmode, 9);
}

// File names are kept as written, whatever their length, while software and
// reactype keep their 50 characters.
TEST(Readfile, LongFileNamesAreKeptWhole) {
  const std::string longName = std::string(60, 'd') + "/" + std::string(150, 'a') + "_reactant_complex.out";
  const std::string longWord(70, 'g');
  TestConsole tc(control(longWord + "gaussian", "gas", "0", "'" + longName + "'\n" + longName + "x\n\n", "3 1",
                         "0 1 0", "15.995 1.008 1.008"));
  auto p = std::make_unique<Projection>();
  readfile(*p, tc.console);
  EXPECT_EQ(p->fname, longName);
  EXPECT_EQ(p->slabFileName(1), longName);
  EXPECT_EQ(p->fname2, longName.substr(0, 60));  // unquoted, cut at the slash
  EXPECT_TRUE(p->fnameWasCut(2));
  EXPECT_EQ(p->software.text(), longWord.substr(0, kTextLength));
}

TEST(Readfile, FileNamesByProgramAndIprod) {
  const char* const vaspNote =
      "kelmar: note: standard input, line 7: iprod 1 is taken as 0: a run of VASP-derived mode files projects "
      "the reactant modes (it reads the reactant and the transition-state file)\n";
  const struct {
    const char* software;
    const char* iprod;
    int iprodAfter;
    const char* names[3];
    const char* err;
  } cases[] = {
      {"polyrate", "1", 1, {"a.out", "", ""}, ""},
      {"vasp", "1", 0, {"a.out", "b.out", ""}, vaspNote},
      {"vasp", "0", 0, {"a.out", "b.out", ""}, ""},
      {"'gaussian vasp'", "1", 0, {"a.out", "b.out", ""}, vaspNote},
      {"molpro", "1", 1, {"a.out", "b.out", "c.out"}, ""},
      {"gaussian", "0", 0, {"a.out", "b.out", ""}, ""},
      {"nwchem", "0", 0, {"a.out", "b.out", ""}, ""},
  };
  for (const auto& c : cases) {
    // masses spread over two records; the skip after them drops "step"
    TestConsole tc(control(c.software, "surface", c.iprod, "a.out\nb.out\nc.out\n", "3 3", "0 0 0", "1.0 2.0\n3.0"));
    auto p = std::make_unique<Projection>();
    readfile(*p, tc.console);
    EXPECT_EQ(p->iprod, c.iprodAfter) << c.software;
    EXPECT_EQ(p->fname, std::string(c.names[0])) << c.software;
    EXPECT_EQ(p->fname2, std::string(c.names[1])) << c.software;
    EXPECT_EQ(p->fname3, std::string(c.names[2])) << c.software;
    EXPECT_EQ(p->amass(3), 3.0) << c.software;
    EXPECT_NE(tc.out().find(" iprod           " + std::to_string(c.iprodAfter) + "\n"), std::string::npos);
    EXPECT_EQ(tc.err(), c.err) << c.software;
  }
}

// The name reads pass over empty lines, as every free-format read does: a
// line left empty where a name is read takes the next line's first word.
TEST(Readfile, NameReadPastEmptyLinesGetsANoteAtOnce) {
  const struct {
    const char* iprod;
    const char* names;
    int errorLine;
    const char* err;
  } cases[] = {
      {"1", "r.log\nts.log\n\n", 14,
       "kelmar: note: standard input, line 11 is empty, so the name of structure file 3 is taken from line 12: "
       "\"natom\" (a line that names a file the run reads must not be left empty)\n"},
      {"0", "\n \t\nr.log\nts.log\n", 15,
       "kelmar: note: standard input, lines 9-10 are empty, so the name of structure file 1 is taken from line "
       "11: \"r.log\" (a line that names a file the run reads must not be left empty)\n"},
  };
  for (const auto& c : cases) {
    TestConsole tc(control("gaussian", "gas", c.iprod, c.names, "3 1", "0 1 0", "15.995 1.008 1.008"));
    auto p = std::make_unique<Projection>();
    EXPECT_EQ(runEndMessage([&] { readfile(*p, tc.console); }),
              "kelmar: standard input, line " + std::to_string(c.errorLine) +
                  ": expected an integer, found \"linear1\" (natom and nreact1, which a well-formed control file "
                  "gives on line 13)");
    EXPECT_EQ(tc.err(), c.err);
  }
}

// A name is read from the line on which it starts: a quoted name that goes
// on over the next line was not read past an empty line.
TEST(Readfile, QuotedNameOverTwoLinesIsNoNameReadPastAnEmptyLine) {
  TestConsole tc(control("gaussian", "gas", "0", "'r.lo\ng'\nts.log\n\n", "3 1", "0 1 0", "15.995 1.008 1.008"));
  auto p = std::make_unique<Projection>();
  readfile(*p, tc.console);
  EXPECT_EQ(tc.err(), "");
  EXPECT_EQ(p->fname, std::string("r.log"));
  EXPECT_EQ(p->fnameLine(1), 9);
  EXPECT_EQ(p->fname2, std::string("ts.log"));
  EXPECT_EQ(p->fnameLine(2), 11);
}

// A read error in the control file names the value being read and the line
// that holds it in a well-formed control file, so that a line left out or
// added above it shows.
TEST(Readfile, ReadErrorNamesTheValueAndItsLine) {
  const std::string example = control("gaussian", "gas", "0", "r.log\nts.log\n\n", "3 1", "0 1 0",
                                      "15.995\n1.008 1.008");
  // the example's lines, 1-based, and the example with line k replaced
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < example.size();) {
    std::size_t end = example.find('\n', at);
    lines.push_back(example.substr(at, end - at));
    at = end + 1;
  }
  auto replaced = [&](std::size_t k, const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) out += (i + 1 == k ? text : lines[i]) + "\n";
    return out;
  };
  auto cutAfter = [&](std::size_t k) {
    std::string out;
    for (std::size_t i = 0; i < k; ++i) out += lines[i] + "\n";
    return out;
  };
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {"", "line 1: end of input, expected a line to skip (software, which a well-formed control file gives on "
           "line 3, after the title line and its own label line)"},
      // the title line left out: every value is read one line late
      {example.substr(example.find('\n') + 1),
       "line 7: expected an integer, found \"structure\" (iprod, which a well-formed control file gives on line "
       "7)"},
      {cutAfter(4), "line 5: end of input, expected a text (reactype, which a well-formed control file gives on "
                    "line 5)"},
      {replaced(7, "x"), "line 7: expected an integer, found \"x\" (iprod, which a well-formed control file gives "
                         "on line 7)"},
      {cutAfter(9), "line 10: end of input, expected a text (the name of structure file 2, which a well-formed "
                    "control file gives on line 10)"},
      {cutAfter(10), "line 11: end of input, expected a line to skip (the line of structure file 3, unused in this "
                     "run, which a well-formed control file gives on line 11)"},
      {replaced(13, "3 one"), "line 13: expected an integer, found \"one\" (natom and nreact1, which a "
                              "well-formed control file gives on line 13)"},
      {replaced(15, "0 1 no"), "line 15: expected an integer, found \"no\" (linear1, linear2 and linear, which a "
                               "well-formed control file gives on line 15)"},
      {replaced(18, "1.008 H"), "line 18: expected a real number, found \"H\" (the masses of atoms 1-3, natom 3; "
                                "a well-formed control file gives them from line 17 on)"},
      // the masses take lines 17 and 18 here, so delt stands on line 20
      {replaced(20, "small"), "line 20: expected a real number, found \"small\" (delt, which a well-formed "
                              "control file gives on line 20, the second line after the masses)"},
      {cutAfter(21), "line 22: end of input, expected 3 real numbers (the three numbers of the last line, which a "
                     "well-formed control file gives on line 22, the second line after delt)"},
  };
  for (const auto& c : cases) {
    TestConsole tc(c.text);
    auto p = std::make_unique<Projection>();
    EXPECT_EQ(runEndMessage([&] { readfile(*p, tc.console); }), "kelmar: standard input, " + std::string(c.message))
        << c.text;
  }
}

// A value out of its range names its line in a well-formed control file as
// a read error does, so that a line left out above it shows.
TEST(Readfile, RangeErrorNamesTheValueAndItsWellFormedLine) {
  const std::string names = "r.log\nts.log\n\n";
  auto withDelt = [](std::string text, const std::string& delt) {
    return text.replace(text.find("\nstep\n0.01\n"), 11, "\nstep\n" + delt + "\n");
  };
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {control("gaussian", "gas", "0", names, "0 0", "0 1 0", "1.0"),
       "line 13: natom 0 is outside 1..166, the number of atoms the program holds (natom and nreact1, which a "
       "well-formed control file gives on line 13)"},
      // line 9 left out: the second name comes from line 11, and the counts from line 14
      {control("gaussian", "gas", "0", "ts.log\n\n", "3 1", "0 1 0", "15.995 1.008 1.008"),
       "line 14: natom 0 is outside 1..166, the number of atoms the program holds (natom and nreact1, which a "
       "well-formed control file gives on line 13)"},
      {control("gaussian", "gas", "0", names, "3 4", "0 1 0", "15.995 1.008 1.008"),
       "line 13: nreact1 4 is outside 0..natom, that is 0..3 (natom and nreact1, which a well-formed control "
       "file gives on line 13)"},
      {withDelt(control("gaussian", "gas", "0", names, "3 1", "0 1 0", "15.995\n1.008 1.008"), "0"),
       "line 20: delt is 0; the displacement step of the translational vectors must not be zero (delt, which a "
       "well-formed control file gives on line 20, the second line after the masses)"},
  };
  for (const auto& c : cases) {
    TestConsole tc(c.text);
    auto p = std::make_unique<Projection>();
    EXPECT_EQ(runEndMessage([&] { readfile(*p, tc.console); }), "kelmar: standard input, " + std::string(c.message))
        << c.text;
  }
}

// The read of the masses drops the rest of its last line; a number there
// gets a note, and the masses are read as they stand.
TEST(Readfile, NumberLeftOnTheLastMassLineGetsANote) {
  const struct {
    const char* masses;
    double third;
    const char* note;  // after "kelmar: note: standard input, line "
  } cases[] = {
      {"1,008 1,008 1,008 14,007", 1.0,
       "17: the read of the 3 masses (natom 3) ends on this line, but the line goes on with \",008 1,008 14,007\", "
       "which is not read: more masses than natom, or masses typed with decimal commas (1,008 is read as two "
       "numbers, 1 and 8; write 1.008)"},
      {"15.995\n1.008 1.008\t2.0", 1.008,
       "18: the read of the 3 masses (natom 3) ends on this line, but the line goes on with \"2.0\", which is not "
       "read: more masses than natom, or masses typed with decimal commas (1,008 is read as two numbers, 1 and 8; "
       "write 1.008)"},
      {"15.995 1.008 1.008, -3", 1.008,
       "17: the read of the 3 masses (natom 3) ends on this line, but the line goes on with \", -3\", which is not "
       "read: more masses than natom, or masses typed with decimal commas (1,008 is read as two numbers, 1 and 8; "
       "write 1.008)"},
      {"15.995 1.008 1.008   O H H", 1.008, nullptr},
      {"15.995 1.008 1.008,", 1.008, nullptr},
      {"15.995 1.008 / 2.0", 0.0, nullptr},
  };
  for (const auto& c : cases) {
    TestConsole tc(control("molpro", "gas", "0", "r.out\nts.out\n\n", "3 1", "0 1 0", c.masses));
    auto p = std::make_unique<Projection>();
    readfile(*p, tc.console);
    EXPECT_EQ(p->amass(3), c.third) << c.masses;
    EXPECT_EQ(tc.err(), c.note ? "kelmar: note: standard input, line " + std::string(c.note) + "\n" : "")
        << c.masses;
  }
}

TEST(Countmodes, FragmentVibrationsAndReactionTypes) {
  const struct {
    const char* reactype;
    int natom, nreact1, linear1, linear2, linear;
    int ninit, nvibm;
  } cases[] = {
      {"gas", 3, 1, 0, 0, 0, 1, 3},           {"surface", 4, 4, 0, 0, 0, 6, 12},
      {"gas-surface", 3, 1, 0, 0, 0, 1, 9},   {"gas", 5, 5, 0, 0, 0, 9, 9},
      {"gas", 5, 4, 0, 0, 0, 6, 9},           {"gas", 4, 2, 1, 0, 0, 2, 6},
      {"gas", 6, 3, 1, 2, 1, 7, 13},          {"surface", 3, 3, 0, 0, 1, 3, 9},
      {"gas", 2, 0, 0, 0, 1, 1, 1},
  };
  for (const auto& c : cases) {
    auto p = std::make_unique<Projection>();
    p->reactype = Reactype(c.reactype);
    p->natom = c.natom;
    p->nreact1 = c.nreact1;
    p->linear1 = c.linear1;
    p->linear2 = c.linear2;
    p->linear = c.linear;
    int ninit = -1;
    TestConsole tc;
    countmodes(*p, ninit, tc.console);
    EXPECT_EQ(ninit, c.ninit) << c.reactype << " " << c.natom << " " << c.nreact1;
    EXPECT_EQ(p->nvibm, c.nvibm) << c.reactype << " " << c.natom;
  }
}

TEST(Countmodes, ReactionTypeWithNeitherWordStops) {
  for (const char* reactype : {"Gas", "SURFACE", "liquid"}) {
    auto p = std::make_unique<Projection>();
    p->reactype = Reactype(reactype);
    p->reactypeLine = 5;
    p->natom = 3;
    int ninit = 0;
    TestConsole tc;
    EXPECT_EQ(runEndMessage([&] { countmodes(*p, ninit, tc.console); }, kStatusStop),
              "error in reactype\nkelmar: standard input, line 5: reactype \"" + std::string(reactype) +
                  "\" contains neither gas nor surface (the words are matched case-sensitively, anywhere in the "
                  "value)");
    EXPECT_EQ(tc.out(), "");
  }
}

TEST(Countmodes, GasPhaseRunWithoutVibrationalModeIsRejectedAfterTheCounts) {
  const struct {
    int natom, linear;
    const char* counts;
    const char* message;
  } cases[] = {
      {2, 0, "           1           0",
       "kelmar: natom 2 with linear 0 leaves 0 vibrational modes (3*natom-6); a gas-phase run needs at least one "
       "(a diatomic is linear: set linear to 1)"},
      {1, 0, "           0          -3",
       "kelmar: natom 1 with linear 0 leaves -3 vibrational modes (3*natom-6); a gas-phase run needs at least "
       "one (a single atom has no vibrational mode)"},
      {1, 1, "           0          -2",
       "kelmar: natom 1 with linear 1 leaves -2 vibrational modes (3*natom-5); a gas-phase run needs at least "
       "one (a single atom has no vibrational mode)"},
  };
  for (const auto& c : cases) {
    auto p = std::make_unique<Projection>();
    p->reactype = Reactype("gas");
    p->natom = c.natom;
    p->nreact1 = c.natom;
    p->linear = c.linear;
    int ninit = 0;
    TestConsole tc;
    EXPECT_EQ(runEndMessage([&] { countmodes(*p, ninit, tc.console); }), c.message);
    EXPECT_EQ(tc.out(), std::string(" vibrational mode for initial states and the entire system\n") + c.counts + "\n");
  }
}

}  // namespace
}  // namespace kelmar
