#include "shared/output.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sstream>
#include <thread>

#include "shared/descriptorbuf.h"
#include "shared/runend.h"
#include "testconsole.h"

namespace kelmar {
namespace {

struct Written {
  std::ostringstream out, err;
  Output output{out, err};
};

TEST(FreeFormat, RealsIntegersAndTexts) {
  const struct {
    std::vector<OutItem> items;
    const char* line;
  } cases[] = {
      {{1.0}, "   1.00000000000000     "},
      {{0.5}, "  0.500000000000000     "},
      {{-2.5}, "  -2.50000000000000     "},
      {{1234.5}, "   1234.50000000000     "},
      {{123456789012345.0}, "   123456789012345.     "},
      {{0.05}, "  5.000000000000000E-002"},
      {{-0.000123}, " -1.230000000000000E-004"},
      {{1.0e15}, "  1.000000000000000E+015"},
      {{0.09999999999999999}, "  0.100000000000000     "},
      {{0.0999999999999994}, "  9.999999999999939E-002"},
      {{0.0}, "  0.000000000000000E+000"},
      {{-0.0}, "  0.000000000000000E+000"},
      {{-952.5}, "  -952.500000000000     "},
      {{1.0e-300}, "  1.000000000000000E-300"},
      {{-1.5e200}, " -1.500000000000000E+200"},
      {{std::numeric_limits<double>::quiet_NaN()}, "                     NaN"},
      {{std::numeric_limits<double>::infinity()}, "                Infinity"},
      {{-std::numeric_limits<double>::infinity()}, "               -Infinity"},
      {{3}, "           3"},
      {{-12}, "         -12"},
      {{"natom,nreact1", 3, 1}, " natom,nreact1           3           1"},
      {{7, "ab"}, "           7 ab"},
      {{"a", "b"}, " ab"},
      {{}, " "},
      {{"iprod", 0}, " iprod           0"},
  };
  for (const auto& c : cases) {
    Written w;
    w.output.free(c.items);
    EXPECT_EQ(w.out.str(), std::string(c.line) + "\n");
    EXPECT_EQ(w.err.str(), "");
  }
}

TEST(FreeFormat, RoundsTiesToEvenOnTheExactValue) {
  // 0.0625 has the exact binary value; 2.5 at zero decimals is a tie.
  EXPECT_EQ(formatFreeReal(1.0625), "   1.06250000000000     ");
  EXPECT_EQ(formatFreeReal(0.1), "  0.100000000000000     ");
  // 2^-1 * (1 + 2^-52): the 16th digit decides
  EXPECT_EQ(formatFreeReal(0.5000000000000001), "  0.500000000000000     ");
}

TEST(FreeFormat, LinesBreakAtEightyColumns) {
  Written w;
  w.output.free({" final=", 1.0, 2.0, 3.0});
  EXPECT_EQ(w.out.str().size(), 81u);  // exactly 80 columns and the line end
  Written four;
  four.output.free({1.0, 2.0, 3.0, 4.0});
  EXPECT_EQ(four.out.str(), std::string(formatFreeReal(1.0)) + formatFreeReal(2.0) + formatFreeReal(3.0) +
                                "\n" + formatFreeReal(4.0) + "\n");
  Written text;
  text.output.free({1.0, 2.0, 3.0, "abcdefghi"});
  EXPECT_EQ(text.out.str(), formatFreeReal(1.0) + formatFreeReal(2.0) + formatFreeReal(3.0) + "\n abcdefghi\n");
  Written trace;
  trace.output.free({" iter=", 4, " fret=", 0.25});
  EXPECT_EQ(trace.out.str(), "  iter=           4  fret=  0.250000000000000     \n");
}

TEST(FixedLayout, FieldsOfTenAndFifteenColumns) {
  const struct {
    double value;
    int width, decimals;
    const char* text;
  } cases[] = {
      {0.1234, 10, 3, "     0.123"},     {-1.5, 10, 3, "    -1.500"},      {0.0625, 10, 3, "     0.062"},
      {2.0005, 10, 3, "     2.001"},     {-0.0004, 10, 3, "    -0.000"},    {-0.0, 10, 3, "     0.000"},
      {-0.0004, 15, 8, "    -0.00040000"}, {999999.9996, 15, 8, "999999.99960000"},
      {-952.5, 15, 8, "  -952.50000000"}, {0.123, 4, 3, ".123"},           {-0.5, 5, 3, "-.500"},
      {std::numeric_limits<double>::quiet_NaN(), 10, 3, "       NaN"},
      {std::numeric_limits<double>::infinity(), 10, 3, "  Infinity"},
      {-std::numeric_limits<double>::infinity(), 5, 3, " -Inf"},
  };
  for (const auto& c : cases) {
    bool tooWide = true;
    EXPECT_EQ(formatFixed(c.value, c.width, c.decimals, tooWide), c.text) << c.value;
    EXPECT_FALSE(tooWide) << c.value;
  }
}

TEST(FixedLayout, TooWideValuesGiveAsterisksAndOneWarningPerField) {
  Written w;
  w.output.free({"a line before"});
  w.output.raw("a prompt, no line end: ");
  w.output.fixed(layoutThreeF10(), {1.0, 1234567.891, -1234567.0});
  w.output.fixed(layoutSixF15(), {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, -1e30});
  w.output.fixed(layoutThreeF10(), {-1e30, 1.0, 2.0});
  EXPECT_EQ(w.out.str(),
            " a line before\n"
            "a prompt, no line end:      1.000********************\n"
            "     1.00000000     2.00000000     3.00000000     4.00000000     5.00000000     6.00000000\n"
            "     7.00000000***************\n"
            "**********     1.000     2.000\n");
  // Nothing until the run ends; then one warning per field, the first value
  // where it stands, the count where there are more.
  EXPECT_EQ(w.err.str(), "");
  EXPECT_TRUE(w.output.wroteUnfitValue());
  w.output.writeFieldWarnings();
  EXPECT_EQ(w.err.str(),
            "kelmar: warning: 3 values do not fit the output field F10.3; written as asterisks, the first of them, "
            "1234567.891, on standard output, line 2, columns 34-43\n"
            "kelmar: warning: -1e+30 does not fit the output field F15.8; written as asterisks (standard output, "
            "line 4, columns 16-30)\n");
  w.output.writeFieldWarnings();
  const std::string warnings = w.err.str();
  EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 2) << "written once";
  bool tooWide = false;
  EXPECT_EQ(formatFixed(-1234567.0, 15, 8, tooWide), "***************");
  EXPECT_TRUE(tooWide);
}

TEST(FixedLayout, ItemsRunOutOrStartTheLayoutAgain) {
  Written four;
  four.output.fixed(layoutSixF15(), {1.008, 0.0, 0.0, 2.5});
  EXPECT_EQ(four.out.str(), "     1.00800000     0.00000000     0.00000000     2.50000000\n");
  Written eight;
  eight.output.fixed(layoutSixF15(), {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0});
  EXPECT_EQ(eight.out.str(),
            "     1.00000000     2.00000000     3.00000000     4.00000000     5.00000000     6.00000000\n"
            "     7.00000000     8.00000000\n");
  Written mode;
  mode.output.fixed(layoutModeLine(), {" reactant vib mode", 3, 986.312, 0.021});
  EXPECT_EQ(mode.out.str(), " reactant vib mode           3   986.312     0.021\n");
  Written label;
  label.output.fixed(layoutTextF10(), {" translational", 0.612});
  EXPECT_EQ(label.out.str(), " translational     0.612\n");
}

// A report buffer that takes `room` bytes and then fails with `reason`;
// each write takes at most `piece` bytes, and every other one is interrupted
// (EINTR) before it takes any.
class NarrowBuf : public DescriptorBuf {
 public:
  NarrowBuf(std::size_t room, int reason, std::size_t piece = 1000)
      : room_(room), reason_(reason), piece_(piece) {}
  std::string taken;
  int calls = 0;

 protected:
  long writeSome(const char* data, std::size_t size) override {
    ++calls;
    if (calls % 2 == 0) {
      errno = EINTR;
      return -1;
    }
    if (taken.size() == room_) {
      errno = reason_;
      return -1;
    }
    std::size_t n = std::min({size, piece_, room_ - taken.size()});
    taken.append(data, n);
    return long(n);
  }

 private:
  std::size_t room_;
  int reason_;
  std::size_t piece_;
};

// The message of a report lost for the reason `why`.
std::string lostReport(const char* why) {
  return std::string("kelmar: standard output: cannot write the report: ") + why + "; the report is incomplete";
}

// The lines of a short report, written one at a time; the number of lines
// written when the run ended, and its end.
struct CutReport {
  int linesWritten = 0;
  RunEnd end;
};
CutReport writeReport(Output& output) {
  CutReport r;
  try {
    output.free({"Kelmar calculations"});
    ++r.linesWritten;
    output.fixed(layoutThreeF10(), {1.0, 2.0, 3.0});
    ++r.linesWritten;
    output.raw("PAUSE prompt> ");
    ++r.linesWritten;
    output.free({" final=", 1.0, 2.0, 3.0});
    ++r.linesWritten;
  } catch (const RunEnd& end) {
    r.end = end;
  }
  return r;
}

TEST(ReportStream, AFailedWriteEndsTheRunWithTheSystemsReason) {
  std::ostringstream whole, err;
  Output reference(whole, err);
  ASSERT_EQ(writeReport(reference).linesWritten, 4);
  const std::string report = whole.str();  // 21 + 31 + 14 + 81 bytes
  const struct {
    std::size_t room, piece;
    int reason;
    int linesWritten;
    const char* why;
  } cases[] = {
      {0, 1000, ENOSPC, 0, "No space left on device"},
      {21, 1000, EFBIG, 1, "File too large"},            // the second line takes nothing
      {40, 1000, ENOSPC, 1, "No space left on device"},  // the second line is cut
      {60, 7, EIO, 2, "Input/output error"},             // the pause prompt is cut
      {100, 3, ENOSPC, 3, "No space left on device"},    // short writes up to the cut
      {report.size(), 3, ENOSPC, 4, nullptr},            // it all fits, in pieces of 3 bytes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.room);
    NarrowBuf buf(c.room, c.reason, c.piece);
    std::ostream out(&buf);
    std::ostringstream warnings;
    Output output(out, warnings);
    CutReport r = writeReport(output);
    EXPECT_EQ(buf.taken, report.substr(0, c.room));
    EXPECT_EQ(r.linesWritten, c.linesWritten);
    if (c.why == nullptr) {
      EXPECT_EQ(r.end.status, 0);
      continue;
    }
    EXPECT_EQ(r.end.status, kStatusReportLost);
    EXPECT_EQ(r.end.message, lostReport(c.why));
    // The stream stays failed: a later write ends the run again and sends
    // nothing more.
    int calls = buf.calls;
    EXPECT_EQ(runEndMessage([&] { output.free({"more"}); }, kStatusReportLost), r.end.message);
    EXPECT_EQ(buf.calls, calls);
  }
}

TEST(ReportStream, DescriptorsThatCannotTakeTheReport) {
  // A descriptor that is not open: a file opened later takes its number, but
  // the report must not land in it.
  int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ::close(fd);
  DescriptorBuf closedBuf(fd);
  std::string name = (std::filesystem::temp_directory_path() / "kelmar_report_XXXXXX").string();
  int later = ::mkstemp(name.data());
  ASSERT_EQ(later, fd);
  int readOnly = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(readOnly, 0);
  ASSERT_GE(full, 0);
  DescriptorBuf readOnlyBuf(readOnly), fullBuf(full);
  const struct {
    DescriptorBuf* buf;
    const char* why;
  } cases[] = {
      {&closedBuf, "Bad file descriptor"},
      {&readOnlyBuf, "Bad file descriptor"},
      {&fullBuf, "No space left on device"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    std::ostream out(c.buf);
    std::ostringstream warnings;
    Output output(out, warnings);
    EXPECT_EQ(runEndMessage([&] { output.free({"Kelmar calculations"}); }, kStatusReportLost),
              lostReport(c.why));
  }
  EXPECT_EQ(::lseek(later, 0, SEEK_END), 0);
  EXPECT_FALSE(closedBuf.close());
  EXPECT_FALSE(readOnlyBuf.close());
  EXPECT_FALSE(fullBuf.close());
  ::close(later);
  ::unlink(name.c_str());
}

TEST(ReportStream, AFullNonBlockingPipeIsWaitedFor) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ASSERT_EQ(::fcntl(ends[1], F_SETFL, O_NONBLOCK), 0);
  // More than a pipe holds, so that writes find it full while the reader
  // is slow to start.
  const std::string line(79, 'x');
  const int lines = 4000;
  std::string received;
  std::thread reader([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    char chunk[4096];
    for (ssize_t n; (n = ::read(ends[0], chunk, sizeof chunk)) > 0;) received.append(chunk, std::size_t(n));
  });
  DescriptorBuf buf(ends[1]);
  std::ostream out(&buf);
  std::ostringstream warnings;
  Output output(out, warnings);
  auto writeAll = [&] {
    for (int i = 0; i < lines; ++i) output.free({line});
  };
  std::string end = runEndMessage(writeAll, kStatusReportLost);
  EXPECT_TRUE(buf.close());
  reader.join();
  EXPECT_EQ(end, "the run went on");
  ::close(ends[0]);
  EXPECT_EQ(received.size(), std::size_t(lines) * 81);
  EXPECT_EQ(buf.error(), 0);
}

}  // namespace
}  // namespace kelmar
