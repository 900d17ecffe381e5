// A console for unit tests: standard input from a text, standard output and
// standard error into strings.
#pragma once

#include <sstream>
#include <string>

#include "shared/instream.h"
#include "shared/output.h"
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

}  // namespace kelmar
