// A console for unit tests: standard input from a text, standard output and
// standard error into strings; and the helpers that the tests share.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "shared/instream.h"
#include "shared/output.h"
#include "shared/projection.h"
#include "shared/runend.h"

namespace kelmar {

struct TestConsole {
  explicit TestConsole(std::string stdinText = "", bool interactive = true)
      : in(stdinText, "standard input"), console{in, output, interactive} {}
  std::string out() const { return outText.str(); }
  std::string err() const { return errText.str(); }

  std::ostringstream outText;
  std::ostringstream errText;
  InputStream in;
  Output output{outText, errText};
  Console console;
};

// The shared state of a run, on the heap (the mode store is large).
struct TestState {
  std::unique_ptr<Projection> p = std::make_unique<Projection>();
  std::unique_ptr<Coor> coor = std::make_unique<Coor>();
};

// Runs f and returns the message of the run's end that it throws, checking
// its exit status; "the run went on" when f returns.
template <class F>
std::string runEndMessage(F&& f, int status = kStatusBadInput) {
  try {
    f();
  } catch (const RunEnd& e) {
    EXPECT_EQ(e.status, status);
    return e.message;
  }
  return "the run went on";
}

// The lines of a text, without their line ends.
inline std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

// The bytes of a file under tests/data (a test fails when it is missing or
// empty).
inline std::string dataFile(const std::string& path) {
  std::ifstream f(std::string(KELMAR_TEST_DATA) + "/" + path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  EXPECT_FALSE(s.str().empty()) << path;
  return s.str();
}

}  // namespace kelmar
