#include "input/linearity.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "input/input.h"
#include "shared/output.h"

namespace kelmar {
namespace {

// The geometry check's tolerance, in angstrom.
constexpr double kToleranceAngstrom = 0.01;

std::string distanceText(double d) {
  char shown[32];
  std::snprintf(shown, sizeof shown, "%.3f", d);
  return shown;
}

std::string toleranceText(const Projection& p) {
  char shown[32];
  std::snprintf(shown, sizeof shown, "%.3g", lineTolerance(p));
  return std::string(shown) + " " + std::string(lengthUnit(p));
}

// One flag against atoms first..last: `flag` names it ("linear1"), `part`
// the atoms it describes ("fragment 1"), `linearEffect` what a flag of 1
// does.
struct FlagCheck {
  const char* flag;
  int value;
  const char* part;
  int first;
  int last;
  const char* linearEffect;
};

void checkFlag(const Projection& p, const Coor& coor, Console& console, const FlagCheck& c) {
  if (c.last - c.first + 1 < 3) return;  // two atoms count the same either way
  const double tolerance = lineTolerance(p);
  const LineFit fit = fitLine(coor, c.first, c.last, tolerance);
  if (!fit.spread || !std::isfinite(fit.offset)) return;
  const bool onLine = fit.offset <= tolerance;
  const bool flagged = c.value == 1;
  if (onLine == flagged) return;
  const std::string name = structureName(p, 1);
  const std::string where = c.part + std::string(" (") + atomRange(c.first, c.last) + ")";
  const std::string line = "the line through atoms " + std::to_string(fit.end1) + " and " +
                           std::to_string(fit.end2) + ", the two farthest apart";
  std::string note = name + ": " + c.flag + " is " + std::to_string(c.value) + ", but " + where;
  if (flagged) {
    note += " does not lie on a line: atom " + std::to_string(fit.farthest) + " lies " + distanceText(fit.offset) +
            " " + std::string(lengthUnit(p)) + " from " + line + " (more than the " + toleranceText(p) +
            " allowed); " + c.flag + " 1 " + c.linearEffect;
  } else {
    note += " lies on a line (every atom within " + toleranceText(p) + " of " + line + "); a linear molecule needs " +
            c.flag + " 1, which " + c.linearEffect;
  }
  writeNote(console, note);
}

}  // namespace

bool notesModesLeftOut(const Projection& p) { return p.reactype.words().modes == ModeCount::Vibrations; }

void noteModesLeftOut(const Projection& p, Console& console, std::string_view place, std::string_view what,
                      int mode, double wavenumber) {
  std::string note = std::string(place) + std::string(what) + " go on past the " + std::to_string(p.nvibm) +
                     " that the run reads (nvibm = " + (p.linear == 1 ? "3*natom-5" : "3*natom-6") + "): mode " +
                     std::to_string(mode) + " (" + shortestNumber(wavenumber) + " cm-1) is left out";
  const int linearModes = 3 * p.natom - 5;
  if (p.linear != 1 && mode == linearModes) {
    note += "; a linear molecule has 3*natom-5 = " + std::to_string(linearModes) +
            " modes and needs linear 1 in the control file";
  }
  writeNote(console, note);
}

LineFit fitLine(const Coor& coor, int first, int last, double tolerance) {
  // slab 1: atom a sits at position a
  LineFit fit;
  double widest = 0.0;
  for (int i = first; i <= last; ++i) {
    for (int j = i + 1; j <= last; ++j) {
      const double dx = coor.x(j) - coor.x(i);
      const double dy = coor.y(j) - coor.y(i);
      const double dz = coor.z(j) - coor.z(i);
      const double d2 = dx * dx + dy * dy + dz * dz;
      if (d2 > widest) {
        widest = d2;
        fit.end1 = i;
        fit.end2 = j;
      }
    }
  }
  // Coordinates so large that a distance overflows say nothing of a line.
  const double length = std::sqrt(widest);
  if (!(length > tolerance) || !std::isfinite(length)) return fit;
  fit.spread = true;
  // unit vector along the line
  const double ux = (coor.x(fit.end2) - coor.x(fit.end1)) / length;
  const double uy = (coor.y(fit.end2) - coor.y(fit.end1)) / length;
  const double uz = (coor.z(fit.end2) - coor.z(fit.end1)) / length;
  for (int a = first; a <= last; ++a) {
    const double rx = coor.x(a) - coor.x(fit.end1);
    const double ry = coor.y(a) - coor.y(fit.end1);
    const double rz = coor.z(a) - coor.z(fit.end1);
    // the length of r x u is the distance of atom a from the line
    const double cx = ry * uz - rz * uy;
    const double cy = rz * ux - rx * uz;
    const double cz = rx * uy - ry * ux;
    const double d = std::sqrt(cx * cx + cy * cy + cz * cz);
    if (d > fit.offset || std::isnan(d)) {
      fit.offset = d;
      fit.farthest = a;
    }
  }
  return fit;
}

double lineTolerance(const Projection& p) {
  return geometryInBohr(p) ? kToleranceAngstrom / kBohrInAngstrom : kToleranceAngstrom;
}

std::string_view lengthUnit(const Projection& p) {
  return geometryInBohr(p) ? "bohr" : "angstrom";
}

void notelinearity(const Projection& p, const Coor& coor, Console& console) {
  const char* labels =
      "counts 3n-5 vibrations for it (3n-6 for a non-linear one) in ninit, the count that labels the report's mode "
      "lines";
  checkFlag(p, coor, console, {"linear1", p.linear1, "fragment 1", 1, p.nreact1, labels});
  checkFlag(p, coor, console, {"linear2", p.linear2, "fragment 2", p.nreact1 + 1, p.natom, labels});
  // linear decides nvibm only in a gas-phase run
  if (notesModesLeftOut(p)) {
    checkFlag(p, coor, console,
              {"linear", p.linear, "the system", 1, p.natom,
               "reads and projects 3*natom-5 modes (nvibm; 3*natom-6 for a non-linear system)"});
  }
}

}  // namespace kelmar
