// Reader of Gaussian output files: one file per slab, scanned for three
// markers.
#include <string_view>
#include <vector>

#include "input/input.h"
#include "input/jobgeometry.h"
#include "input/linearity.h"
#include "input/tablerows.h"
#include "shared/freeread.h"
#include "shared/markerscan.h"
#include "shared/numbers.h"

namespace kelmar {
namespace {

// A row of the "Coordinates (Angstroms)" table: centre number, atomic
// number and atomic type, then x, y and z.
constexpr std::string_view kGeometryRow = "iiirrr";
// A row of a mode block: atom number and atomic number, then x, y and z of
// each mode of the block (of every mode the file prints there, whether the
// run reads them or not).
constexpr std::string_view kModeRow = "iirrr+";

// After the "Frequencies --" line of a block Gaussian prints property lines
// ("Red. masses --", "Frc consts  --", "IR Inten    --", and with Raman
// activities "Raman Activ --", "Depolar (P) --", "Depolar (U) --"), then the
// "Atom  AN      X      Y      Z" header. Four lines are skipped; as long as
// the last one skipped is still a property line, one more is.
void skipPropertyLines(InputStream& in) {
  std::string_view last = skipLines(in, 4);
  while (contains(last, "--")) last = skipLines(in, 1);
}

// The look-ahead past the modes that the run reads runs at most once per
// frequency section; its functions are marked cold, which keeps them out of
// the code of the scan's loop.
//
// A mode of the file past the last one that the run reads, with the line of
// its wavenumber.
struct ModeLeftOut {
  bool found = false;
  long line = 0;
  int mode = 0;
  double wavenumber = 0.0;
};

// Whether `line` is the wavenumber line of a block in the default layout:
// "Frequencies", "--" and one real or more. `count` gets the number of
// reals, `value` the real of column `column` (0-based) when there is one.
bool isWavenumberLine(std::string_view line, int column, int& count, double& value) {
  count = 0;
  std::size_t at = 0;
  int token = 0;
  for (;;) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string_view::npos) break;
    std::size_t end = line.find_first_of(" \t", at);
    if (end == std::string_view::npos) end = line.size();
    const std::string_view t = line.substr(at, end - at);
    at = end;
    if (token == 0 && t != "Frequencies") return false;
    if (token == 1 && t != "--") return false;
    if (token >= 2) {
      double v = 0.0;
      if (!parseReal(t, v)) return false;
      if (count == column) value = v;
      ++count;
    }
    ++token;
  }
  return count > 0;
}

// The last block that the run reads, of w modes from mode m0, when the
// file's block there holds more: its wavenumber line, looked at before it
// is read and stepped back over, lists more than w modes.
[[gnu::cold]] ModeLeftOut columnsPastRead(InputStream& in, int m0, int w) {
  ModeLeftOut left;
  std::string_view line;
  if (!in.nextLine(line)) return left;
  int count = 0;
  double value = 0.0;
  if (isWavenumberLine(line, w, count, value) && count > w) left = {true, in.lineNumber(), m0 + w, value};
  in.stepBack();
  return left;
}

// Whether `line` is the line of mode numbers that starts a block, the first
// of them `first`.
bool isModeNumbers(std::string_view line, int first) {
  if (!isTableRow(line, "i+")) return false;
  int number = 0;
  return plainIntegerPrefix(line.substr(line.find_first_not_of(" \t")), number) > 0 && number == first;
}

// Whether the next line starts a block of mode `first` on; the line is
// stepped back over.
[[gnu::cold]] bool blockStartsAt(InputStream& in, int first) {
  std::string_view line;
  if (!in.nextLine(line)) return false;
  const bool starts = isModeNumbers(line, first);
  in.stepBack();
  return starts;
}

// The markers of the scan, for the look-ahead below.
constexpr std::string_view kMarkers[] = {"Thermochemistry", "Coordinates (Angstroms)", "normal coordinates:"};

bool holdsMarker(std::string_view line) {
  LineBuffer buffer;
  buffer.assign(line);
  for (std::string_view marker : kMarkers) {
    if (buffer.contains(marker)) return true;
  }
  return false;
}

// After the last block that the run reads: whether the next block, of mode
// `next` on, follows. A block starts with its line of mode numbers (the
// first of them `next`), a line of symmetry labels and its wavenumber line.
// The look-ahead passes only over lines that hold no marker, which the scan
// would pass over as well, and steps back over the last line it reads, so
// that the scan goes on as if nothing had looked.
[[gnu::cold]] ModeLeftOut blockAfter(InputStream& in, int next) {
  ModeLeftOut left;
  std::string_view line;
  if (!in.nextLine(line)) return left;
  if (!isModeNumbers(line, next)) {
    in.stepBack();
    return left;
  }
  for (int k = 0; k < 2; ++k) {
    if (!in.nextLine(line)) return left;
    int count = 0;
    double value = 0.0;
    if (isWavenumberLine(line, 0, count, value)) {
      left = {true, in.lineNumber(), next, value};
      break;
    }
    if (holdsMarker(line)) break;
  }
  in.stepBack();
  return left;
}

// One block of w modes (3, or fewer in the last block of a linear
// molecule), the first of which is mode m0, for slab s:
//                       1                      2                      3
//                       A                      A                      A
//  Frequencies --   -482.7269               170.6655               269.5624
//  Red. masses --      8.9428                 2.9076                 6.5663
//  Frc consts  --      1.2278                 0.0499                 0.2811
//  IR Inten    --     18.5513                 3.0551                19.9600
//   Atom  AN      X      Y      Z        X      Y      Z        X      Y      Z
//      1   6    -0.34  -0.17  -0.07     0.05  -0.02  -0.18     0.34   0.08   0.05
//
// A file with more atoms than natom lists a row past them: the run ends
// there rather than project modes cut to natom atoms.
//
// With freq=hpmodes Gaussian first prints the modes at high precision, five
// to a block, with their own layout:
//        Frequencies ---    53.1981   84.7415  149.4005  179.3403  263.3734
//  Coord Atom Element:
//    1     1     6          0.00000  -0.00000  -0.00000  -0.10482   0.11959
// which the reads of the default layout would take apart: the run ends at
// that wavenumber line.
//
// With `past` set, the wavenumber line is looked at first, for modes past
// the w that the run reads (see columnsPastRead).
void readModeBlock(Projection& p, InputStream& in, int s, int m0, int w, std::vector<ReadItem>& items,
                   ModeLeftOut* past = nullptr) {
  // A free molecule has 3*natom-6 modes (3*natom-5 when linear), which is
  // where the blocks of a Gaussian file end; a surface run reads 3*natom.
  const int freeModes = 3 * p.natom - 6;
  std::string hint;
  if (p.reactype.words().modes == ModeCount::AllCartesian && m0 + w - 1 > freeModes) {
    hint = "a surface run reads 3*natom = " + std::to_string(p.nvibm) +
           " modes, but the modes of a Gaussian file of a free molecule end at mode " + std::to_string(freeModes) +
           " (3*natom-6; " + std::to_string(freeModes + 1) + " = 3*natom-5 for a linear one)";
  }
  // linear 1 reads one mode past those of a non-linear molecule, where the
  // file's modes end unless a block of that mode starts here
  if (p.reactype.words().modes == ModeCount::Vibrations && p.linear == 1 && freeModes >= 1 &&
      m0 + w - 1 > freeModes && !blockStartsAt(in, m0)) {
    hint = "the file's modes end at mode " + std::to_string(freeModes) +
           " (3*natom-6, as for a non-linear molecule), while linear 1 asks for " + std::to_string(freeModes + 1) +
           " (3*natom-5): linear 1 is for a linear molecule";
  }
  const Section block{"the mode block", "modes", m0, m0 + w - 1, 0, p.natom, hint};
  SectionScope section(in, block);
  skipLines(in, 2);
  if (past) *past = columnsPastRead(in, m0, w);
  std::string dashes;  // the word after Frequencies, padded: "-- ", or "--- " in the high-precision layout
  items.clear();
  items.push_back(ReadItem::word());
  items.push_back(ReadItem::text(dashes, 4));
  for (int j = 0; j < w; ++j) items.push_back(ReadItem::real(p.freq(m0 + j, s)));
  freeRead(in, items);
  if (dashes == "--- ") {
    rejectInput(placeOf(in) +
                "the file holds its modes in the high-precision layout (\"Frequencies ---\", written by "
                "freq=hpmodes or iop(7/33=1)), which kelmar does not read; run the frequencies without it, so that "
                "the modes come in the default layout (\"Frequencies --\", three modes to a block)");
  }
  skipPropertyLines(in);
  for (int a = 1; a <= p.natom; ++a) {
    items.clear();
    items.push_back(ReadItem::anyInteger());
    items.push_back(ReadItem::anyInteger());
    for (int j = 0; j < w; ++j) {
      for (int r = 3 * a - 2; r <= 3 * a; ++r) items.push_back(ReadItem::real(p.eigv(m0 + j, r, s)));
    }
    freeRead(in, items);
  }
  rejectRowPastNatom(in, p.natom, kModeRow, block);
}

}  // namespace

void inputgaussian(Projection& p, Coor& coor, std::span<InputStream* const> files, ScanKernel kernel,
                   Console& console) {
  const int n = p.natom;
  const int nb = p.nvibm / 3;
  // A linear molecule has 3*natom-5 modes: its last block holds the rest.
  const int rest = p.nvibm - 3 * nb;
  const bool notesLeftOut = notesModesLeftOut(p);
  std::vector<ReadItem> items;
  LineBuffer f1;
  const MarkerScan scan(kernel, {"Thermochemistry", "Coordinates (Angstroms)", "normal coordinates:"});

  int s = 0;
  for (InputStream* file : files) {
    ++s;
    InputStream& in = *file;
    bool tableNoted = false;  // an optimisation log repeats its table
    JobGeometry geometry(n);
    // the atomic numbers of the Thermochemistry lines, for a file without
    // a geometry table
    std::vector<AtomElement> thermoElements(static_cast<std::size_t>(n));
    bool leftOutNoted = false;
    while (scan.nextLine(in, f1)) {
      //  -------------------
      //  - Thermochemistry -
      //  -------------------
      //  Temperature   298.150 Kelvin.  Pressure   1.00000 Atm.
      //  Atom     1 has atomic number  6 and mass  12.00000
      if (f1.contains("Thermochemistry")) {
        SectionScope section(in, {"the masses", "atoms", 1, n, 0, n});
        skipLines(in, 2);
        for (int a = 1; a <= n; ++a) {
          AtomElement& element = thermoElements[std::size_t(a - 1)];
          freeRead(in, {ReadItem::word(), ReadItem::anyInteger(), ReadItem::word(), ReadItem::word(),
                        ReadItem::word(), ReadItem::integer(element.z), ReadItem::word(), ReadItem::word(),
                        ReadItem::real(p.amass(a))});
          p.massOrigin(a) = Origin{s, in.lineNumber()};
          element.line = in.lineNumber();
        }
      }
      //  Center     Atomic      Atomic             Coordinates (Angstroms)
      //  Number     Number       Type             X           Y           Z
      //  ---------------------------------------------------------------------
      //       1          6           0        2.529357    0.361330   -0.000020
      // The table is held until the file's modes show that it belongs to
      // their job (see JobGeometry).
      if (f1.contains("Coordinates (Angstroms)")) {
        SectionScope section(in, Section::rowsOfAtoms("the geometry table", n));
        geometry.tableStart(in.lineNumber());
        skipLines(in, 2);
        for (int a = 1; a <= n; ++a) {
          JobGeometry::Row& row = geometry.row(a);
          freeRead(in, {ReadItem::anyInteger(), ReadItem::integer(row.element.z), ReadItem::anyInteger(),
                        ReadItem::real(row.x), ReadItem::real(row.y), ReadItem::real(row.z)});
          row.element.line = in.lineNumber();
        }
        //  ---------------------------------------------------------------------
        noteLongerTable(in, n, kGeometryRow, tableNoted, console);
      }
      //  Harmonic frequencies (cm**-1), IR intensities (KM/Mole), Raman scattering
      //  ...
      //  and normal coordinates:
      // then the blocks of three modes (see readModeBlock)
      // In a gas-phase run the file's modes may go on past nvibm: in the
      // last block read, or in blocks after it (noted once per file).
      if (f1.contains("normal coordinates:")) {
        geometry.modesStart(p, coor, s);
        const bool look = notesLeftOut && !leftOutNoted;
        ModeLeftOut past;
        for (int b = 1; b <= nb; ++b) readModeBlock(p, in, s, 3 * b - 2, 3, items);
        if (rest > 0) readModeBlock(p, in, s, 3 * nb + 1, rest, items, look ? &past : nullptr);
        if (look && !past.found) past = blockAfter(in, p.nvibm + 1);
        if (look && past.found) {
          noteModesLeftOut(p, console, placeOf(in, past.line), "the file's modes", past.mode, past.wavenumber);
          leftOutNoted = true;
        }
      }
    }
    geometry.fileEnd(p, coor, s, in, console);
    for (int a = 1; a <= n; ++a) {
      if (p.element(a, s).z == 0) p.element(a, s) = thermoElements[std::size_t(a - 1)];
    }
  }
  p.itrans = int(files.size());
  p.nimag = 1;
}

}  // namespace kelmar
