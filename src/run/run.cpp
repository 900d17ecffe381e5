#include "run/run.h"

#include <exception>
#include <memory>

#include "analysis/analysis.h"
#include "input/input.h"
#include "superposition/superposition.h"

namespace kelmar {

void analyse(Projection& p, Coor& coor, int ninit, Console& console) {
  optgeom(p, coor, console);
  switch (p.reactype.words().translations) {
    case Translations::Relative:
      gasphase(p, coor, console);
      break;
    case Translations::Molecular:
      surfacemodes(p, coor, console);
      break;
    case Translations::None:
      break;
  }
  printout(p, ninit, console);
  // Only absurd magnitudes, from damaged files, overflow the sums and norms;
  // a report that holds their result must not pass for a good one.
  if (console.out.wroteUnfitValue()) {
    rejectInput(
        "the report holds values that are not finite numbers or do not fit their fields (NaN, Infinity "
        "or asterisks); check the magnitudes of the coordinates, mode components and wavenumbers in the "
        "structure files, and of the masses and delt in the control file");
  }
}

int runKelmar(Console& console) {
  try {
    auto p = std::make_unique<Projection>();
    auto coor = std::make_unique<Coor>();
    int ninit = 0;
    // the processor decides once how the structure files are scanned
    const ScanKernel kernel = fastestScanKernel();
    readfile(*p, console);
    countmodes(*p, ninit, console);
    input(*p, *coor, kernel, console);
    analyse(*p, *coor, ninit, console);
    console.out.writeFieldWarnings();
    return 0;
  } catch (const RunEnd& end) {
    console.out.writeFieldWarnings();
    if (!end.message.empty()) {
      console.out.err() << end.message << '\n';
      console.out.err().flush();
    }
    return end.status;
  } catch (const std::exception& e) {
    console.out.writeFieldWarnings();
    console.out.err() << "kelmar: internal error: " << e.what() << '\n';
    console.out.err().flush();
    return 3;
  }
}

}  // namespace kelmar
