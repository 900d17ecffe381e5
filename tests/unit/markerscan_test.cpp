// The fast scan against the general reader: every kernel of the marker scan,
// with and without the plain-line reads, must give what reading every line
// gives (values, messages, line numbers), on damaged files read from memory,
// from a file in blocks and from a pipe in small pieces.
#include "shared/markerscan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "readeroutcome.h"
#include "streamfeed.h"
#include "testconsole.h"

namespace kelmar {
namespace {

TEST(MarkerScan, TheProgramUsesTheFastestKernelOfTheProcessorAndPlainLineReads) {
  EXPECT_EQ(fastestScanKernel(), fastKernels().back());
  EXPECT_TRUE(InputStream("", "t").plainLineReads());
}

TEST(MarkerScan, SearchesMarkersWithoutTrailingBlanksAndOnlyThoseHoldingNoOther) {
  MarkerScan polyrate(ScanKernel::Portable, {"  Atomic information:", " Initial guess ", " Final geometry "});
  EXPECT_EQ(polyrate.searched(), (std::vector<std::string>{"  Atomic information:", " Initial guess", " Final geometry"}));
  MarkerScan molpro(ScanKernel::Portable, {"Normal Modes", "Normal Modes of imaginary frequencies", "Low Vibration", "Normal Modes"});
  EXPECT_EQ(molpro.searched(), (std::vector<std::string>{"Normal Modes", "Low Vibration"}));
}

TEST(MarkerScan, RefusesAScanThatNoLineCouldStopAt) {
  const std::initializer_list<std::string_view> refused[] = {{}, {""}, {"   "}, {"Normal Modes", "two\nlines"}};
  for (const auto& markers : refused) {
    EXPECT_THROW(MarkerScan scan(ScanKernel::Portable, markers), std::logic_error) << markers.size() << " markers";
  }
}

TEST(MarkerScan, CountsLineEndsInEveryAlignment) {
  std::mt19937 rng(7);
  std::string text(300, 'a');
  for (char& c : text) c = "\n\na\x8a\x0b\xff "[rng() % 7];
  for (std::size_t from = 0; from < 20; ++from) {
    for (std::size_t size = 0; from + size <= text.size(); size += 13) {
      long expected = 0;
      for (std::size_t i = from; i < from + size; ++i) expected += text[i] == '\n';
      EXPECT_EQ(countLineEnds(text.data() + from, size), expected) << from << " " << size;
    }
  }
}

// A line buffer's view for failure messages: the marker area, trimmed.
std::string shown(std::string_view buffer) {
  std::size_t n = buffer.size();
  while (n > 0 && buffer[n - 1] == ' ') --n;
  return std::string(buffer.substr(0, n));
}

// The lines that hold a marker in the line buffer, with their numbers, and
// the stream's line number at the end.
std::vector<std::string> markerLines(const std::string& text, ScanKernel kernel,
                                     std::initializer_list<std::string_view> markers, Transport how) {
  MarkerScan scan(kernel, markers);
  StreamFeed s({text}, fileNames(1), how);
  InputStream& in = s[0];
  LineBuffer f1;
  std::vector<std::string> found;
  while (scan.nextLine(in, f1)) {
    for (std::string_view m : markers) {
      if (f1.contains(m)) {
        found.push_back(std::to_string(in.lineNumber()) + ": " + shown(f1.view()));
        break;
      }
    }
  }
  found.push_back("end at line " + std::to_string(in.lineNumber()));
  return found;
}

TEST(MarkerScan, HandsOutEveryMarkerLineOfRandomTexts) {
  // Lines of random length made of marker pieces, near misses and filler,
  // with markers about column 130, cut by the end of the text, after a
  // carriage return, in texts longer than a stream's buffer, and beside
  // lines that a read cuts.
  const std::initializer_list<std::string_view> markers = {"Coordinates (Angstroms)", " Initial guess ",
                                                           "normal coordinates:", "Thermochemistry"};
  const char* pieces[] = {"Coordinates (Angstroms)", "Coordinates (Angstrom", " Initial guess ",
                          " Initial guess", "normal coordinates:", "Thermochemistry", "thermochemistry",
                          "(", ")", ":", "T", "y", " ", "  ", "\r", "\t", "1.2345", "x", "\n", "\n", "\n", "\r\n"};
  std::mt19937 rng(2024);
  for (int round = 0; round < 40; ++round) {
    std::string text;
    std::size_t target = round < 30 ? 2000 + rng() % 20000 : 2 * kMaxLineLength + rng() % 5000;
    while (text.size() < target) {
      if (rng() % 50 == 0) text += std::string(100 + rng() % 60, '.');  // toward column 130
      if (round >= 38 && rng() % 400 == 0) text += std::string(kMaxLineLength + 7, 'q');
      text += pieces[rng() % (sizeof pieces / sizeof *pieces)];
    }
    if (round % 3 == 0) text.resize(text.size() - rng() % 10);
    const std::vector<std::string> expected = markerLines(text, ScanKernel::LineByLine, markers, Transport::Memory);
    for (ScanKernel k : fastKernels()) {
      for (Transport how : {Transport::Memory, Transport::File, Transport::Pipe}) {
        EXPECT_EQ(markerLines(text, k, markers, how), expected)
            << kernelName(k) << ", round " << round << ", " << transportName(how);
      }
    }
  }
}

TEST(MarkerScan, MarkersAtEveryPlaceAroundTheBlockBoundary) {
  // A file is read 1 MiB at a time (the most one read asks for), so byte
  // 2 MiB, twice the longest line, is where the second read ends and the
  // third begins: put the marker line, and the line before it, across that
  // boundary at every offset.
  const std::string marker = " Initial guess ";
  const std::size_t block = 2 * kMaxLineLength;
  for (std::size_t cut = 0; cut < 40; ++cut) {
    std::string text(block - cut, 'f');
    for (std::size_t i = 63; i < text.size(); i += 64) text[i] = '\n';
    text += "ab Initial guess of the geometry\r\nnext\n Initial guess\n";
    const std::vector<std::string> expected = markerLines(text, ScanKernel::LineByLine, {marker}, Transport::Memory);
    ASSERT_EQ(expected.size(), 3u);
    for (ScanKernel k : fastKernels()) {
      EXPECT_EQ(markerLines(text, k, {marker}, Transport::File), expected) << kernelName(k) << ", cut " << cut;
    }
  }
}

// ---- the readers on damaged real files ----

// A reader run on new state, the files passed to it as `way` says.
Outcome runReader(const ReaderCall& reader, const Way& way, int natom, int nvibm,
                  const std::vector<std::string>& texts) {
  TestState st;
  return runReader(reader, way, *st.p, *st.coor, natom, nvibm, texts);
}

// Text edits that make the damaged files.
std::size_t nth(const std::string& t, const std::string& what, int n) {  // n < 0 counts from the end
  std::size_t at = std::string::npos;
  if (n >= 0) {
    at = t.find(what);
    for (int k = 0; k < n && at != std::string::npos; ++k) at = t.find(what, at + 1);
  } else {
    at = t.rfind(what);
    for (int k = -1; k > n && at != std::string::npos; --k) at = t.rfind(what, at - 1);
  }
  EXPECT_NE(at, std::string::npos) << what;
  return at == std::string::npos ? 0 : at;
}
std::size_t lineStartOf(const std::string& t, std::size_t at) {
  std::size_t nl = t.rfind('\n', at == 0 ? 0 : at - 1);
  return at == 0 || nl == std::string::npos ? 0 : nl + 1;
}
// The start of the line `down` lines below the one holding `at`.
std::size_t lineBelow(const std::string& t, std::size_t at, int down) {
  std::size_t s = lineStartOf(t, at);
  for (int k = 0; k < down; ++k) s = t.find('\n', s) + 1;
  return s;
}
std::string replaceLine(std::string t, std::size_t lineStart, const std::string& line) {
  std::size_t e = t.find('\n', lineStart);
  return t.replace(lineStart, e - lineStart, line);
}
std::string insertLine(std::string t, std::size_t lineStart, const std::string& line) {
  return t.insert(lineStart, line + "\n");
}
std::string crlf(const std::string& t) {
  std::string r;
  for (char c : t) {
    if (c == '\n') r += '\r';
    r += c;
  }
  return r;
}
std::string withoutLastLineEnd(std::string t) {
  if (!t.empty() && t.back() == '\n') t.pop_back();
  return t;
}
// Filler lines before the text so that its byte `at` comes `cut` bytes
// before byte 2 MiB of a file, where the second of its reads of 1 MiB ends.
std::string shiftedToBoundary(const std::string& t, std::size_t at, std::size_t cut) {
  std::size_t pad = 2 * kMaxLineLength - cut - at;
  std::string filler(pad, 'f');
  for (std::size_t i = 79; i < pad; i += 80) filler[i] = '\n';
  if (pad > 0) filler[pad - 1] = '\n';
  return filler + t;
}

struct Case {
  std::string what;
  std::vector<std::string> texts;
};

void expectSameOutcomes(const ReaderCall& reader, int natom, int nvibm, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const Outcome expected =
        runReader(reader, {ScanKernel::LineByLine, false, Transport::Memory}, natom, nvibm, c.texts);
    for (ScanKernel k : fastKernels()) {
      for (bool plain : {false, true}) {
        for (Transport how : {Transport::Memory, Transport::File, Transport::Pipe}) {
          if (how == Transport::Pipe && !(plain && k == fastKernels().back())) continue;
          const Way way{k, plain, how};
          EXPECT_EQ(runReader(reader, way, natom, nvibm, c.texts), expected) << c.what << ": " << way;
        }
      }
    }
    EXPECT_EQ(runReader(reader, {ScanKernel::LineByLine, true, Transport::Memory}, natom, nvibm, c.texts), expected)
        << c.what << ": plain lines";
  }
}

// Variants of one data line: separators, repeats, nulls, quotes, slashes,
// a line too short, malformed and out-of-range numbers.
std::vector<std::string> dataLineVariants(const std::string& line) {
  return {line + " 3*0.5",
          "3*0.25 " + line.substr(line.find_first_not_of(' ')),
          line + ",7 8",
          "\t" + line,
          line + " 'quoted, text' / 1",
          line.substr(0, line.rfind(' ')),
          line.substr(0, line.rfind(' ')) + " / 9",
          line.substr(0, line.rfind(' ')) + " 'x'",
          line.substr(0, line.rfind(' ')) + " 1.5-3",
          line.substr(0, line.rfind(' ')) + " -.5D+01",
          line.substr(0, line.rfind(' ')) + " 0.30000000000000004441",
          line.substr(0, line.rfind(' ')) + " 1e999",
          line.substr(0, line.rfind(' ')) + " 0.5x",
          line.substr(0, line.rfind(' ')) + " 2*",
          line.substr(0, line.rfind(' ')) + ",,",
          line.substr(0, line.rfind(' ')) + " 0.1\rjunk",
          "2147483648" + line.substr(line.find(' ', line.find_first_not_of(' '))),
          "2.9" + line.substr(line.find(' ', line.find_first_not_of(' '))),
          "",
          "  "};
}

TEST(FastScanMatchesTheGeneralReader, DamagedGaussianFiles) {
  const std::string r = dataFile("gaussian/claisen/reactant.out");
  const std::string ts = dataFile("gaussian/claisen/ts.out");
  const std::size_t table = nth(r, "Coordinates (Angstroms)", -1);
  const std::size_t thermo = nth(r, " - Thermochemistry -", 0);
  const std::size_t modes = nth(ts, "and normal coordinates:", 0);
  const std::size_t firstRow = lineBelow(r, table, 3);
  const std::string row = r.substr(firstRow, r.find('\n', firstRow) - firstRow);
  std::vector<Case> cases = {
      {"as printed", {r, ts}},
      {"CRLF line ends", {crlf(r), crlf(ts)}},
      {"no line end after the last line", {withoutLastLineEnd(r), withoutLastLineEnd(ts)}},
      {"marker ending in column 131", {insertLine(r, lineStartOf(r, table), std::string(108, 'x') + "Coordinates (Angstroms)"), ts}},
      {"marker ending in column 130", {insertLine(r, lineStartOf(r, table), std::string(107, 'x') + "Coordinates (Angstroms)"), ts}},
      {"markers in another letter case",
       {insertLine(r, lineStartOf(r, table), " coordinates (angstroms) THERMOCHEMISTRY Normal Coordinates:"), ts}},
      {"two markers on one line", {replaceLine(r, lineStartOf(r, thermo), " - Thermochemistry - Coordinates (Angstroms)"), ts}},
      {"line longer than a stream's buffer, a marker past column 130",
       {replaceLine(r, lineStartOf(r, thermo), " - Thermochemistry -" + std::string(3 << 20, ' ') + "Coordinates (Angstroms)"), ts}},
      {"line that a read cuts before a marker",
       {insertLine(r, lineStartOf(r, table), std::string(kMaxLineLength + 100, 'z')), ts}},
      {"marker line that a read cuts",
       {replaceLine(r, lineStartOf(r, table), " Coordinates (Angstroms)" + std::string(kMaxLineLength, ' ')), ts}},
      {"marker line without a line end at the end of the file", {r + " Coordinates (Angstroms)", ts}},
      {"end of the file inside a table", {r.substr(0, lineBelow(r, table, 8)), ts}},
      {"end of the file inside a mode block", {r, ts.substr(0, lineBelow(ts, modes, 20) + 7)}},
      {"empty files", {"", ""}},
      {"marker line cut by the block boundary", {shiftedToBoundary(r, table + 5, 0), ts}},
      {"marker line before the block boundary", {shiftedToBoundary(r, lineStartOf(r, table), 1), ts}},
      {"marker line after the block boundary", {shiftedToBoundary(r, lineStartOf(r, table), 0), ts}},
      {"data line cut by the block boundary", {shiftedToBoundary(r, firstRow + 30, 0), ts}},
  };
  for (const std::string& v : dataLineVariants(row)) {
    cases.push_back({"table line [" + v + "]", {replaceLine(r, firstRow, v), ts}});
  }
  const std::size_t modeRow = lineBelow(ts, modes, 9);
  for (const std::string& v : dataLineVariants(ts.substr(modeRow, ts.find('\n', modeRow) - modeRow))) {
    cases.push_back({"mode line [" + v + "]", {r, replaceLine(ts, modeRow, v)}});
  }
  expectSameOutcomes(readGaussian, 14, 36, cases);
}

TEST(FastScanMatchesTheGeneralReader, DamagedMolproFiles) {
  const std::string h = dataFile("molpro/hosi_imag/hosi.out");
  const std::string ch2o = dataFile("molpro/ch2o/ch2o.out");
  const std::size_t lowList = nth(h, "Low Vibration", 0);
  const std::size_t normal = nth(h, "Normal Modes", 0);
  const std::size_t geometry = nth(h, "CALCULATION OF NORMAL MODES", 0);
  const std::size_t modeRow = lineBelow(h, normal, 6);
  const std::size_t atomRow = lineBelow(h, geometry, 7);
  std::vector<Case> cases = {
      {"as printed", {ch2o, h}},
      {"CRLF line ends", {crlf(ch2o), crlf(h)}},
      {"no line end after the last line", {withoutLastLineEnd(ch2o), withoutLastLineEnd(h)}},
      {"Normal Modes past column 130", {ch2o, insertLine(h, lineStartOf(h, normal), std::string(120, ' ') + "Normal Modes")}},
      {"Normal Modes with low or imaginary", {ch2o, insertLine(h, lineStartOf(h, normal), " Normal Modes (lowest)")}},
      {"markers in another letter case", {ch2o, insertLine(h, lineStartOf(h, normal), " normal modes LOW VIBRATION")}},
      {"count list ending at the end of the file", {ch2o, h.substr(0, lineBelow(h, lowList, 4))}},
      {"count list with a comma", {ch2o, replaceLine(h, lineBelow(h, lowList, 3), "        2,               0.00")}},
      {"count list ending at a marker line",
       {ch2o, replaceLine(h, lineBelow(h, lowList, 8), "   7 Imaginary Vibration  Wavenumber")}},
      {"end of the file inside a mode block", {ch2o, h.substr(0, lineBelow(h, normal, 8) + 11)}},
      {"marker line cut by the block boundary", {ch2o, shiftedToBoundary(h, normal + 4, 0)}},
      {"count list across the block boundary", {ch2o, shiftedToBoundary(h, lineBelow(h, lowList, 3) + 3, 0)}},
      {"count list ending at a line that a read cuts",
       {ch2o, insertLine(h, lineBelow(h, lowList, 8), std::string(kMaxLineLength + 1, 'w'))}},
  };
  for (const std::string& v : dataLineVariants(h.substr(modeRow, h.find('\n', modeRow) - modeRow))) {
    cases.push_back({"mode line [" + v + "]", {ch2o, replaceLine(h, modeRow, v)}});
  }
  for (const std::string& v : dataLineVariants(h.substr(atomRow, h.find('\n', atomRow) - atomRow))) {
    cases.push_back({"atom line [" + v + "]", {ch2o, replaceLine(h, atomRow, v)}});
  }
  expectSameOutcomes(readMolpro, 4, 6, cases);
}

TEST(FastScanMatchesTheGeneralReader, DamagedPolyrateFiles) {
  const std::string t = dataFile("polyrate-made/o_h2_three_structures.out");
  const std::size_t guess = nth(t, " Initial guess", 0);
  const std::size_t saddle = nth(t, " Initial saddle", 0);
  const std::size_t pairs = nth(t, "Frequencies and normalized eigenvector", 0);
  const std::size_t guessRow = lineBelow(t, guess, 3);
  const std::size_t saddleRow = lineBelow(t, saddle, 3);
  const std::size_t pairRow = lineBelow(t, pairs, 7);
  const std::size_t frequencyRow = lineBelow(t, pairs, 4);
  auto guessLine = [&](const std::string& line) { return replaceLine(t, lineStartOf(t, guess), line); };
  std::vector<Case> cases = {
      {"as printed", {t}},
      {"CRLF line ends", {crlf(t)}},
      {"no line end after the last line", {withoutLastLineEnd(t)}},
      {"marker blank from the padding", {guessLine(" Initial guess")}},
      {"marker ending in column 129", {guessLine(std::string(115, '-') + " Initial guess")}},
      {"marker ending in column 130", {guessLine(std::string(116, '-') + " Initial guess")}},
      {"marker ending in column 130 of a longer line", {guessLine(std::string(116, '-') + " Initial guess more")}},
      {"marker before a carriage return", {guessLine(" Initial guess\r")}},
      {"marker before a lone carriage return", {guessLine(" Initial guess\rof")}},
      {"marker with a tab", {guessLine(" Initial guess\tof")}},
      {"marker without its leading blank", {guessLine("Initial guess of")}},
      {"Initial guesses", {guessLine(" Initial guesses")}},
      {"end of the file inside a pair", {t.substr(0, lineBelow(t, pairs, 9))}},
      {"marker line cut by the block boundary", {shiftedToBoundary(t, saddle + 3, 0)}},
      {"frequency line cut by the block boundary", {shiftedToBoundary(t, lineBelow(t, pairs, 4) + 20, 0)}},
      {"frequency line that a read cuts",
       {replaceLine(t, frequencyRow, t.substr(frequencyRow, t.find('\n', frequencyRow) - frequencyRow) +
                                         std::string(kMaxLineLength, ' '))}},
  };
  for (std::size_t rowAt : {guessRow, saddleRow, pairRow}) {
    for (const std::string& v : dataLineVariants(t.substr(rowAt, t.find('\n', rowAt) - rowAt))) {
      cases.push_back({"data line [" + v + "]", {replaceLine(t, rowAt, v)}});
    }
  }
  expectSameOutcomes(readPolyrate, 3, 9, cases);
}

// ---- the plain-line read against the general free-format read ----

struct ReadOutcome {
  std::string end;
  std::vector<std::uint64_t> values;
  long line = 0;
  std::string next;  // the line the next read gets
  bool operator==(const ReadOutcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ReadOutcome& o) {
  os << "end: " << o.end << ", line " << o.line << ", next [" << o.next << "], values";
  for (std::uint64_t v : o.values) os << " " << std::hex << v << std::dec;
  return os;
}

// Reads `kinds` (i integer, r real, w dropped word) from the text, with or
// without the error exit, trying plain lines first or not.
ReadOutcome readWith(const std::string& text, const std::string& kinds, bool errorExit, bool plainLines) {
  InputStream in(text, "f");
  in.setPlainLineReads(plainLines);
  std::vector<int> ints(kinds.size(), -7);
  std::vector<double> reals(kinds.size(), -7.5);
  std::vector<ReadItem> items;
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    if (kinds[k] == 'i') items.push_back(ReadItem::integer(ints[k]));
    if (kinds[k] == 'r') items.push_back(ReadItem::real(reals[k]));
    if (kinds[k] == 'w') items.push_back(ReadItem::word());
  }
  ReadOutcome o;
  bool read = true;
  o.end = runEndMessage([&] {
    if (errorExit) {
      read = freeReadUnlessMalformed(in, items);
    } else {
      freeRead(in, items);
    }
  });
  if (!read) o.end = "malformed";
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    std::uint64_t bits;
    std::memcpy(&bits, &reals[k], sizeof bits);
    o.values.push_back(bits);
    o.values.push_back(std::uint64_t(ints[k]));
  }
  o.line = in.lineNumber();
  std::string_view next;
  if (in.nextLine(next)) o.next = next;
  return o;
}

TEST(PlainLineRead, GivesWhatTheGeneralReadGives) {
  const char* lines[] = {
      "1 6 0 2.529357 0.361330 -0.000020",
      "   1   6   0   -0.0   +0.5   .25   ",
      "1 6 0 2.5 0.3",  // too short: goes on on the next line
      "1 6 0 2.5 0.3 -0.1 rest, of / the 'line",
      "1 6 0 2.5 0.3 1.5-3",
      "1 6 0 2.5 0.3 1e2",
      "1 6 0 2.5 0.3 1.2345678901234567890",
      "1 6 0 2.5 0.3 123456789012345",
      "1 6 0 2.5 0.3 1234567890123456",
      "1 6 0 2.5 0.3 0.000000000000001",
      "1 6 0 2.5 0.3 1e-400",
      "1 6 0 2.5 0.3 1e400",
      "1 6 0 2.5 0.3 -",
      "1 6 0 2.5 0.3 .",
      "1 6 0 2.5 0.3 5.",
      "1 6 0 2.5 0.3 0x10",
      "1 6 0 2.5 0.3 2*",
      "1 6 0 2.5 2*0.3",
      "1 6 0 2.5 0.3,0.4",
      "1 6 0 2.5 0.3\t0.4",
      "1 6 0 2.5 0.3 '0.4'",
      "1 6 0 2.5 0.3 /",
      "999999999 -999999999 +12 1 2 3",
      "1234567890 1 1 1 1 1",
      "2147483647 -2147483648 2147483648 1 1 1",
      "2.9 -2.9 1e2 1 1 1",
      "Frequencies -- -482.7269 170.6655 269.5624",
      "OX1 -0.00044 -0.02699 -0.00019 0.16979 -0.00433",
      "2*Freq 1.0 2.0 3.0 4.0 5.0",
      "'a b' 1.0 2.0 3.0 4.0 5.0",
      "\"a b\" 1.0 2.0 3.0 4.0 5.0",
      "a\tb 1.0 2.0 3.0 4.0 5.0",
      "a,b 1.0 2.0 3.0 4.0 5.0",
      "a/b 1.0 2.0 3.0 4.0 5.0",
      "",
      "x\ry 1 2 3 4 5",
  };
  for (const char* line : lines) {
    for (const char* kinds : {"iiirrr", "wwrrr", "wrrrrr", "iirrrrrrrrr", "i", "r"}) {
      for (bool errorExit : {false, true}) {
        std::string text = std::string(line) + "\n7 8 9 10 11 12 13 14 15 16 17\n";
        EXPECT_EQ(readWith(text, kinds, errorExit, true), readWith(text, kinds, errorExit, false))
            << "[" << line << "] " << kinds;
      }
    }
  }
}

}  // namespace
}  // namespace kelmar
