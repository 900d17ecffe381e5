// kelmar: mode specificity of a reaction from the output files of an outside
// program. The control file comes on standard input; the report goes to
// standard output.
#include <iostream>

#include "run/run.h"
#include "shared/descriptorbuf.h"
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
  // The report goes through a buffer of our own, which keeps the reason of
  // a failed write for the message.
  kelmar::DescriptorBuf reportBuf(1);
  std::ostream report(&reportBuf);
  kelmar::InputStream in(0, "standard input", false);
  kelmar::Output out(report, std::cerr);
  kelmar::Console console{in, out, kelmar::standardInputInteractive()};
  int status = kelmar::runKelmar(console);
  // Some file systems report a failed write only when the file is closed. A
  // run that ended for another reason keeps its status and its message; the
  // lost report is told after it.
  if (!reportBuf.close() && status != kelmar::kStatusReportLost) {
    std::cerr << kelmar::reportLost(reportBuf.error()).message << '\n';
    std::cerr.flush();
    if (status == 0) status = kelmar::kStatusReportLost;
  }
  return status;
}
