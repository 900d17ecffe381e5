// The report: the projection of every translational and rotational vector
// and of every reactant (or product) mode onto the transition state's
// reaction mode.
#include "analysis/analysis.h"

namespace kelmar {
namespace {

// The signed dot product of mode m of slab s with the reaction mode, over
// rows 1..3*natom.
double projectOnReactionMode(const Projection& p, int m, int s) {
  double sum = 0.0;
  for (int k = 1; k <= 3 * p.natom; ++k) sum = sum + p.eigv(m, k, s) * p.eigv(p.nimag, k, p.itrans);
  return sum;
}

// The projection line of mode m of the transition-state slab, then its
// components atom by atom.
void vectorLines(const Projection& p, const char* label, int m, Console& console) {
  console.out.fixed(layoutTextF10(), {label, projectOnReactionMode(p, m, p.itrans)});
  for (int a = 1; a <= p.natom; ++a) {
    console.out.fixed(layoutThreeF10(), {p.eigv(m, 3 * a - 2, p.itrans), p.eigv(m, 3 * a - 1, p.itrans),
                                         p.eigv(m, 3 * a, p.itrans)});
  }
}

}  // namespace

void printout(const Projection& p, int ninit, Console& console) {
  Output& out = console.out;
  static constexpr const char* kRule = "==============================================";

  out.free({});
  out.free({kRule});
  out.free({p.iprod == 1 ? "kelmar calculations for products" : "kelmar calculations for reactants"});
  out.free({kRule});
  out.free({});
  out.free({"print out all kelmar results"});
  out.free({});

  switch (p.reactype.words().translations) {
    case Translations::Relative:
      out.free({"translational vector by small displacement"});
      vectorLines(p, " translational", p.nmode + 1, console);
      break;
    case Translations::Molecular:
      out.free({"translational vectors by small displacements"});
      out.free({"in the sequence of X, Y and Z"});
      for (int j = 1; j <= 3; ++j) vectorLines(p, " translational modes", p.nmode + j, console);
      out.free({});
      for (int j = 1; j <= 3; ++j) vectorLines(p, " rotational modes", p.nmode + 3 + j, console);
      break;
    case Translations::None:
      break;
  }

  out.free({});

  // With Gaussian files the vibrations of the separated reactants are the
  // last ninit modes (Gaussian lists the modes from the lowest frequency
  // up); with the other programs' files they are the first ninit.
  const int slab = 1 + p.iprod;
  for (int m = 1; m <= p.nvibm; ++m) {
    bool vibration = p.software.words().vibrationsLast ? m > p.nvibm - ninit : m <= ninit;
    const char* label = vibration ? " reactant vib mode" : " reactant rot or transmode";
    out.fixed(layoutModeLine(), {label, m, p.freq(m, slab), projectOnReactionMode(p, m, slab)});
  }
}

}  // namespace kelmar
