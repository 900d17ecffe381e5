// kelmar: mode specificity of a reaction from the output files of an outside
// program. The control file comes on standard input; the report goes to
// standard output.
#include <iostream>

#include "input/run.h"
#include "shared/instream.h"
#include "shared/output.h"
#include "shared/runend.h"

int main() {
  std::ios::sync_with_stdio(false);
  kelmar::InputStream in(0, "standard input", false);
  kelmar::Output out(std::cout, std::cerr);
  kelmar::Console console{in, out, kelmar::standardInputInteractive()};
  return kelmar::runKelmar(console);
}
