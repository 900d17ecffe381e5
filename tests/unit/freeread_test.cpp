#include "shared/freeread.h"

#include <gtest/gtest.h>

#include <string>

#include "shared/runend.h"
#include "testconsole.h"

namespace kelmar {
namespace {

// The message of the read error that `f` ends the run with.
template <class F>
std::string readError(F f) {
  return runEndMessage(f);
}

std::string nextLine(InputStream& in) {
  std::string_view line;
  return in.nextLine(line) ? std::string(line) : std::string("<end>");
}

TEST(FreeRead, TakesValuesAcrossLinesAndDropsTheRestOfTheLastLine) {
  InputStream in("1 2\n3 4\nnext\n", "t");
  double a = 0, b = 0, c = 0;
  freeRead(in, {ReadItem::real(a), ReadItem::real(b), ReadItem::real(c)});
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(nextLine(in), "next");
}

// The read that hands out the rest of its last line reads what the plain
// read does and stands on the same line after it.
TEST(FreeRead, RestOfTheLastLineIsHandedOutAndNothingElseChanges) {
  const struct {
    const char* lines;
    int count;  // reals read, each holding 9 before
    const char* rest;
    long restLine;
  } cases[] = {
      {"1 2\n3 4 5", 3, " 4 5", 2},        {"1,008 1,008 14,007", 3, ",008 14,007", 1},
      {"1 2 3", 3, "", 1},                 {"4 / 5", 2, "/ 5", 1},
      {"\n7,8\t! a comment", 2, "\t! a comment", 2}, {"1 2 3 4", 3, " 4", 1},
      {"1.5 2.5", 2, "", 1},               {"1 2*3 4", 2, " 4", 1},
  };
  for (const auto& c : cases) {
    const std::string text = std::string(c.lines) + "\nnext\n";
    double plain[3] = {9, 9, 9}, kept[3] = {9, 9, 9};
    ReadItem plainItems[3] = {ReadItem::real(plain[0]), ReadItem::real(plain[1]), ReadItem::real(plain[2])};
    ReadItem keptItems[3] = {ReadItem::real(kept[0]), ReadItem::real(kept[1]), ReadItem::real(kept[2])};
    InputStream plainIn(text, "t"), keptIn(text, "t");
    freeRead(plainIn, std::span<const ReadItem>(plainItems, std::size_t(c.count)));
    LineRest rest;
    freeRead(keptIn, std::span<const ReadItem>(keptItems, std::size_t(c.count)), rest);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(kept[i], plain[i]) << "[" << c.lines << "] item " << i;
    EXPECT_EQ(rest.text, c.rest) << c.lines;
    EXPECT_EQ(rest.line, c.restLine) << c.lines;
    EXPECT_EQ(keptIn.lineNumber(), plainIn.lineNumber()) << c.lines;
    EXPECT_EQ(nextLine(keptIn), "next") << c.lines;
  }
}

TEST(FreeRead, PassesOverLinesWithoutValues) {
  InputStream in("\n   \t\n5,6\n", "t");
  int a = 0, b = 0;
  freeRead(in, {ReadItem::integer(a), ReadItem::integer(b)});
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 6);
}

struct IntegerCase {
  const char* lines;  // a line "6" follows them
  int count;          // integers read, each holding 9 before
  int expected[3];
};

TEST(FreeRead, NullValuesRepeatsAndSlashes) {
  const IntegerCase cases[] = {
      {"1,,3", 3, {1, 9, 3}},    {"2*7", 2, {7, 7}},        {"3*7", 3, {7, 7, 7}},
      {"2*,5", 3, {9, 9, 5}},    {"4 / 5", 2, {4, 9}},      {"/", 3, {9, 9, 9}},
      {",2,3", 3, {9, 2, 3}},    {"1 , 2 , 3", 3, {1, 2, 3}}, {"1\t2\t3", 3, {1, 2, 3}},
      {"1,2,3,4", 3, {1, 2, 3}}, {"2* 3", 3, {9, 9, 3}},    {"1 2*", 3, {1, 9, 9}},
      {"1,\n,3", 3, {1, 9, 3}},  {"1\n,3", 3, {1, 3, 6}},    {"2*7", 3, {7, 7, 6}},
  };
  for (const IntegerCase& c : cases) {
    InputStream in(std::string(c.lines) + "\n6\nafter\n", "t");
    int v[3] = {9, 9, 9};
    ReadItem items[3] = {ReadItem::integer(v[0]), ReadItem::integer(v[1]), ReadItem::integer(v[2])};
    freeRead(in, std::span<const ReadItem>(items, std::size_t(c.count)));
    for (int i = 0; i < c.count; ++i) EXPECT_EQ(v[i], c.expected[i]) << "[" << c.lines << "] item " << i;
  }
}

TEST(FreeRead, IntegersTakenFromRealTokensAreTruncated) {
  InputStream in("2.7 1e2 -2.7\n", "t");
  int a = 0, b = 0, c = 0;
  freeRead(in, {ReadItem::integer(a), ReadItem::integer(b), ReadItem::integer(c)});
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 100);
  EXPECT_EQ(c, -2);
}

struct TextCase {
  const char* input;
  const char* expected;  // before padding to 50
  bool cut;
};

TEST(FreeRead, TextValues) {
  // cut: an unquoted token ended by a separator with more after it
  const TextCase cases[] = {
      {"data/ts.log", "data", true},
      {"'data/ts.log'", "data/ts.log", false},
      {"\"my file, 2.log\"", "my file, 2.log", false},
      {"'it''s'", "it's", false},
      {"\"say \"\"hi\"\"\"", "say \"hi\"", false},
      {"'first\nsecond'", "firstsecond", false},
      {"gaussian   trailing comment", "gaussian", true},
      {"r.log,ts.log", "r.log", true},
      {"  \tgas", "gas", false},
      {"2*ab", "ab", false},
      {"123", "123", false},
      {"r.log/", "r.log", false},
      {"r.log  , \t", "r.log", false},
      {"my file.log", "my", true},
  };
  for (const TextCase& c : cases) {
    InputStream in(std::string(c.input) + "\n", "t");
    std::string s = "old";
    bool cut = !c.cut;
    freeRead(in, {ReadItem::text(s, 50).cutInto(cut)});
    std::string expected = c.expected;
    expected.resize(50, ' ');
    EXPECT_EQ(s, expected) << c.input;
    EXPECT_EQ(cut, c.cut) << c.input;
  }
}

TEST(FreeRead, LongTextIsCutToItsLength) {
  std::string token(60, 'x');
  token[49] = 'y';
  InputStream in(token + "\n", "t");
  std::string s;
  freeRead(in, {ReadItem::text(s, 50)});
  EXPECT_EQ(s, token.substr(0, 50));
}

TEST(FreeRead, AQuotedTextMayHoldAsMuchAsALine) {
  // streams of lines of at most 8 bytes
  const struct {
    const char* input;
    const char* result;  // the text read, or the message
  } cases[] = {
      {"'abcd\nefgh'", "abcdefgh"},
      {"'abcd\nefg'''", "abcdefg'"},
      {"'abcd\nefghi'",
       "kelmar: t, line 2: the quoted text opened on line 1 holds more than 8 bytes, the most a text value may hold"},
      {"x\n'a\nb\nc\nd\ne\nf\ng\nh\ni\nj'",
       "kelmar: t, line 10: the quoted text opened on line 2 holds more than 8 bytes, the most a text value may hold"},
      {"'abcdefg\n123456789'", "kelmar: t, line 2: the line is longer than 8 bytes, the most a data line may hold"},
  };
  for (const auto& c : cases) {
    InputStream in(std::string(c.input) + "\n", "t", 8);
    std::string s;
    std::string skipped;
    const std::string end = runEndMessage([&] {
      if (c.input[0] == 'x') freeRead(in, {ReadItem::text(skipped, 1)});
      freeRead(in, {ReadItem::text(s, 8)});
    });
    EXPECT_EQ(end == "the run went on" ? s : end, c.result) << c.input;
  }
}

TEST(FreeRead, MalformedValuesEndTheRunWithFileLineAndToken) {
  const struct {
    const char* input;
    ReadItem::Kind kind;
    const char* message;
  } cases[] = {
      {"\nTotal\n", ReadItem::Kind::Integer, "kelmar: ts.log, line 2: expected an integer, found \"Total\""},
      {"Frequencies 1\n", ReadItem::Kind::Integer,
       "kelmar: ts.log, line 1: expected an integer, found \"Frequencies\""},
      {"Low\n", ReadItem::Kind::Real, "kelmar: ts.log, line 1: expected a real number, found \"Low\""},
      {"T\n", ReadItem::Kind::Integer, "kelmar: ts.log, line 1: expected an integer, found \"T\""},
      {"'1.5'\n", ReadItem::Kind::Real,
       "kelmar: ts.log, line 1: expected a real number, found the quoted text \"1.5\""},
      // a long or binary token is cut and escaped, not echoed whole
      {"x123456789012345678901234567890123456789012345\n", ReadItem::Kind::Real,
       "kelmar: ts.log, line 1: expected a real number, found "
       "\"x123456789012345678901234567890123456789\"... (46 characters)"},
      {"1\x01\xff\t2\n", ReadItem::Kind::Integer,
       "kelmar: ts.log, line 1: expected an integer, found \"1\\x01\\xff\""},
      {"a\"b\\c\r\n", ReadItem::Kind::Integer,
       "kelmar: ts.log, line 1: expected an integer, found \"a\\\"b\\\\c\""},
  };
  for (const auto& c : cases) {
    InputStream in(c.input, "ts.log");
    int i = 0;
    double d = 0;
    std::string message = readError([&] {
      if (c.kind == ReadItem::Kind::Integer) {
        freeRead(in, {ReadItem::integer(i)});
      } else {
        freeRead(in, {ReadItem::real(d)});
      }
    });
    EXPECT_EQ(message, c.message) << c.input;
  }
}

TEST(FreeRead, EndOfInputNamesWhatWasExpected) {
  InputStream in("0.0 0.0\n", "standard input");
  double v[5] = {};
  EXPECT_EQ(readError([&] {
              freeRead(in, {ReadItem::real(v[0]), ReadItem::real(v[1]), ReadItem::real(v[2]),
                            ReadItem::real(v[3]), ReadItem::real(v[4])});
            }),
            "kelmar: standard input, line 2: end of input, expected 3 real numbers");
  InputStream mixed("", "r.log");
  int i = 0;
  EXPECT_EQ(readError([&] {
              freeRead(mixed, {ReadItem::word(), ReadItem::integer(i), ReadItem::word(), ReadItem::word(),
                               ReadItem::real(v[0])});
            }),
            "kelmar: r.log, line 1: end of input, expected a text, an integer, 2 texts and a real number");
  InputStream quoted("'never closed\n", "q");
  std::string s;
  EXPECT_EQ(readError([&] { freeRead(quoted, {ReadItem::text(s, 50)}); }),
            "kelmar: q, line 2: end of input, expected a text");
}

TEST(FreeRead, ReadErrorsInsideASectionNameIt) {
  InputStream in("1 2 3\n4 A 6\n", "r.out");
  double v[3] = {};
  {
    SectionScope outer(in, {"the mode block", "modes", 34, 36, 0, 13});
    freeRead(in, {ReadItem::real(v[0]), ReadItem::real(v[1]), ReadItem::real(v[2])});
    {
      SectionScope inner(in, {"the geometry", "atoms", 1, 1, 2, 13});
      EXPECT_EQ(in.section()->describe(), "the geometry of atom 1, structure 2, natom 13");
    }
    EXPECT_EQ(readError([&] { freeRead(in, {ReadItem::real(v[0]), ReadItem::real(v[1])}); }),
              "kelmar: r.out, line 2: expected a real number, found \"A\" (the mode block of modes 34-36, natom 13)");
  }
  EXPECT_EQ(in.section(), nullptr);
}

// A table of natom atom rows that ends before natom rows: the read of the
// next row fails on its first value, at a dashed line or after an empty
// line, and the message says after which atom the table ends. Any other
// failure keeps the message of what was found.
TEST(FreeRead, ATableOfAtomRowsThatEndsEarlySaysAfterWhichAtom) {
  const std::string natom = ", but natom is 3 (natom in the control file must be the number of atoms in the "
                            "structure files)";
  const struct {
    const char* what;
    std::string text;
    int structure;
    const char* fileHint;
    std::string message;
  } cases[] = {
      {"a dashed line", "1 0.5\n2 0.5\n ---------\n", 0, "",
       "kelmar: t, line 3: the geometry table ends after atom 2" + natom},
      {"an empty line, then the next section", "1 0.5\n\n Frequencies\n", 2, "",
       "kelmar: t, line 2: the geometry table of structure 2 ends after atom 1" + natom},
      {"a dashed line before the first row", "-----\n", 0, "",
       "kelmar: t, line 1: expected an integer, found \"-----\" (the geometry table of atoms 1-3, natom 3)"},
      {"a word on the next line", "1 0.5\n2 0.5\nSum 1.0\n", 0, "",
       "kelmar: t, line 3: expected an integer, found \"Sum\" (the geometry table of atoms 1-3, natom 3)"},
      {"a row without its real", "1 0.5\n2\n\nx\n", 0, "",
       "kelmar: t, line 4: expected a real number, found \"x\" (the geometry table of atoms 1-3, natom 3)"},
      {"a file that looks like another kind", "1 0.5\n2 0.5\n ---------\n", 0, "it looks like X",
       "kelmar: t, line 3: expected an integer, found \"---------\" (the geometry table of atoms 1-3, natom 3; "
       "it looks like X)"},
  };
  for (const auto& c : cases) {
    InputStream in(c.text, "t");
    const std::string hint = c.fileHint;
    if (!hint.empty()) in.setFileHint([hint](const InputStream&) { return hint; });
    SectionScope section(in, Section::rowsOfAtoms("the geometry table", 3, c.structure));
    double x = 0.0;
    EXPECT_EQ(readError([&] {
                for (int a = 1; a <= 3; ++a) freeRead(in, {ReadItem::anyInteger(), ReadItem::real(x)});
              }),
              c.message)
        << c.what;
  }
  // a section that is no table of atom rows
  InputStream in("1 0.5\n2 0.5\n ---------\n", "t");
  SectionScope section(in, {"the masses", "atoms", 1, 3, 0, 3});
  double x = 0.0;
  EXPECT_EQ(readError([&] {
              for (int a = 1; a <= 3; ++a) freeRead(in, {ReadItem::anyInteger(), ReadItem::real(x)});
            }),
            "kelmar: t, line 3: expected an integer, found \"---------\" (the masses of atoms 1-3, natom 3)");
}

TEST(FreeRead, ItemsCanRecordTheLineOfTheirValue) {
  InputStream in("\n1.5\n\n2.5 3.5\n", "standard input");
  double v[3] = {};
  long line[3] = {};
  freeRead(in, {ReadItem::real(v[0]).at(line[0]), ReadItem::real(v[1]).at(line[1]), ReadItem::real(v[2]).at(line[2])});
  EXPECT_EQ(line[0], 2);
  EXPECT_EQ(line[1], 4);
  EXPECT_EQ(line[2], 4);
}

TEST(FreeRead, ErrorExitLeavesItemsAndStandsAfterTheLine) {
  InputStream in("1 95.2\n\nSummary of the modes\nafter\n", "t");
  int k = 0;
  EXPECT_TRUE(freeReadUnlessMalformed(in, {ReadItem::integer(k)}));
  EXPECT_EQ(k, 1);
  EXPECT_FALSE(freeReadUnlessMalformed(in, {ReadItem::integer(k)}));
  EXPECT_EQ(k, 1);
  in.stepBack();
  EXPECT_EQ(nextLine(in), "Summary of the modes");
  EXPECT_EQ(nextLine(in), "after");
  // end of input stays fatal
  EXPECT_NE(readError([&] { freeReadUnlessMalformed(in, {ReadItem::integer(k)}); }), "");
}

TEST(SkipLines, ConsumesExactlyOneLineWhateverItHolds) {
  InputStream in("1 2 3\n\nlast\n", "f.log");
  EXPECT_EQ(skipLines(in), "1 2 3");
  EXPECT_EQ(skipLines(in), "");
  EXPECT_EQ(skipLines(in), "last");
  EXPECT_EQ(readError([&] { skipLines(in); }), "kelmar: f.log, line 4: end of input, expected a line to skip");
}

TEST(FreeRead, ReadWithoutItemsSkipsOneLine) {
  InputStream in("a b\nc\n", "t");
  freeRead(in, std::span<const ReadItem>());
  EXPECT_EQ(nextLine(in), "c");
}

TEST(LineBuffer, HoldsTheFirst130CharactersPaddedWithBlanks) {
  std::string longLine(200, 'a');
  longLine.replace(125, 10, "Coordinate");  // lies across column 130
  InputStream in(longLine + "\nshort Initial guess\nnext\n", "t");
  LineBuffer f1;
  ASSERT_TRUE(readWholeLine(in, f1));
  EXPECT_EQ(f1.view(), longLine.substr(0, 130));
  EXPECT_FALSE(f1.contains("Coordinate"));
  EXPECT_TRUE(f1.contains("Coord"));
  ASSERT_TRUE(readWholeLine(in, f1));
  // the blank after the words comes from the blank fill of the buffer
  EXPECT_TRUE(f1.contains(" Initial guess "));
  EXPECT_FALSE(f1.contains("initial guess"));
  ASSERT_TRUE(readWholeLine(in, f1));
  EXPECT_FALSE(readWholeLine(in, f1));
  EXPECT_EQ(f1.view().substr(0, 5), "next ");
}

// A frequency line: 15 ignored columns, an 11-column field, 10 ignored
// columns, a 20-column field, and whatever follows.
std::string frequencyLine(const std::string& first, const std::string& second, const std::string& tail = "") {
  auto rightIn = [](const std::string& v, std::size_t w) { return std::string(w - v.size(), ' ') + v; };
  return std::string(15, '#') + rightIn(first, 11) + std::string(10, '#') + rightIn(second, 20) + tail + "\n";
}

TEST(FrequencyColumns, ImpliedDecimalsPointsAndBlankFields) {
  InputStream in(frequencyLine("123.4567", "12345") + frequencyLine("12345  ", "210.5", "  99") + "\n" +
                     std::string(15, ' ') + "abc\n",
                 "poly.out");
  double a = -1, b = -1;
  readFrequencyColumns(in, a, &b);
  EXPECT_DOUBLE_EQ(a, 123.4567);
  EXPECT_DOUBLE_EQ(b, 123.45);
  readFrequencyColumns(in, a, &b);
  EXPECT_DOUBLE_EQ(a, 123.45);
  EXPECT_DOUBLE_EQ(b, 210.5);
  readFrequencyColumns(in, a, &b);  // an empty line: both fields blank
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 0.0);
  EXPECT_EQ(readError([&] { readFrequencyColumns(in, a, &b); }),
            "kelmar: poly.out, line 4: expected a real number in columns 16-26, found \"abc\"");
}

}  // namespace
}  // namespace kelmar
