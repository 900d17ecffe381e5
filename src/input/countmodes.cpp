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
  if (contains(p.reactype, "surface")) {
    p.nvibm = 3 * p.natom;
  } else if (contains(p.reactype, "gas")) {
    p.nvibm = p.linear == 1 ? 3 * p.natom - 5 : 3 * p.natom - 6;
  } else {
    stopRun("error in reactype");
  }
  console.out.free({"vibrational mode for initial states and the entire system"});
  console.out.free({ninit, p.nvibm});
}

}  // namespace kelmar
