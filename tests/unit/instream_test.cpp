#include "shared/instream.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

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

TEST(InputStream, FilesLargerThanTheBufferAndLongLines) {
  char path[] = "/tmp/kelmar_instream_XXXXXX";
  int fd = ::mkstemp(path);
  ASSERT_GE(fd, 0);
  std::string text;
  std::string longLine(3'000'000, 'L');  // longer than one buffer fill
  for (int i = 0; i < 200000; ++i) text += "line " + std::to_string(i) + "\n";
  text += longLine + "\nend";
  ASSERT_EQ(::write(fd, text.data(), text.size()), ssize_t(text.size()));
  ::close(fd);
  std::string why;
  auto in = openInputFile(path, why);
  ASSERT_TRUE(in);
  std::string_view line;
  for (int i = 0; i < 200000; ++i) {
    ASSERT_TRUE(in->nextLine(line));
    ASSERT_EQ(line, "line " + std::to_string(i));
  }
  ASSERT_TRUE(in->nextLine(line));
  EXPECT_EQ(line.size(), longLine.size());
  in->stepBack();
  ASSERT_TRUE(in->nextLine(line));
  EXPECT_EQ(line.size(), longLine.size());
  ASSERT_TRUE(in->nextLine(line));
  EXPECT_EQ(line, "end");
  EXPECT_FALSE(in->nextLine(line));
  std::remove(path);
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
