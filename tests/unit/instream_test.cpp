#include "shared/instream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/freeread.h"
#include "streamfeed.h"
#include "testconsole.h"

namespace kelmar {
namespace {

std::vector<std::string> allLines(InputStream& in) {
  std::vector<std::string> lines;
  std::string_view line;
  while (in.nextLine(line)) lines.emplace_back(line);
  return lines;
}

TEST(InputStream, LinesWithAndWithoutAFinalLineEnd) {
  InputStream a("one\ntwo\n", "t");
  EXPECT_EQ(allLines(a), (std::vector<std::string>{"one", "two"}));
  InputStream b("one\ntwo", "t");
  EXPECT_EQ(allLines(b), (std::vector<std::string>{"one", "two"}));
  InputStream c("", "t");
  EXPECT_TRUE(allLines(c).empty());
  InputStream d("\n\n", "t");
  EXPECT_EQ(allLines(d), (std::vector<std::string>{"", ""}));
}

TEST(InputStream, CarriageReturnBeforeTheLineEndIsDropped) {
  InputStream crlf("1 2\r\nx\ry\r\n\r\nlast\r", "t");
  EXPECT_EQ(allLines(crlf), (std::vector<std::string>{"1 2", "x\ry", "", "last"}));
}

TEST(InputStream, StepBackHandsOutTheSameLineAgain) {
  InputStream in("a\nb\nc\n", "t");
  std::string_view line;
  ASSERT_TRUE(in.nextLine(line));
  ASSERT_TRUE(in.nextLine(line));
  EXPECT_EQ(in.lineNumber(), 2);
  in.stepBack();
  EXPECT_EQ(in.lineNumber(), 1);
  ASSERT_TRUE(in.nextLine(line));
  EXPECT_EQ(line, "b");
  EXPECT_EQ(in.lineNumber(), 2);
}

TEST(InputStream, PartOfALineLeavesTheRestUnread) {
  InputStream in(std::string(100, 'c') + "\nnext\n", "t");
  std::string_view part;
  ASSERT_TRUE(in.nextLinePart(part, 79));
  EXPECT_EQ(part, std::string(79, 'c'));
  ASSERT_TRUE(in.nextLine(part));
  EXPECT_EQ(part, std::string(21, 'c'));
  ASSERT_TRUE(in.nextLine(part));
  EXPECT_EQ(part, "next");
}

TEST(InputStream, FilesLargerThanTheBuffer) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "line " + std::to_string(i) + "\n";
  text += "end";
  for (Transport how : {Transport::File, Transport::Pipe}) {
    StreamFeed feed({text}, {"t"}, how);
    InputStream& in = feed[0];
    std::string_view line;
    for (int i = 0; i < 200000; ++i) {
      ASSERT_TRUE(in.nextLine(line));
      ASSERT_EQ(line, "line " + std::to_string(i)) << transportName(how);
    }
    ASSERT_TRUE(in.nextLine(line));
    EXPECT_EQ(line, "end");
    EXPECT_FALSE(in.nextLine(line));
    EXPECT_EQ(in.lineNumber(), 200001);
  }
}

TEST(StreamFeed, AStreamThatCannotBeMadeThrowsOnceTheWritersHaveEnded) {
  // The text fills a pipe, so that the writer of the first stream still
  // waits when the feed gives up: at that stream (a line limit below 2) or
  // at the second (no name for it).
  const std::string text(1 << 20, 'x');
  for (Transport how : {Transport::Memory, Transport::File, Transport::Pipe}) {
    EXPECT_THROW(StreamFeed({text}, {"t"}, how, {4093}, 1), std::logic_error) << transportName(how);
    EXPECT_THROW(StreamFeed({text, text}, {"t"}, how), std::out_of_range) << transportName(how);
  }
}

constexpr Transport kTransports[] = {Transport::Memory, Transport::File, Transport::Pipe};
// pipe writes of every small size and of more than a buffer
const std::vector<std::size_t> kPieces = {4093, 1, 7, 65536, 3, (std::size_t(5) << 20) + 1};

// What nextLine hands out, each line read twice with a step back between:
// "number:text", a cut line marked "number:text (cut)"; "end at N" at the
// end. A difference between the two reads of a line shows as "again".
std::string linesOf(InputStream& in) {
  std::string log;
  std::string_view line;
  while (in.nextLine(line)) {
    const std::string first(line);
    const bool cut = in.lastLineCut();
    const long number = in.lineNumber();
    in.stepBack();
    if (!in.nextLine(line) || line != first || in.lastLineCut() != cut || in.lineNumber() != number) {
      log += "again differs; ";
    }
    log += std::to_string(number) + ":" + first + (cut ? " (cut)" : "") + "|";
  }
  return log + "end at " + std::to_string(in.lineNumber());
}

TEST(InputStream, LinesAtTheLimitAreWholeLongerOnesCut) {
  // limit 8
  const struct {
    const char* text;
    const char* lines;
  } cases[] = {
      {"12345678\nx", "1:12345678|2:x|end at 2"},
      {"12345678\r\nx", "1:12345678|2:x|end at 2"},
      {"1234567\r\r\n", "1:1234567\r|end at 1"},
      {"123456789\nx", "1:12345678 (cut)|2:x|end at 2"},
      {"12345678\r", "1:12345678|end at 1"},
      {"12345678", "1:12345678|end at 1"},
      {"123456789", "1:12345678 (cut)|end at 1"},
      {"123456789\r", "1:12345678 (cut)|end at 1"},
      {"0123456789abcdefghijklmnopqrstuv\nok\n\n0123456789abcdefghij\r\nlast",
       "1:01234567 (cut)|2:ok|3:|4:01234567 (cut)|5:last|end at 5"},
      {"\n0123456789abcdefghijklmnopqrstuvwxyz", "1:|2:01234567 (cut)|end at 2"},
  };
  for (const auto& c : cases) {
    for (Transport how : kTransports) {
      StreamFeed feed({c.text}, {"t"}, how, {1, 2, 3, 5}, 8);
      EXPECT_EQ(linesOf(feed[0]), c.lines) << transportName(how) << " [" << c.text << "]";
      if (how != Transport::Memory) {
        EXPECT_EQ(feed[0].bufferCapacity(), 16u);
      }
    }
  }
}

TEST(InputStream, ALineOfTwentyMegabytesIsHandedOutAsItsFirstMegabyte) {
  const std::size_t size = std::size_t(20) << 20;
  const struct {
    std::string text;
    std::string lines;
  } cases[] = {
      {std::string(size, '\0'), "1:" + std::string(kMaxLineLength, '\0') + " (cut)|end at 1"},
      {"first\n" + std::string(size, 'x') + "\nnext\n",
       "1:first|2:" + std::string(kMaxLineLength, 'x') + " (cut)|3:next|end at 3"},
  };
  for (const auto& c : cases) {
    for (Transport how : kTransports) {
      StreamFeed feed({c.text}, {"t"}, how, kPieces);
      InputStream& in = feed[0];
      EXPECT_TRUE(linesOf(in) == c.lines) << transportName(how);
      if (how != Transport::Memory) {
        EXPECT_EQ(in.bufferCapacity(), 2 * kMaxLineLength);
      }
    }
  }
}

// A search for a text, for passOver.
class FindText : public LineSearch {
 public:
  explicit FindText(std::string text) : text_(std::move(text)) {}
  std::size_t find(const char* data, std::size_t size, long& lineEnds) const override {
    std::size_t at = std::min(size, std::string_view(data, size).find(text_));
    lineEnds += std::count(data, data + at, '\n');
    return at;
  }

 private:
  std::string text_;
};

// The lines that passOver stops before, as "number:first 12 bytes", a cut
// line marked "(cut)"; "end at N" at the end.
std::string stopsOf(InputStream& in, const LineSearch& search) {
  std::string log;
  std::string_view line;
  for (;;) {
    in.passOver(search);
    if (!in.nextLine(line)) break;
    log += std::to_string(in.lineNumber()) + ":" + std::string(line.substr(0, 12)) +
           (in.lastLineCut() ? " (cut)" : "") + "|";
  }
  return log + "end at " + std::to_string(in.lineNumber());
}

TEST(InputStream, PassOverSearchesTheStartOfALongLineAndPassesTheRest) {
  const std::size_t size = std::size_t(20) << 20;
  std::string marked(size, 'y');
  marked.replace(1000, 4, "MARK");  // where every read of the line can see it
  std::string deep(size, 'z');
  deep.replace(size / 2, 4, "MARK");  // far past what a file's stream holds of it
  const struct {
    std::string what, text, stops;
    std::string fromMemory;  // when it differs: a text in memory is searched whole
  } cases[] = {
      {"a marker in the start of a long line", "one\n" + marked + "\nafter MARK\n",
       "2:yyyyyyyyyyyy (cut)|3:after MARK|end at 3", ""},
      {"a long line without a marker", "one\n" + std::string(size, '\0') + "\nafter MARK\nlast\n",
       "3:after MARK|end at 4", ""},
      {"a long line without a line end", std::string(size, '\0'), "end at 1", ""},
      {"a marker past the first megabytes", "MARK one\n" + deep + "\n", "1:MARK one|end at 2",
       "1:MARK one|2:zzzzzzzzzzzz (cut)|end at 2"},
  };
  for (const auto& c : cases) {
    for (Transport how : kTransports) {
      StreamFeed feed({c.text}, {"t"}, how, kPieces);
      InputStream& in = feed[0];
      const bool memory = how == Transport::Memory;
      EXPECT_EQ(stopsOf(in, FindText("MARK")), memory && !c.fromMemory.empty() ? c.fromMemory : c.stops)
          << c.what << ", " << transportName(how);
      if (!memory) {
        EXPECT_EQ(in.bufferCapacity(), 2 * kMaxLineLength);
      }
    }
  }
}

TEST(InputStream, PassOverAroundLinesLongerThanTheLimit) {
  // limit 8: a hit in the first 10 bytes of a line always stops before it
  const std::string text =
      "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\nMARK 1\nbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb\r\n"
      "ccMARKcccccccccccccccccccccccccc\n\nddddddddddddddddddddd\nMARK 3";
  for (Transport how : kTransports) {
    for (std::size_t piece : {1, 2, 3, 7, 64}) {
      StreamFeed feed({text}, {"t"}, how, {piece}, 8);
      EXPECT_EQ(stopsOf(feed[0], FindText("MARK")), "2:MARK 1|4:ccMARKcc (cut)|7:MARK 3|end at 7")
          << transportName(how) << ", pieces of " << piece;
    }
  }
}

TEST(InputStream, ReadsOfACutLine) {
  // A free-format read refuses the line; a skip, the whole-line read of the
  // marker scans and the Polyrate frequency line take its first part.
  const std::string text = "1.5\n2.5 " + std::string(std::size_t(3) << 20, ' ') + "\n3.5\n";
  const std::string refusal =
      "kelmar: r.out, line 2: the line is longer than 1048576 bytes (1 MiB), the most a data line may hold";
  for (Transport how : kTransports) {
    for (bool plain : {true, false}) {
      StreamFeed feed({text}, {"r.out"}, how, kPieces, kMaxLineLength, plain);
      InputStream& in = feed[0];
      double v = 0.0;
      freeRead(in, {ReadItem::real(v)});
      EXPECT_EQ(v, 1.5);
      EXPECT_EQ(runEndMessage([&] { freeRead(in, {ReadItem::real(v)}); }), refusal) << transportName(how);
      const Section table{"the geometry table", "atoms", 1, 3, 0, 3};
      SectionScope scope(in, table);
      in.stepBack();
      EXPECT_EQ(runEndMessage([&] { freeRead(in, {ReadItem::real(v)}); }),
                refusal + " (the geometry table of atoms 1-3, natom 3)");
    }
    // columns 16-26 and 37-56
    const std::string frequencies =
        std::string(15, ' ') + "  1234.5678" + std::string(10, ' ') + "         -987.65    " + std::string(3 << 20, ' ');
    StreamFeed feed({text, text, frequencies + "\n"}, {"r.out", "p.out", "poly.out"}, how, kPieces);
    double v = 0.0;
    skipLines(feed[0], 2);
    freeRead(feed[0], {ReadItem::real(v)});
    EXPECT_EQ(v, 3.5);
    LineBuffer buffer;
    ASSERT_TRUE(readWholeLine(feed[1], buffer) && readWholeLine(feed[1], buffer));
    EXPECT_EQ(buffer.view(), "2.5" + std::string(LineBuffer::kLength - 3, ' '));
    ASSERT_TRUE(readWholeLine(feed[1], buffer));
    EXPECT_EQ(buffer.view().substr(0, 4), "3.5 ");
    double first = 0.0, second = 0.0;
    readFrequencyColumns(feed[2], first, &second);
    EXPECT_EQ(first, 1234.5678);
    EXPECT_EQ(second, -987.65);
  }
}

// The head holds the first bytes of the input however they arrive: a text
// in memory, a file, or a pipe written in small pieces, whether the lines
// were read or passed over.
TEST(InputStream, HeadHoldsTheFirstBytesHoweverTheyArrive) {
  std::string text;
  for (int i = 0; text.size() < 3 * InputStream::kHeadLength; ++i) text += "line " + std::to_string(i) + "\n";
  const std::string shortText = "one line\nand a last one without its line end";
  struct NoHit : LineSearch {
    std::size_t find(const char*, std::size_t size, long&) const override { return size; }
  };
  for (Transport how : {Transport::Memory, Transport::File, Transport::Pipe}) {
    StreamFeed feed({text, shortText, text}, {"a", "b", "c"}, how, {1, 7, 300});
    std::string_view line;
    EXPECT_TRUE(feed[0].nextLine(line));
    EXPECT_LE(feed[0].head().size(), InputStream::kHeadLength);
    EXPECT_EQ(feed[0].head(), std::string_view(text).substr(0, feed[0].head().size())) << transportName(how);
    while (feed[0].nextLine(line)) {
    }
    EXPECT_EQ(feed[0].head(), std::string_view(text).substr(0, InputStream::kHeadLength)) << transportName(how);
    while (feed[1].nextLine(line)) {
    }
    EXPECT_EQ(feed[1].head(), shortText) << transportName(how);
    feed[2].passOver(NoHit());
    EXPECT_EQ(feed[2].head(), std::string_view(text).substr(0, InputStream::kHeadLength)) << transportName(how);
  }
}

TEST(InputStream, OpeningAMissingFileOrADirectoryFails) {
  std::string why;
  EXPECT_FALSE(openInputFile("/nonexistent/kelmar/file", why));
  EXPECT_EQ(why, "No such file or directory");
  EXPECT_FALSE(openInputFile("/tmp", why));
  EXPECT_EQ(why, "Is a directory");
}

}  // namespace
}  // namespace kelmar
