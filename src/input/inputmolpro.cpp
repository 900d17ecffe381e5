// Reader of Molpro frequency outputs: one file per slab, scanned for seven
// markers (the geometry, three count lists, three blocks of mode
// columns).
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "input/input.h"
#include "input/jobgeometry.h"
#include "input/linearity.h"
#include "input/tablerows.h"
#include "shared/elements.h"
#include "shared/freeread.h"
#include "shared/markerscan.h"

namespace kelmar {
namespace {

// Ends the run on a file whose counts point outside the modes of a slab,
// before anything is stored or echoed there.
[[noreturn]] void rejectModeIndex(const InputStream& in, long line, std::string_view section, long long index) {
  rejectInput(placeOf(in, line) + "the \"" + std::string(section) +
              "\" section refers to mode " + std::to_string(index) + "; a structure holds modes 1.." +
              std::to_string(kMaxModes));
}

bool isModeIndex(long long m) { return m >= 1 && m <= kMaxModes; }

// A row of the geometry table: number, atom, charge, x, y and z.
constexpr std::string_view kGeometryRow = "iwrrrr";
// A row of a mode group: its label (atom symbol, axis and atom number, as in
// HX12), then one component of each mode of the group.
constexpr std::string_view kModeRow = "wr+";

// The element of a geometry row: its atom label's leading letters as an
// element symbol ("O", "CL", "C1"), else its charge as an atomic number,
// which an effective core potential lowers (iodine prints 25.00), so the
// symbol goes first; 0 when neither names an element.
int rowElement(std::string_view label, double charge) {
  std::size_t letters = 0;
  while (letters < label.size() && std::isalpha(static_cast<unsigned char>(label[letters]))) ++letters;
  if (const int z = elementOfSymbol(label.substr(0, letters)); z != 0) return z;
  if (charge >= 1.0 && charge <= kMaxElement && charge == double(int(charge))) return int(charge);
  return 0;
}

//    1   O     8.00   -1.415116287    0.000037624   -0.178475524
// The table is held until the file's modes show that it belongs to their
// job (see JobGeometry).
void readGeometry(const Projection& p, InputStream& in, JobGeometry& geometry, bool& tableNoted,
                  Console& console) {
  SectionScope section(in, Section::rowsOfAtoms("the geometry", p.natom));
  geometry.tableStart(in.lineNumber());
  skipLines(in, 6);
  std::string label;
  double charge = 0.0;
  for (int a = 1; a <= p.natom; ++a) {
    JobGeometry::Row& row = geometry.row(a);
    freeRead(in, {ReadItem::anyInteger(), ReadItem::text(label, kWholeText), ReadItem::real(charge),
                  ReadItem::real(row.x), ReadItem::real(row.y), ReadItem::real(row.z)});
    row.element = AtomElement{rowElement(label, charge), in.lineNumber()};
  }
  // an empty line ends the table
  noteLongerTable(in, p.natom, kGeometryRow, tableNoted, console);
}

// A count list: one skipped title line, then lines whose first value is the
// mode number k; the count becomes the last k read. The list ends at the
// first line whose first value is not an integer, at most nmode lines on;
// the reader steps back over that line so that the scan tests it next.
// Each k is echoed with the wavenumber then held at index `offset` + k.
//        Nr             [1/cm]
//        1              780.26
//        2              982.12
//
//  FREQUENCIES * CALCULATION OF NORMAL MODES FOR UCCSD(T)
void readCountList(Projection& p, InputStream& in, int s, std::string_view section, int& count, long long offset,
                   Console& console) {
  skipLines(in, 1);
  for (int n = 1; n <= p.nmode; ++n) {
    if (!freeReadUnlessMalformed(in, {ReadItem::integer(count)})) break;
    long long i = offset + count;
    if (!isModeIndex(i)) rejectModeIndex(in, in.lineNumber(), section, i);
    console.out.free({count, p.freq(int(i), s)});
  }
  in.stepBack();
}

enum class BlockKind { Real, Imaginary, LowZero };

// `count` modes stored from index `base` + 1 on, in groups of five and a
// last group of the rest. After the wavenumber line of each full group the
// real-mode and imaginary blocks echo the index just past the group (before
// the imaginary wavenumbers are negated); the imaginary and low/zero blocks
// store their wavenumbers negated. Each mode stored records the block it
// came from. A negative count that is no multiple of five still consumes
// the lines of one group without values. The line of the wavenumber of mode
// nvibm+1, when the block reads it, goes to `pastLine`.
//
//                               1 A         2 A         3 A         4 A         5 A
//  Wavenumbers [cm-1]          780.26      982.12     1134.14     1140.78     1480.76
//  Intensities [km/mol]          0.00        0.00        0.00        0.00        0.00
//  Intensities [relative]        0.00        0.00        0.00        0.00        0.00
//            OX1             -0.00044    -0.02699    -0.00019     0.16979    -0.00433
//            (3*natom rows)
void readModeBlock(Projection& p, InputStream& in, int s, BlockKind kind, std::string_view section, long long count,
                   long long base, long& pastLine, Console& console) {
  const long long q = count / 5;
  const long long rest = count - 5 * q;
  const bool echoes = kind != BlockKind::LowZero;
  const bool negates = kind != BlockKind::Real;
  const ModeSection stored = kind == BlockKind::Real        ? ModeSection::Real
                             : kind == BlockKind::Imaginary ? ModeSection::Imaginary
                                                            : ModeSection::LowZero;

  // everything the block stores or echoes must lie within the slab
  const long line = in.lineNumber();
  if (count > 0) {
    if (!isModeIndex(base + 1)) rejectModeIndex(in, line, section, base + 1);
    if (!isModeIndex(base + count)) rejectModeIndex(in, line, section, base + count);
  }
  if (echoes && q >= 1 && !isModeIndex(base + 5 * q + 1)) rejectModeIndex(in, line, section, base + 5 * q + 1);

  std::vector<ReadItem> items;
  auto readGroup = [&](long long first, int w, bool full) {
    const Section group{"the mode group", "modes", int(first), int(first + w - 1), 0, p.natom};
    SectionScope scope(in, group);
    skipLines(in, 2);
    items.clear();
    items.push_back(ReadItem::word());
    items.push_back(ReadItem::word());
    for (int j = 0; j < w; ++j) items.push_back(ReadItem::real(p.freq(int(first + j), s)));
    freeRead(in, items);
    if (first <= p.nvibm + 1 && p.nvibm + 1 < first + w) pastLine = in.lineNumber();
    if (full && echoes) {
      int i = int(first + 5);
      console.out.free({i, p.freq(i, s)});
    }
    if (negates) {
      for (int j = 0; j < w; ++j) p.freq(int(first + j), s) = -p.freq(int(first + j), s);
    }
    for (int j = 0; j < w; ++j) p.modeSection(int(first + j), s) = stored;
    skipLines(in, 2);
    for (int r = 1; r <= 3 * p.natom; ++r) {
      items.clear();
      items.push_back(ReadItem::word());
      for (int j = 0; j < w; ++j) items.push_back(ReadItem::real(p.eigv(int(first + j), r, s)));
      freeRead(in, items);
    }
    // a file of more atoms than natom goes on with their rows
    rejectRowPastNatom(in, p.natom, kModeRow, group);
  };
  for (long long g = 1; g <= q; ++g) readGroup(base + 5 * (g - 1) + 1, 5, true);
  if (rest != 0) readGroup(base + 5 * q + 1, rest > 0 ? int(rest) : 0, false);
}

}  // namespace

void inputmolpro(Projection& p, Coor& coor, std::span<InputStream* const> files, ScanKernel kernel,
                 Console& console) {
  // The counts of imaginary, real and low/zero modes carry over from one file
  // to the next: a file without an "Imaginary Vibration" list works with the
  // count an earlier file left. They start at 0, so that a first file
  // without that list (a minimum) has no imaginary modes.
  int nim = 0;
  int nvib = 0;
  int nlow = 0;
  LineBuffer f1;
  const MarkerScan scan(kernel, {"CALCULATION OF NORMAL MODES", "Imaginary Vibration", "Vibration        Wavenumber",
                         "Low Vibration", "Normal Modes", "Normal Modes of imaginary frequencies",
                         "Normal Modes of low/zero frequencies"});

  int s = 0;
  for (InputStream* file : files) {
    ++s;
    InputStream& in = *file;
    bool tableNoted = false;
    JobGeometry geometry(p.natom);
    long long vibrations = 0;  // the real and imaginary modes that this file's blocks store
    long pastLine = 0;
    while (scan.nextLine(in, f1)) {
      //  FREQUENCIES * CALCULATION OF NORMAL MODES FOR UCCSD(T)
      //
      //
      //  Atomic Coordinates
      //
      //   Nr  Atom  Charge       X              Y              Z
      //
      //    1   O     8.00   -1.415116287    0.000037624   -0.178475524
      if (f1.contains("CALCULATION OF NORMAL MODES")) readGeometry(p, in, geometry, tableNoted, console);
      //  Imaginary Vibration  Wavenumber
      //         Nr             [1/cm]
      //         1             1997.98
      if (f1.contains("Imaginary Vibration")) readCountList(p, in, s, "Imaginary Vibration", nim, 0, console);
      //      Vibration        Wavenumber
      //         Nr             [1/cm]
      //         1              780.26
      if (f1.contains("Vibration        Wavenumber")) {
        readCountList(p, in, s, "Vibration        Wavenumber", nvib, nim, console);
      }
      //    Low Vibration      Wavenumber
      //         Nr             [1/cm]
      //         1                0.00
      if (f1.contains("Low Vibration")) {
        readCountList(p, in, s, "Low Vibration", nlow, static_cast<long long>(nim) + nvib, console);
      }
      //  Normal Modes
      //
      //                               1 A         2 A         3 A         4 A         5 A
      //  Wavenumbers [cm-1]          780.26      982.12     1134.14     1140.78     1480.76
      if (f1.contains("Normal Modes") && !f1.contains("low") && !f1.contains("imaginary")) {
        geometry.modesStart(p, coor, s);
        readModeBlock(p, in, s, BlockKind::Real, "Normal Modes", nvib, 0, pastLine, console);
        vibrations = std::max<long long>(vibrations, nvib);
      }
      //  Normal Modes of imaginary frequencies
      //
      //                                   1
      //  Wavenumbers [cm-1]         1997.98
      if (f1.contains("Normal Modes of imaginary frequencies")) {
        geometry.modesStart(p, coor, s);
        readModeBlock(p, in, s, BlockKind::Imaginary, "Normal Modes of imaginary frequencies", nim, nvib, pastLine,
                      console);
        if (nim > 0) vibrations = std::max(vibrations, static_cast<long long>(nvib) + nim);
      }
      //  Normal Modes of low/zero frequencies
      //
      //                                   1           2           3           4           5
      //  Wavenumbers [cm-1]            0.00        0.00        0.00        0.00        0.00
      // The low/zero modes fill the slab after the imaginary ones, up to nmode.
      if (f1.contains("Normal Modes of low/zero frequencies")) {
        geometry.modesStart(p, coor, s);
        const long long base = static_cast<long long>(nim) + nvib;
        long unused = 0;
        readModeBlock(p, in, s, BlockKind::LowZero, "Normal Modes of low/zero frequencies", p.nmode - base, base,
                      unused, console);
      }
    }
    geometry.fileEnd(p, coor, s, in, console);
    // In a gas-phase run the real and imaginary modes, which come first in
    // the slab, may go on past nvibm.
    if (notesModesLeftOut(p) && vibrations > p.nvibm) {
      noteModesLeftOut(p, console, pastLine > 0 ? placeOf(in, pastLine) : in.name() + ": ",
                       "the file's real and imaginary modes", p.nvibm + 1, p.freq(p.nvibm + 1, s));
    }
  }
  p.itrans = int(files.size());
}

}  // namespace kelmar
