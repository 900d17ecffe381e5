// kelmar: mode specificity of a reaction from the output files of an outside
// program. The control file comes on standard input; the report goes to
// standard output.
#include <iostream>

#include "run/run.h"
#include "shared/instream.h"
#include "shared/output.h"
#include "shared/runend.h"

int main(int argc, char**) {
  // The program reads no arguments: a name given on the command line would
  // otherwise leave it waiting for the control file on standard input.
  if (argc > 1) {
    std::cerr << "usage: kelmar < kelmarinput.txt (kelmar takes no arguments; the control file comes on "
                 "standard input)\n";
    return kelmar::kStatusBadInput;
  }
  std::ios::sync_with_stdio(false);
  kelmar::InputStream in(0, "standard input", false);
  kelmar::Output out(std::cout, std::cerr);
  kelmar::Console console{in, out, kelmar::standardInputInteractive()};
  return kelmar::runKelmar(console);
}
