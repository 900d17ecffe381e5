#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "input/input.h"
#include "testconsole.h"

namespace kelmar {
namespace {

struct PolyrateRun : TestState {
  explicit PolyrateRun(int natom) {
    p->natom = natom;
    p->nmode = 3 * natom;
    p->nvibm = 3 * natom;
    for (int a = 1; a <= natom; ++a) p->amass(a) = 9.0;  // the control file's masses
  }
  void read(const std::string& text) {
    InputStream in(text, "poly.out");
    inputpolyrate(*p, *coor, in, fastestScanKernel());
  }
  std::string rejection(const std::string& text) {
    return runEndMessage([&] { read(text); });
  }
};

// The frequency line: 15 columns of text, the first field in columns 16-26,
// 10 columns of text, the second field in columns 37-56.
std::string frequencyLine(const std::string& first, const std::string& second) {
  char buf[128];
  std::snprintf(buf, sizeof buf, " freq (cm-1)   %11s  (cm-1)  %20s  units", first.c_str(), second.c_str());
  return buf;
}

std::string fixed(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.5f", v);
  return buf;
}

// Component r of mode m in the made-up sections, different for each `tag`.
std::string component(int tag, int m, int r) { return fixed(tag + m * 0.01 + r * 0.0001); }

// The modes from `first` on of a frequency section of 3*natom modes, in
// pairs (and a last single mode when that count is odd); mode m has the
// wavenumber 100*tag + m, written with a point.
std::string modes(int natom, int tag, int first = 1) {
  const int n = 3 * natom;
  auto wave = [&](int m) { return fixed(100 * tag + m); };
  std::ostringstream s;
  for (int m = first; m <= n; m += 2) {
    bool pair = m < n;
    s << " mode\n" << frequencyLine(wave(m), pair ? wave(m + 1) : "") << "\n header\n header\n";
    for (int a = 1; a <= natom; ++a) {
      s << "  " << a;
      for (int r = 3 * a - 2; r <= 3 * a; ++r) s << " " << component(tag, m, r);
      if (pair) {
        for (int r = 3 * a - 2; r <= 3 * a; ++r) s << " " << component(tag, m + 1, r);
      }
      s << "\n";
    }
    s << "\n";
  }
  return s.str();
}

const char kFrequencyMarker[] = " Frequencies and normalized eigenvectors\n";
const char kTwoLines[] = " ----\n\n";

std::string frequencySection(int natom, int tag) { return kFrequencyMarker + (kTwoLines + modes(natom, tag)); }

void expectModes(const Projection& p, int natom, int k, int tag, int first = 1) {
  for (int m = first; m <= 3 * natom; ++m) {
    EXPECT_EQ(p.freq(m, k), 100 * tag + m) << "slab " << k << " mode " << m;
    for (int r = 1; r <= 3 * natom; ++r) {
      EXPECT_EQ(p.eigv(m, r, k), std::stod(component(tag, m, r))) << "slab " << k << " mode " << m << " row " << r;
    }
  }
}

TEST(InputPolyrate, MadeUpFileOfTwoStructures) {
  PolyrateRun run(2);
  const std::string file = std::string(" ---\n  Atomic information:\n a\n b\n 1 8 O 16.0\n 2 1 H 1.008\n") +
                           " Initial guess of the reactant\n a\n b\n 1 0.0 0.0 0.0\n 2 0.0 0.0 0.97\n" +
                           " Final geometry of the reactant\n a\n b\n c\n 1 0.0 0.0 0.0\n 2 0.0 0.0 0.96\n" +
                           " Frequencies and normalized eigenvectors\n a\n b\n"
                           " pair 1\n" +
                           frequencyLine("345.67", "210.5") +
                           "\n a\n b\n"
                           " 1 0.1 0.0 0.0 0.0 0.2 0.0\n"
                           " 2 -0.1 0.0 0.0 0.0 -0.2 0.0\n"
                           "\n" +
                           modes(2, 1, 3) + " Initial saddle point\n a\n b\n 0.0 0.0 0.0\n 0.0 0.0 1.21\n" +
                           frequencySection(2, 2) + " end of the output\n";
  run.read(file);
  const Projection& p = *run.p;
  EXPECT_EQ(p.amass(1), 16.0);
  EXPECT_EQ(p.amass(2), 1.008);
  EXPECT_EQ(run.coor->z(2), 0.96);
  EXPECT_EQ(run.coor->z(4), 1.21);
  EXPECT_EQ(p.freq(1, 1), 345.67);
  EXPECT_EQ(p.freq(2, 1), 210.5);
  EXPECT_EQ(p.eigv(1, 1, 1), 0.1);
  EXPECT_EQ(p.eigv(1, 4, 1), -0.1);
  EXPECT_EQ(p.eigv(2, 2, 1), 0.2);
  EXPECT_EQ(p.eigv(2, 5, 1), -0.2);
  EXPECT_EQ(p.eigv(2, 6, 1), 0.0);
  expectModes(p, 2, 1, 1, 3);
  expectModes(p, 2, 2, 2);
  EXPECT_EQ(p.itrans, 2);
  EXPECT_EQ(p.nimag, 6);
}

TEST(InputPolyrate, AtomicNumbersGiveTheElementsOfEveryStructure) {
  // the atomic number, not the mass, names the element; a number that
  // names no element gives none; the elements hold for every structure
  PolyrateRun run(3);
  run.read(std::string("  Atomic information:\n a\n b\n 1 7 O 15.995\n 2 0 X 1.008\n 3 200 X 1.008\n") +
           " Initial guess \n a\n b\n 1 0 0 0\n 2 0 0 1\n 3 0 0 2\n");
  const Projection& p = *run.p;
  for (int s = 1; s <= kMaxSlabs; ++s) {
    EXPECT_EQ(p.element(1, s).z, 7) << "slab " << s;
    EXPECT_EQ(p.element(1, s).line, 4) << "slab " << s;
    EXPECT_EQ(p.element(2, s).z, 0) << "slab " << s;
    EXPECT_EQ(p.element(3, s).z, 0) << "slab " << s;
  }
  EXPECT_EQ(p.amass(1), 15.995);
}

TEST(InputPolyrate, MarkersHoldTheirBlanks) {
  const std::string saddle = " Initial saddle \n a\n b\n 0.0 0.0 0.0\n";
  const struct {
    std::string line;
    bool masses;  // an atomic-information marker, else a guess marker
    bool hits;
  } cases[] = {
      {"   Atomic information:", true, true},
      {" Atomic information:", true, false},
      {"  Atomic information", true, false},
      {std::string(109, '-') + "  Atomic information:", true, true},   // ends in column 130
      {std::string(110, '-') + "  Atomic information:", true, false},  // ends in column 131
      {"  the Initial guess of the product", false, true},
      {"  the Initial guesses", false, false},
      {"Initial guess ", false, false},
      {" last words: Initial guess", false, true},  // the blank after it comes from the fill
      {std::string(116, '=') + " Initial guess ", false, false},
  };
  for (const auto& c : cases) {
    PolyrateRun run(1);
    const std::string section = c.masses ? "\n a\n b\n 1 1 H 2.5\n" : "\n a\n b\n 1 5.0 6.0 7.0\n";
    run.read(saddle + c.line + section);
    if (c.masses) {
      EXPECT_EQ(run.p->amass(1), c.hits ? 2.5 : 9.0) << "[" << c.line << "]";
    } else {
      EXPECT_EQ(run.p->itrans, c.hits ? 2 : 1) << "[" << c.line << "]";
      EXPECT_EQ(run.coor->z(2), c.hits ? 7.0 : 0.0) << "[" << c.line << "]";
    }
  }
}

TEST(InputPolyrate, ThreeStructuresInTheOrderOfTheirSections) {
  // two guesses and a saddle: slab 2 holds the second guess, replaced by
  // its final geometry (three lines skipped); each frequency section goes
  // to the structure before it; one line may hold two markers
  PolyrateRun run(1);
  const std::string file = std::string(" Initial guess \n a\n b\n 1 1.0 1.0 1.0\n") + frequencySection(1, 1) +
                           " Initial guess \n a\n b\n 1 2.0 2.0 2.0\n" +
                           " Final geometry \n a\n b\n c\n 1 2.5 2.5 2.5\n" + frequencySection(1, 2) +
                           " Initial saddle  Frequencies and normalized eigenvectors\n a\n b\n 3.0 3.0 3.0\n" +
                           kTwoLines + modes(1, 3);
  run.read(file);
  const Projection& p = *run.p;
  EXPECT_EQ(p.itrans, 3);
  EXPECT_EQ(run.coor->x(1), 1.0);
  EXPECT_EQ(run.coor->x(2), 2.5);
  EXPECT_EQ(run.coor->x(3), 3.0);
  for (int k = 1; k <= 3; ++k) expectModes(p, 1, k, k);
}

TEST(InputPolyrate, FrequencyFieldsWithImpliedDecimals) {
  PolyrateRun run(2);
  std::string section = frequencySection(2, 1);
  // replace the three frequency lines
  const std::string lines[] = {frequencyLine("12345", "123.4567"), frequencyLine("", "-5000"),
                               frequencyLine("1 2 3 4", "").substr(0, 30)};
  std::size_t at = 0;
  for (const std::string& line : lines) {
    at = section.find(" freq (cm-1)", at);
    section.replace(at, section.find('\n', at) - at, line);
    ++at;
  }
  run.read(" Initial guess \n a\n b\n 1 0 0 0\n 2 0 0 0\n" + section);
  const double expected[] = {123.45, 123.4567, 0.0, -50.0, 12.34, 0.0};
  for (int m = 1; m <= 6; ++m) EXPECT_EQ(run.p->freq(m, 1), expected[m - 1]) << "mode " << m;
}

TEST(InputPolyrate, OddLastModeIsReadAsAGroupOfOne) {
  // natom 3: nine modes, four pairs and mode 9 alone, whose frequency line
  // is read for its first field only; the scan goes on after its lines
  PolyrateRun run(3);
  std::string section = frequencySection(3, 1);
  std::size_t last = section.rfind(" freq (cm-1)");
  section.replace(last, section.find('\n', last) - last, frequencyLine("90900", "n/a"));
  run.read(" Initial guess \n a\n b\n 1 0 0 0\n 2 0 0 0\n 3 0 0 0\n" + section +
           " Initial saddle \n a\n b\n 0 0 1\n 0 0 2\n 0 0 3\n");
  const Projection& p = *run.p;
  EXPECT_EQ(p.freq(8, 1), 108.0);
  EXPECT_EQ(p.freq(9, 1), 909.0);
  for (int r = 1; r <= 9; ++r) EXPECT_EQ(p.eigv(9, r, 1), std::stod(component(1, 9, r))) << r;
  EXPECT_EQ(p.itrans, 2);
  EXPECT_EQ(run.coor->z(6), 3.0);
}

TEST(InputPolyrate, FilesWithoutAUsableStructureAreRejected) {
  const std::string guess = " Initial guess \n a\n b\n 1 0 0 0\n";
  const struct {
    const char* what;
    std::string file;
    const char* message;
  } cases[] = {
      {"empty file", "",
       "kelmar: poly.out: no structure found: the file holds no \" Initial guess \" or "
       "\" Initial saddle \" section"},
      {"masses only", "  Atomic information:\n a\n b\n 1 1 H 1.0\n",
       "kelmar: poly.out: no structure found: the file holds no \" Initial guess \" or \" Initial saddle \" "
       "section"},
      {"final geometry first", " ---\n Final geometry \n a\n b\n c\n 1 0 0 0\n" + guess,
       "kelmar: poly.out, line 2: the \" Final geometry \" section comes before any \" Initial guess \" or "
       "\" Initial saddle \" section, so it belongs to no structure (structure counter 0)"},
      {"frequencies first", frequencySection(1, 1) + guess,
       "kelmar: poly.out, line 1: the \"Frequencies and normalized eigenvector\" section comes before any "
       "\" Initial guess \" or \" Initial saddle \" section, so it belongs to no structure (structure counter 0)"},
      {"a fourth structure", guess + guess + guess + " Initial saddle \n a\n b\n 0 0 0\n",
       "kelmar: poly.out, line 13: the \" Initial saddle \" section belongs to structure 4; a file holds at most 3 "
       "structures"},
  };
  for (const auto& c : cases) {
    PolyrateRun run(1);
    EXPECT_EQ(run.rejection(c.file), c.message) << c.what;
  }
}

}  // namespace
}  // namespace kelmar
