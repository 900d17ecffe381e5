// The mode counts: nmode, the Cartesian rows of a mode vector; nvibm, the
// modes loaded and projected per structure; and ninit, the vibrations of the
// separated reactants, which labels the report's mode lines.
#include <string>

#include "input/input.h"

namespace kelmar {
namespace {

// Vibrations of a fragment of n atoms with linearity flag f.
int vibrations(int n, int f) {
  if (n <= 1) return 0;
  if (n == 2) return 1;
  return f == 1 ? 3 * n - 5 : 3 * n - 6;
}

}  // namespace

void countmodes(Projection& p, int& ninit, Console& console) {
  p.nmode = 3 * p.natom;
  ninit = vibrations(p.nreact1, p.linear1) + vibrations(p.natom - p.nreact1, p.linear2);
  switch (p.reactype.words().modes) {
    case ModeCount::AllCartesian:
      p.nvibm = 3 * p.natom;
      break;
    case ModeCount::Vibrations:
      p.nvibm = p.linear == 1 ? 3 * p.natom - 5 : 3 * p.natom - 6;
      break;
    case ModeCount::None:
      stopRun("error in reactype", p.placeOf(Origin{0, p.reactypeLine}) + ": reactype " +
                                       quoteForMessage(trimmedName(p.reactype.text())) + " contains " +
                                       std::string(kReactypeWordsNeither) +
                                       " (the words are matched case-sensitively, anywhere in the value)");
  }
  console.out.free({"vibrational mode for initial states and the entire system"});
  console.out.free({ninit, p.nvibm});

  // Only a gas-phase count can leave nothing to project.
  if (p.nvibm < 1) {
    std::string hint = p.natom == 1 ? "a single atom has no vibrational mode"
                                    : "a diatomic is linear: set linear to 1";
    rejectInput("natom " + std::to_string(p.natom) + " with linear " + std::to_string(p.linear) + " leaves " +
                std::to_string(p.nvibm) + " vibrational modes (" +
                (p.linear == 1 ? "3*natom-5" : "3*natom-6") + "); a gas-phase run needs at least one (" + hint +
                ")");
  }
}

}  // namespace kelmar
