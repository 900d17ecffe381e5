// Reader of a Polyrate output file: every structure of the run in one file,
// scanned for five markers. The structures are numbered in the
// order of their geometry sections; the last one is the transition state.
#include <string>
#include <string_view>

#include "input/input.h"
#include "shared/elements.h"
#include "shared/freeread.h"
#include "shared/markerscan.h"

namespace kelmar {
namespace {

// The slab that a section stores into: the structure counter, which must
// name one of the three slabs.
int currentSlab(const InputStream& in, int counter, std::string_view marker) {
  if (counter < 1) {
    rejectInput(placeOf(in) + "the \"" + std::string(marker) +
                "\" section comes before any \" Initial guess \" or \" Initial saddle \" section, "
                "so it belongs to no structure (structure counter 0)");
  }
  if (counter > kMaxSlabs) {
    rejectInput(placeOf(in) + "the \"" + std::string(marker) + "\" section belongs to structure " +
                std::to_string(counter) + "; a file holds at most " + std::to_string(kMaxSlabs) + " structures");
  }
  return counter;
}

// One geometry section: after the skipped lines, natom lines of x, y and z,
// each after an atom number when `numbered`.
void readGeometry(Projection& p, Coor& coor, InputStream& in, int k, int skipped, bool numbered) {
  SectionScope section(in, Section::rowsOfAtoms("the geometry", p.natom, k));
  p.geometryFound(k) = true;
  skipLines(in, skipped);
  for (int a = 1; a <= p.natom; ++a) {
    int pos = p.natom * (k - 1) + a;
    if (numbered) {
      freeRead(in, {ReadItem::anyInteger(), ReadItem::real(coor.x(pos)), ReadItem::real(coor.y(pos)),
                    ReadItem::real(coor.z(pos))});
    } else {
      freeRead(in, {ReadItem::real(coor.x(pos)), ReadItem::real(coor.y(pos)), ReadItem::real(coor.z(pos))});
    }
  }
}

// One pair of modes m and m+1 of slab k:
//   (a line, skipped)
//   the frequency line: columns 16-26 mode m, columns 37-56 mode m+1
//   (two lines, skipped)
//   natom lines: atom number, x y z of mode m, x y z of mode m+1
//   (a line, skipped)
void readPair(Projection& p, InputStream& in, int k, int m) {
  SectionScope section(in, {"the mode pair", "modes", m, m + 1, k, p.natom});
  skipLines(in, 1);
  readFrequencyColumns(in, p.freq(m, k), &p.freq(m + 1, k));
  skipLines(in, 2);
  for (int a = 1; a <= p.natom; ++a) {
    freeRead(in,
             {ReadItem::anyInteger(), ReadItem::real(p.eigv(m, 3 * a - 2, k)), ReadItem::real(p.eigv(m, 3 * a - 1, k)),
              ReadItem::real(p.eigv(m, 3 * a, k)), ReadItem::real(p.eigv(m + 1, 3 * a - 2, k)),
              ReadItem::real(p.eigv(m + 1, 3 * a - 1, k)), ReadItem::real(p.eigv(m + 1, 3 * a, k))});
  }
  skipLines(in, 1);
}

// The last mode m of an odd mode count, which has no partner, laid out as a
// pair with one column: only the first field (columns 16-26) of its
// frequency line is read, and its atom lines hold an atom number and x y z.
void readSingle(Projection& p, InputStream& in, int k, int m) {
  SectionScope section(in, {"the last mode", "modes", m, m, k, p.natom});
  skipLines(in, 1);
  readFrequencyColumns(in, p.freq(m, k), nullptr);
  skipLines(in, 2);
  for (int a = 1; a <= p.natom; ++a) {
    freeRead(in, {ReadItem::anyInteger(), ReadItem::real(p.eigv(m, 3 * a - 2, k)),
                  ReadItem::real(p.eigv(m, 3 * a - 1, k)), ReadItem::real(p.eigv(m, 3 * a, k))});
  }
  skipLines(in, 1);
}

}  // namespace

void inputpolyrate(Projection& p, Coor& coor, InputStream& in, ScanKernel kernel) {
  const int nmodes = 3 * p.natom;
  const int pairs = nmodes / 2;
  int counter = 0;  // the structure whose sections are being read
  LineBuffer f1;
  const MarkerScan scan(kernel, {"  Atomic information:", " Initial guess ", " Final geometry ", " Initial saddle ",
                         "Frequencies and normalized eigenvector"});

  // Every marker keeps its leading and trailing blanks: " Initial guess "
  // does not match "Initial guesses".
  while (scan.nextLine(in, f1)) {
    //   Atomic information:
    //   (two lines)
    //   1   8   O   15.99491
    //   (one line per atom: number, atomic number, symbol, mass; the
    //   masses and elements hold for every structure)
    if (f1.contains("  Atomic information:")) {
      SectionScope section(in, Section::rowsOfAtoms("the atomic information", p.natom));
      skipLines(in, 2);
      for (int a = 1; a <= p.natom; ++a) {
        int z = 0;
        freeRead(in, {ReadItem::anyInteger(), ReadItem::integer(z), ReadItem::word(), ReadItem::real(p.amass(a))});
        p.massOrigin(a) = Origin{1, in.lineNumber()};
        // the atoms of every structure of the file; a number that names no
        // element gives none
        const AtomElement element{z >= 1 && z <= kMaxElement ? z : 0, in.lineNumber()};
        for (int s = 1; s <= kMaxSlabs; ++s) p.element(a, s) = element;
      }
    }
    // A new structure: its starting geometry, after two lines, as lines of
    // an atom number and x, y, z.
    if (f1.contains(" Initial guess ")) {
      ++counter;
      readGeometry(p, coor, in, currentSlab(in, counter, " Initial guess "), 2, true);
    }
    // The optimised geometry of the current structure, after three lines,
    // replacing its starting geometry.
    if (f1.contains(" Final geometry ")) {
      readGeometry(p, coor, in, currentSlab(in, counter, " Final geometry "), 3, true);
    }
    // A new structure, the saddle point: after two lines, lines of x, y, z
    // without atom numbers.
    if (f1.contains(" Initial saddle ")) {
      ++counter;
      readGeometry(p, coor, in, currentSlab(in, counter, " Initial saddle "), 2, false);
    }
    // The 3*natom modes of the current structure, two by two after two
    // lines (see readPair); an odd last mode comes alone (see readSingle).
    if (f1.contains("Frequencies and normalized eigenvector")) {
      int k = currentSlab(in, counter, "Frequencies and normalized eigenvector");
      p.modesFound(k) = true;
      skipLines(in, 2);
      for (int pair = 1; pair <= pairs; ++pair) readPair(p, in, k, 2 * pair - 1);
      if (nmodes % 2 == 1) readSingle(p, in, k, nmodes);
    }
  }
  if (counter == 0) {
    const std::string hint = in.fileHint();
    rejectInput(in.name() +
                ": no structure found: the file holds no \" Initial guess \" or \" Initial saddle \" "
                "section" + (hint.empty() ? "" : " (" + hint + ")"));
  }
  p.itrans = counter;
  p.nimag = p.nvibm;
}

}  // namespace kelmar
