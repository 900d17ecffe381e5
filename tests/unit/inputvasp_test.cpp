#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "input/input.h"
#include "testconsole.h"

namespace kelmar {
namespace {

struct VaspRun : TestState {
  explicit VaspRun(int natom) {
    p->natom = natom;
    p->nmode = 3 * natom;
    p->nvibm = 3 * natom;
    for (int a = 1; a <= natom; ++a) p->amass(a) = 1.5 * a;  // the control file's masses
  }
  void read(const std::string& first, const std::string& second) {
    InputStream a(first, "reactant.modes");
    InputStream b(second, "ts.modes");
    InputStream* files[] = {&a, &b};
    inputvasp(*p, *coor, files, tc.console);
  }
  std::string rejection(const std::string& first, const std::string& second) {
    return runEndMessage([&] { read(first, second); });
  }
  // The rejection when the files are loaded as a run loads them, whose
  // messages also say what a file looks like.
  std::string loadingRejection(const std::string& first, const std::string& second) {
    p->software = Software("vasp");
    p->softwareLine = 3;
    InputStream a(first, "reactant.modes");
    InputStream b(second, "ts.modes");
    InputStream* files[] = {&a, &b};
    return runEndMessage([&] { loadStructures(*p, *coor, files, ScanKernel::Portable, tc.console); });
  }
  TestConsole tc;
};

const char kHeader[] = "mode file\nderived from a frequency run\n\n(four lines)\n";

// natom 2 in a model of 3 atoms, one leading atom, two modes; every value
// shifted by `d`, and value lines carrying words after their values.
std::string madeUpFile(double d) {
  std::ostringstream s;
  s << kHeader << "3 atoms\n positions\n"
    << "Pt 0.0 0.0 0.0\n"
    << "H " << d << " 0.0 1.5\n"
    << "H 0.0 " << 0.74 + d << " 1.5\n"
    << "2 modes\n"
    << 120.5 + d << " cm-1\n"
    << "0.0 0.0 0.0\n"
    << "0.0 0.0 " << 0.7 + d << "\n"
    << "0.0 0.0 -0.7\n"
    << -310.25 - d << " cm-1 (imaginary)\n"
    << "9.9 9.9 9.9\n"
    << "0.5 0.1 0.0\n"
    << "-0.5 " << -0.1 - d << " 0.0\n"
    << "anything after the last mode\n";
  return s.str();
}

TEST(InputVasp, MadeUpFilesPassOverTheLeadingAtom) {
  VaspRun run(2);
  run.read(madeUpFile(0.0), madeUpFile(0.25));
  const Projection& p = *run.p;
  const Coor& c = *run.coor;
  for (int s = 1; s <= 2; ++s) {
    const double d = s == 1 ? 0.0 : 0.25;
    const int at = 2 * (s - 1);
    EXPECT_EQ(c.x(at + 1), d);
    EXPECT_EQ(c.z(at + 1), 1.5);
    EXPECT_EQ(c.y(at + 2), 0.74 + d);
    EXPECT_EQ(p.freq(1, s), 120.5 + d);
    EXPECT_EQ(p.freq(2, s), -310.25 - d);
    const double mode1[] = {0.0, 0.0, 0.7 + d, 0.0, 0.0, -0.7};
    const double mode2[] = {0.5, 0.1, 0.0, -0.5, -0.1 - d, 0.0};
    for (int r = 1; r <= 6; ++r) {
      EXPECT_EQ(p.eigv(1, r, s), mode1[r - 1]) << "slab " << s << " row " << r;
      EXPECT_EQ(p.eigv(2, r, s), mode2[r - 1]) << "slab " << s << " row " << r;
    }
    // a mode count below nvibm: the modes above it stay empty
    EXPECT_EQ(p.freq(3, s), 0.0);
    EXPECT_EQ(p.eigv(3, 1, s), 0.0);
  }
  EXPECT_EQ(p.itrans, 2);
  EXPECT_EQ(p.nimag, 6);
  EXPECT_EQ(p.amass(2), 3.0);
}

TEST(InputVasp, ModelOfTheSystemAloneHasNoLeadingAtoms) {
  VaspRun run(1);
  const std::string file = std::string(kHeader) + "1\nskipped\nO 1.0 2.0 3.0\n1\n50.0\n0.1 0.2 0.3\n";
  run.read(file, file);
  EXPECT_EQ(run.coor->z(2), 3.0);
  EXPECT_EQ(run.p->freq(1, 2), 50.0);
  EXPECT_EQ(run.p->eigv(1, 3, 2), 0.3);
}

TEST(InputVasp, CountsOutsideTheStoresAreRejected) {
  const struct {
    const char* what;
    std::string second;
    const char* message;
  } cases[] = {
      {"fewer atoms than natom", std::string(kHeader) + "1\nskipped\nH 0 0 0\n",
       "kelmar: ts.modes, line 5: the model holds 1 atoms, fewer than the 2 atoms (natom) of the system"},
      {"more modes than a slab holds", std::string(kHeader) + "2\nskipped\nH 0 0 0\nH 0 0 1\n1001\n",
       "kelmar: ts.modes, line 9: the file gives 1001 modes; a structure holds at most 1000"},
  };
  for (const auto& c : cases) {
    VaspRun run(2);
    EXPECT_EQ(run.rejection(madeUpFile(0.0), c.second), c.message) << c.what;
  }
}

// An OUTCAR given in place of a mode file fails at its fifth line, which the
// message then says.
TEST(InputVasp, OutcarInPlaceOfAModeFileIsNamed) {
  const std::string outcarHint =
      "; the file looks like an OUTCAR (its first line starts with \"vasp.\"), but the VASP reader takes a mode "
      "file made from the OUTCAR: see \"The VASP-derived mode file\" in the README)";
  const struct {
    std::string second;
    std::string message;
  } cases[] = {
      {dataFile("vasp/h2o_gas/OUTCAR"),
       "kelmar: ts.modes, line 5: expected an integer, found \"distrk:\" (the total atom count of the model" +
           outcarHint},
      {dataFile("vasp/nh3_planar_saddle/OUTCAR"),
       "kelmar: ts.modes, line 5: expected an integer, found \"distr:\" (the total atom count of the model" +
           outcarHint},
      // a mode file whose header merely names the program
      {std::string("made with vasp.5 tools\n") + kHeader + "x\n",
       "kelmar: ts.modes, line 5: expected an integer, found \"(four\" (the total atom count of the model)"},
      {std::string(" vasp.6.3.0\n") + "a\nb\nc\n2\nskipped\nH 0 0 0\nH 0 0 1\nmodes\n",
       "kelmar: ts.modes, line 9: expected an integer, found \"modes\" (the mode count" + outcarHint},
  };
  for (const auto& c : cases) {
    VaspRun run(2);
    EXPECT_EQ(run.loadingRejection(madeUpFile(0.0), c.second), c.message) << c.second.substr(0, 40);
  }
}

// A mode file made from the first eigenvector block of a VASP OUTCAR: the
// model's atoms with the labels given, the modes in the order printed, the
// wavenumber in cm-1 negated for an f/i= mode.
std::string modeFileFromOutcar(const std::string& path, const std::vector<std::string>& labels) {
  std::ifstream f(std::string(KELMAR_TEST_DATA) + "/" + path);
  std::string line;
  while (std::getline(f, line) &&
         line.find("Eigenvectors and eigenvalues of the dynamical matrix") == std::string::npos) {
  }
  std::ostringstream geometry, modes;
  int count = 0;
  while (std::getline(f, line) && line.find("Eigenvectors after") == std::string::npos) {
    std::size_t cm = line.find("cm-1");
    if (cm == std::string::npos) continue;
    std::istringstream words(line.substr(0, cm));
    std::string w, value;
    while (words >> w) value = w;
    modes << (line.find("f/i=") != std::string::npos ? "-" : "") << value << "\n";
    std::getline(f, line);  // X Y Z dx dy dz
    for (const std::string& label : labels) {
      std::getline(f, line);
      std::istringstream row(line);
      std::string x, y, z, dx, dy, dz;
      row >> x >> y >> z >> dx >> dy >> dz;
      if (count == 0) geometry << label << " " << x << " " << y << " " << z << "\n";
      modes << dx << " " << dy << " " << dz << "\n";
    }
    ++count;
  }
  return std::string(kHeader) + std::to_string(labels.size()) + "\natoms\n" + geometry.str() + std::to_string(count) +
         "\n" + modes.str();
}

TEST(InputVasp, FileDerivedFromARealRun) {
  // planar NH3 (H H H N), the saddle of the umbrella inversion; the system
  // is the last two atoms (H3 and N), the two atoms before them lead
  const std::string file = modeFileFromOutcar("vasp/nh3_planar_saddle/OUTCAR", {"H", "H", "H", "N"});
  VaspRun run(2);
  run.read(file, file);
  const Projection& p = *run.p;
  //      2.122800  4.015200  4.000000     0.352227   -0.188565   -0.000001
  //      3.000000  3.500000  4.000000    -0.000124    0.305756    0.000000
  EXPECT_EQ(run.coor->x(3), 2.1228);
  EXPECT_EQ(run.coor->y(4), 3.5);
  EXPECT_EQ(p.freq(1, 2), 3627.910256);
  const double mode1[] = {0.352227, -0.188565, -0.000001, -0.000124, 0.305756, 0.0};
  for (int r = 1; r <= 6; ++r) EXPECT_EQ(p.eigv(1, r, 2), mode1[r - 1]) << r;
  // all twelve modes of the file are stored, each with the rows of the
  // system's two atoms; the last one is the saddle's imaginary mode
  EXPECT_EQ(p.freq(12, 2), -702.438182);
  EXPECT_EQ(p.eigv(12, 6, 2), 0.419014);
  EXPECT_EQ(p.eigv(12, 3, 1), -0.511993);
}


// In a gas-phase run a file whose mode count goes past nvibm gets a note,
// unless it holds every Cartesian mode: then the modes past nvibm are the
// translations and rotations, which the run leaves out on purpose.
TEST(InputVasp, ModeCountPastNvibmGetsANote) {
  // three atoms, no leading atom; mode m has the wavenumber 100 m
  auto modeFile = [](int modes) {
    std::ostringstream s;
    s << kHeader << "3\npositions\nH 0 0 0\nC 0 0 1.1\nN 0 0 2.2\n" << modes << "\n";
    for (int m = 1; m <= modes; ++m) s << 100 * m << "\n0 0 0.5\n0 0 -0.5\n0 0 0.7\n";
    return s.str();
  };
  const struct {
    const char* reactype;
    int linear;
    int modes;
    const char* note;
  } cases[] = {
      {"gas", 0, 4,
       "kelmar: note: ts.modes, line 10: the file's 4 modes (its mode count) go on past the 3 that the run reads "
       "(nvibm = 3*natom-6): mode 4 (400 cm-1) is left out; a linear molecule has 3*natom-5 = 4 modes and needs "
       "linear 1 in the control file\n"},
      {"gas", 1, 5,
       "kelmar: note: ts.modes, line 10: the file's 5 modes (its mode count) go on past the 4 that the run reads "
       "(nvibm = 3*natom-5): mode 5 (500 cm-1) is left out\n"},
      {"gas", 0, 3, ""},
      {"gas", 0, 9, ""},  // every Cartesian mode
      {"gas-surface", 0, 4, ""},
  };
  for (const auto& c : cases) {
    VaspRun run(3);
    run.p->reactype = Reactype(c.reactype);
    run.p->linear = c.linear;
    run.p->nvibm = c.linear == 1 ? 4 : 3;
    run.read(modeFile(3), modeFile(c.modes));
    EXPECT_EQ(run.tc.err(), c.note) << c.modes;
  }
}

}  // namespace
}  // namespace kelmar
