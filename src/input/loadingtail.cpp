#include <cmath>
#include <string>
#include <vector>

#include "input/input.h"
#include "shared/output.h"

namespace kelmar {
namespace {

std::string number(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

}  // namespace

void loadingtail(Projection& p, Coor& coor, Console& console) {
  Output& out = console.out;
  const int n = p.natom;

  // Every mass weights a mode vector or a centre of mass later on.
  for (int a = 1; a <= n; ++a) {
    if (!(p.amass(a) > 0.0)) {
      rejectInput("atom " + std::to_string(a) + " has the mass " + number(p.amass(a)) +
                  "; every mass must be positive (the control file's masses, or those of the "
                  "structure files)");
    }
  }

  // fragment masses
  p.tmass1 = 0.0;
  for (int a = 1; a <= p.nreact1; ++a) p.tmass1 = p.tmass1 + p.amass(a);
  p.tmass2 = 0.0;
  for (int a = p.nreact1 + 1; a <= n; ++a) p.tmass2 = p.tmass2 + p.amass(a);
  p.tmass = p.tmass1 + p.tmass2;

  // masses and geometries, slab by slab
  out.free({});
  out.free({"atomic mass, cartesian coordinates"});
  out.free({});
  for (int s = 1; s <= p.itrans; ++s) {
    for (int a = 1; a <= n; ++a) {
      int pos = n * (s - 1) + a;
      out.fixed(layoutSixF15(), {p.amass(a), coor.x(pos), coor.y(pos), coor.z(pos)});
    }
    out.free({});
  }

  // frequencies, one column per slab
  out.free({"frequencies for stationary points"});
  out.free({});
  std::vector<OutItem> row;
  for (int m = 1; m <= p.nvibm; ++m) {
    row.clear();
    for (int s = 1; s <= p.itrans; ++s) row.emplace_back(p.freq(m, s));
    out.fixed(layoutHundredF15(), row);
  }
  out.free({});

  // Gaussian and Molpro modes become unit mode vectors; the other programs'
  // modes are projected as read.
  if (contains(p.software, "gaussian") || contains(p.software, "molpro")) {
    for (int s = 1; s <= p.itrans; ++s) {
      for (int m = 1; m <= p.nvibm; ++m) {
        for (int a = 1; a <= n; ++a) {
          double w = std::sqrt(p.amass(a));
          for (int r = 3 * a - 2; r <= 3 * a; ++r) p.eigv(m, r, s) = p.eigv(m, r, s) * w;
        }
        double sum = 0.0;
        for (int r = 1; r <= 3 * n; ++r) sum = sum + p.eigv(m, r, s) * p.eigv(m, r, s);
        double norm = std::sqrt(sum);
        if (norm == 0.0) {
          rejectInput(std::string(p.slabFileName(s)) + ": mode " + std::to_string(m) +
                      " has no nonzero component, so it cannot be normalised (the file holds no "
                      "frequency section, or fewer modes than the control file's atom count needs)");
        }
        double q = 1.0 / norm;
        for (int r = 1; r <= p.nmode; ++r) p.eigv(m, r, s) = p.eigv(m, r, s) * q;
      }
    }
  }

  out.free({"imaginary frequency at TS"});
  out.free({p.freq(p.nimag, p.itrans)});
  out.free({});

  out.free({"normal mode vector for reaction mode"});
  for (int a = 1; a <= n; ++a) {
    out.fixed(layoutThreeF10(), {p.eigv(p.nimag, 3 * a - 2, p.itrans), p.eigv(p.nimag, 3 * a - 1, p.itrans),
                                 p.eigv(p.nimag, 3 * a, p.itrans)});
  }
  out.free({});
}

}  // namespace kelmar
