// The Gaussian reader on made-up sections and on real output files.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "input/input.h"
#include "shared/runend.h"
#include "testconsole.h"

namespace kelmar {
namespace {

std::string masses(const std::string& m1 = "16.0") {
  return " - Thermochemistry -\n"
         " -------------------\n"
         " Temperature   298.150 Kelvin.  Pressure   1.00000 Atm.\n"
         " Atom 1 has atomic number 8 and mass " +
         m1 +
         "\n"
         " Atom 2 has atomic number 1 and mass 1.008\n"
         " Atom 3 has atomic number 1 and mass 1.008\n";
}

std::string geometry(double z3) {
  return "                         Standard orientation:\n"
         " Center     Atomic      Atomic             Coordinates (Angstroms)\n"
         " Number     Number       Type             X           Y           Z\n"
         " ---------------------------------------------------------------------\n"
         " 1 8 0 0.0 0.0 0.117\n"
         " 2 1 0 0.0 0.757 -0.467\n"
         " 3 1 0 0.0 -0.757 " +
         std::to_string(z3) + "\n";
}

const char* const kModes =
    " and normal coordinates:\n"
    "                      1                      2                      3\n"
    "                      A                      A                      A\n"
    " Frequencies -- -95.2 160.5 390.8\n"
    " Red. masses --      1.0800                 1.0453                 1.0828\n"
    " Frc consts  --      0.0400                 0.0300                 0.0600\n"
    " IR Inten    --      0.1000                 0.2000                 0.3000\n"
    "  Atom  AN      X      Y      Z        X      Y      Z        X      Y      Z\n"
    " 1 8 0.0 0.0 0.07 0.0 0.0 -0.05 0.0 0.61 0.0\n"
    " 2 1 0.0 0.43 -0.56 0.1 0.2 0.3 0.4 0.5 0.6\n"
    " 3 1 0.0 -0.43 -0.56 -0.1 -0.2 -0.3 -0.4 -0.5 -0.6\n";

// A projection for three atoms in the gas phase (nvibm 3).
std::unique_ptr<Projection> threeAtoms() {
  auto p = std::make_unique<Projection>();
  p->natom = 3;
  p->nmode = 9;
  p->nvibm = 3;
  p->amass(1) = 15.995;
  return p;
}

// Runs the reader on texts in memory; returns what it wrote on standard
// error.
std::string readTexts(Projection& p, Coor& coor, const std::vector<std::string>& texts) {
  std::vector<std::unique_ptr<InputStream>> streams;
  std::vector<InputStream*> files;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    streams.push_back(std::make_unique<InputStream>(texts[i], "file" + std::to_string(i + 1) + ".log"));
    files.push_back(streams.back().get());
  }
  TestConsole tc;
  inputgaussian(p, coor, files, fastestScanKernel(), tc.console);
  return tc.err();
}

TEST(InputGaussian, MadeUpSectionsFillTheSlabs) {
  auto p = threeAtoms();
  auto coor = std::make_unique<Coor>();
  readTexts(*p, *coor, {masses() + geometry(-0.467) + kModes, geometry(-0.5) + kModes});
  EXPECT_EQ(p->itrans, 2);
  EXPECT_EQ(p->nimag, 1);
  EXPECT_EQ(p->amass(1), 16.0);
  EXPECT_EQ(p->amass(3), 1.008);
  // slab 1 at positions 1..3, slab 2 at 4..6
  EXPECT_EQ(coor->z(1), 0.117);
  EXPECT_EQ(coor->y(2), 0.757);
  EXPECT_EQ(coor->z(3), -0.467);
  EXPECT_EQ(coor->z(6), -0.5);
  for (int s = 1; s <= 2; ++s) {
    EXPECT_EQ(p->freq(1, s), -95.2);
    EXPECT_EQ(p->freq(2, s), 160.5);
    EXPECT_EQ(p->freq(3, s), 390.8);
    // atom 1: x, y, z of modes 1, 2, 3
    EXPECT_EQ(p->eigv(1, 3, s), 0.07);
    EXPECT_EQ(p->eigv(2, 3, s), -0.05);
    EXPECT_EQ(p->eigv(3, 2, s), 0.61);
    // atom 3, mode 3: rows 7, 8, 9
    EXPECT_EQ(p->eigv(3, 7, s), -0.4);
    EXPECT_EQ(p->eigv(3, 9, s), -0.6);
    EXPECT_EQ(p->eigv(2, 5, s), 0.2);
  }
}

TEST(InputGaussian, LaterSectionsOverwriteAndMarkersAreExact) {
  auto p = threeAtoms();
  auto coor = std::make_unique<Coor>();
  std::string longPrefix(110, 'x');
  std::string text = geometry(-1.0) + geometry(-2.0) +
                     // beyond column 130 or in another case: no marker
                     longPrefix + " Coordinates (Angstroms)\n" + " coordinates (angstroms)\n" +
                     " thermochemistry\n" + kModes;
  readTexts(*p, *coor, {text, geometry(-3.0) + kModes});
  EXPECT_EQ(coor->z(3), -2.0);
  EXPECT_EQ(p->amass(1), 15.995);  // no Thermochemistry section: the control file's mass stays
  // the second file's masses win over the first's
  readTexts(*p, *coor,
            {masses() + geometry(0.0), masses("17.0") + geometry(0.0)});
  EXPECT_EQ(p->amass(1), 17.0);
}

// The geometry of a file is the last table before its mode section, so that
// a later job's table is not paired with the frequency job's modes.
TEST(InputGaussian, GeometryIsTheTableOfTheModesJob) {
  const std::string laterJob = " --Link1--\n" + geometry(-7.0);
  const std::string passed = "kelmar: note: file2.log, line " +
                             std::to_string(splitLines(geometry(-2.0) + kModes).size() + 3) +
                             ": a geometry table after the file's last frequency section is not used: it belongs to a "
                             "later job, and the geometry must be that of the modes (the structure's geometry is the "
                             "table at line 2)\n";
  const struct {
    std::string second;  // the second file; the first is geometry(-1.0) + kModes
    double z3;           // z of atom 3 of slab 2
    std::string err;
  } cases[] = {
      {geometry(-2.0) + kModes + laterJob, -2.0, passed},
      // one note per file, at the first table passed over
      {geometry(-2.0) + kModes + laterJob + laterJob, -2.0, passed},
      // two frequency jobs: the later job's table and modes
      {geometry(-2.0) + kModes + laterJob + kModes, -7.0, ""},
      // without a mode section the last table stays, as before
      {geometry(-2.0) + laterJob, -7.0, ""},
  };
  for (const auto& c : cases) {
    auto p = threeAtoms();
    auto coor = std::make_unique<Coor>();
    EXPECT_EQ(readTexts(*p, *coor, {geometry(-1.0) + kModes, c.second}), c.err) << c.second;
    EXPECT_EQ(coor->z(6), c.z3) << c.second;
    EXPECT_EQ(coor->z(3), -1.0);
    EXPECT_EQ(p->element(1, 2).z, 8);
    EXPECT_EQ(p->element(3, 2).z, 1);
  }
}

// The elements come from the geometry table the slab takes, else from the
// Thermochemistry lines.
TEST(InputGaussian, ElementsOfTheTableOrOfTheThermochemistry) {
  auto p = threeAtoms();
  auto coor = std::make_unique<Coor>();
  std::string other = geometry(-1.0);
  other.replace(other.find(" 1 8 0"), 6, " 1 9 0");
  readTexts(*p, *coor, {masses() + other + kModes, masses() + kModes});
  EXPECT_EQ(p->element(1, 1).z, 9);
  EXPECT_EQ(p->element(1, 1).line, 11);
  EXPECT_EQ(p->element(1, 2).z, 8);  // no table: the Thermochemistry's atomic number
  EXPECT_EQ(p->element(1, 2).line, 4);
}

TEST(InputGaussian, BlankLinesAmongDataLinesArePassedOver) {
  auto p = threeAtoms();
  auto coor = std::make_unique<Coor>();
  std::string text =
      " Coordinates (Angstroms)\n skip\n skip\n\n 1 8 0 0.0 0.0 1.5\n\n 2 1 0 0.0 0.0 2.5\n 3 1 0 0.0 0.0 3.5\n";
  readTexts(*p, *coor, {text, ""});
  EXPECT_EQ(coor->z(1), 1.5);
  EXPECT_EQ(coor->z(2), 2.5);
  EXPECT_EQ(coor->z(3), 3.5);
}

// A geometry table with a row for an atom past natom gets a note, once per
// file. The note looks at the line after the natom rows and steps back over
// it, so the reading goes on from that line whatever the note finds.
TEST(InputGaussian, GeometryTableLongerThanNatomGetsANote) {
  const std::string row4 = " 4 1 0 0.0 0.0 4.5\n";
  const std::string dashes = " ---------------------------------------------------------------------\n";
  const std::string note = "kelmar: note: file1.log, line 8: the geometry table lists atom 4, but natom is 3 (noted "
                           "once per file)\n";
  const struct {
    std::string after;  // the lines after the three rows of geometry(1.0)
    std::string err;
  } cases[] = {
      {dashes, ""},
      {row4 + dashes, note},
      {row4 + row4 + "\t 5 1 0 1e0 2D0 -3.\n" + dashes, note},
      {row4 + " Rotational constants (GHZ):\n", note},
      {row4, note},                                           // the file ends after it
      {row4 + dashes + geometry(-3.0) + row4 + dashes, note},  // once per file
      {" 3 1 0 0.0 0.0 5.5\n" + dashes, ""},                   // no atom past natom
      {" 4.0 1 0 0.0 0.0 5.5\n" + dashes, ""},                 // a real where the centre number stands
      {" 4a 1 0 0.0 0.0 5.5\n" + dashes, ""},                  // an integer run into other text
      {" 1234567890 1 0 0.0 0.0 5.5\n" + dashes, ""},          // more digits than a row's integer
      {" 4 1 0 0.0 0.0 5.5 7\n" + dashes, ""},                 // a seventh token
      {" 4 1 0 0.0 0.0\n" + dashes, ""},                       // a fifth
      {row4 + geometry(-3.0), note},                           // the line after the rows is scanned
  };
  for (const auto& c : cases) {
    auto p = threeAtoms();
    auto coor = std::make_unique<Coor>();
    EXPECT_EQ(readTexts(*p, *coor, {geometry(1.0) + c.after, ""}), c.err) << c.after;
    EXPECT_EQ(coor->z(3), c.after.find("Standard") != std::string::npos ? -3.0 : 1.0) << c.after;
  }
  // every file gets its own note
  auto p = threeAtoms();
  auto coor = std::make_unique<Coor>();
  EXPECT_EQ(readTexts(*p, *coor, {geometry(1.0) + row4, geometry(1.0) + row4}),
            note + "kelmar: note: file2.log, line 8: the geometry table lists atom 4, but natom is 3 (noted once "
                   "per file)\n");
}

// One line may open two sections: the mode block reads on from the line
// after the natom rows, the note having read nothing.
TEST(InputGaussian, TableNoteReadsNothingBeforeASectionOfTheSameLine) {
  const std::string file =
      " Center Atomic Atomic Coordinates (Angstroms) and normal coordinates:\n"
      " Number     Number       Type             X           Y           Z\n"
      " ---------------------------------------------------------------------\n"
      " 1 8 0 0.0 0.0 0.117\n"
      " 2 1 0 0.0 0.757 -0.467\n"
      " 3 1 0 0.0 -0.757 -0.5\n"
      " 4 1 0 0.0 0.0 4.5\n"
      " ---------------------------------------------------------------------\n" +
      // kModes from its "Frequencies --" line on
      std::string(kModes).substr(std::string(kModes).find(" Frequencies"));
  auto p = threeAtoms();
  auto coor = std::make_unique<Coor>();
  EXPECT_EQ(readTexts(*p, *coor, {file, ""}),
            "kelmar: note: file1.log, line 7: the geometry table lists atom 4, but natom is 3 (noted once per "
            "file)\n");
  EXPECT_EQ(coor->z(3), -0.5);
  EXPECT_EQ(p->freq(1, 1), -95.2);
  EXPECT_EQ(p->freq(3, 1), 390.8);
  EXPECT_EQ(p->eigv(3, 9, 1), -0.6);
}

// A mode block that lists an atom past natom ends the run: its modes would
// be projected cut to natom atoms. The check looks at the line after the
// natom rows, whatever number of modes the run reads of each row.
TEST(InputGaussian, ModeBlockWithARowPastNatomEndsTheRun) {
  const std::string row3 = " 3 1 0.0 -0.43 -0.56 -0.1 -0.2 -0.3 -0.4 -0.5 -0.6\n";
  const struct {
    int natom, nvibm;
    std::string after;  // what follows the rows of atoms 1 and 2 of kModes
    const char* message;
  } cases[] = {
      {2, 3, row3,
       "kelmar: file1.log, line 11: the mode block of modes 1-3 lists atom 3, but natom is 2 (natom in the control "
       "file must be the number of atoms in the structure files)"},
      // a linear molecule of two atoms reads one mode of each row
      {2, 1, row3,
       "kelmar: file1.log, line 11: the mode block of mode 1 lists atom 3, but natom is 2 (natom in the control "
       "file must be the number of atoms in the structure files)"},
      {2, 3, " 1 1 0.0 -0.43 -0.56 -0.1 -0.2 -0.3 -0.4 -0.5 -0.6\n", "the run went on"},  // no atom past natom
      {2, 3, "                      4                      5                      6\n", "the run went on"},
      {2, 3, "", "the run went on"},
  };
  for (const auto& c : cases) {
    auto p = threeAtoms();
    p->natom = c.natom;
    p->nmode = 3 * c.natom;
    p->nvibm = c.nvibm;
    auto coor = std::make_unique<Coor>();
    const std::string modes(kModes);
    const std::string file = modes.substr(0, modes.find(" 3 1 0.0")) + c.after;
    EXPECT_EQ(runEndMessage([&] { readTexts(*p, *coor, {file, ""}); }), c.message) << c.after;
  }
}

TEST(InputGaussian, ThreeFilesInAProductRun) {
  auto p = threeAtoms();
  auto coor = std::make_unique<Coor>();
  readTexts(*p, *coor, {geometry(-1.0), geometry(-2.0), geometry(-3.0) + kModes});
  EXPECT_EQ(p->itrans, 3);
  EXPECT_EQ(coor->z(9), -3.0);
  EXPECT_EQ(p->freq(1, 3), -95.2);
  EXPECT_EQ(p->freq(1, 1), 0.0);
}

// Runs the reader on files of tests/data.
void readFiles(Projection& p, Coor& coor, const std::vector<std::string>& paths) {
  std::vector<std::unique_ptr<InputStream>> streams;
  std::vector<InputStream*> files;
  for (const std::string& path : paths) {
    std::string why;
    streams.push_back(openInputFile(std::string(KELMAR_TEST_DATA) + "/" + path, why));
    ASSERT_TRUE(streams.back()) << path << ": " << why;
    files.push_back(streams.back().get());
  }
  TestConsole tc;
  inputgaussian(p, coor, files, fastestScanKernel(), tc.console);
  EXPECT_EQ(tc.err(), "");
}

TEST(InputGaussian, RealClaisenFilesAsPrinted) {
  auto p = std::make_unique<Projection>();
  auto coor = std::make_unique<Coor>();
  p->natom = 14;
  p->nmode = 42;
  p->nvibm = 36;
  readFiles(*p, *coor, {"gaussian/claisen/reactant.out", "gaussian/claisen/ts.out"});
  // last Standard orientation table of the transition state: atoms 1 and 14
  EXPECT_EQ(coor->x(15), -1.466309);
  EXPECT_EQ(coor->z(15), -0.289984);
  EXPECT_EQ(coor->y(28), 1.368175);
  EXPECT_EQ(p->freq(1, 2), -482.7269);
  EXPECT_EQ(p->freq(3, 2), 269.5624);
  EXPECT_EQ(p->freq(36, 2), 3265.0681);
  // first mode row of the transition state: atom 1, "-0.34  -0.17  -0.07"
  EXPECT_EQ(p->eigv(1, 1, 2), -0.34);
  EXPECT_EQ(p->eigv(1, 3, 2), -0.07);
  EXPECT_EQ(p->eigv(3, 42, 2), -0.04);
  EXPECT_EQ(p->amass(3), 15.99491);
  EXPECT_EQ(p->amass(14), 1.00783);
}

TEST(InputGaussian, RamanPropertyLinesAreSkipped) {
  auto p = std::make_unique<Projection>();
  auto coor = std::make_unique<Coor>();
  p->natom = 10;
  p->nmode = 30;
  p->nvibm = 24;
  readFiles(*p, *coor,
            {"gaussian/propyl_h_shift_raman/reactant_npropyl.out", "gaussian/propyl_h_shift_raman/ts.out"});
  EXPECT_EQ(p->freq(1, 2), -2494.2651);
  EXPECT_EQ(p->freq(21, 2), 3251.4704);
  EXPECT_EQ(p->freq(24, 2), 3430.5414);
  // "     1   6    -0.02  -0.03  -0.07    -0.01  -0.00   0.06     0.18  -0.07  -0.00"
  EXPECT_EQ(p->eigv(1, 1, 2), -0.02);
  EXPECT_EQ(p->eigv(2, 3, 2), 0.06);
  EXPECT_EQ(p->eigv(3, 1, 2), 0.18);
  EXPECT_EQ(p->eigv(3, 4, 2), -0.00);
  EXPECT_EQ(p->eigv(3, 5, 2), 0.20);
  EXPECT_EQ(coor->x(11), -1.317288);
}

TEST(InputGaussian, LinearMoleculeReadsItsLastShortBlock) {
  auto p = std::make_unique<Projection>();
  auto coor = std::make_unique<Coor>();
  p->natom = 3;
  p->nmode = 9;
  p->nvibm = 4;  // 3*3-5
  readFiles(*p, *coor, {"gaussian/hcn_linear/hcn.out", "gaussian/hcn_linear/hcn.out"});
  EXPECT_EQ(p->freq(1, 1), 738.9845);
  EXPECT_EQ(p->freq(3, 1), 2134.877);
  EXPECT_EQ(p->freq(4, 1), 3400.5651);
  // "     3   1     0.00   0.00  -0.99"
  EXPECT_EQ(p->eigv(4, 3, 2), 0.12);
  EXPECT_EQ(p->eigv(4, 9, 2), -0.99);
  EXPECT_EQ(p->eigv(4, 8, 2), 0.0);
}

// A file that holds its modes in the high-precision layout ends the run at
// its first "Frequencies ---" line, whatever the other files hold.
TEST(InputGaussian, HighPrecisionModesEndTheRunNamingTheLayout) {
  for (const char* file : {"gaussian/ethyl_h_addition_hpmodes/ts.log", "gaussian/dvb_hpmodes/dvb_ir.out"}) {
    const std::string path = std::string(KELMAR_TEST_DATA) + "/" + file;
    const bool ethyl = std::string(file).find("ethyl") != std::string::npos;
    auto p = std::make_unique<Projection>();
    auto coor = std::make_unique<Coor>();
    p->natom = ethyl ? 7 : 20;
    p->nmode = 3 * p->natom;
    p->nvibm = p->nmode - 6;
    std::string why;
    auto ts = openInputFile(path, why);
    ASSERT_TRUE(ts) << why;
    InputStream empty("", "r.log");
    InputStream* files[] = {&empty, ts.get()};
    TestConsole tc;
    EXPECT_EQ(runEndMessage([&] { inputgaussian(*p, *coor, files, fastestScanKernel(), tc.console); }),
              "kelmar: " + path + ", line " + (ethyl ? "736" : "777") +
                  ": the file holds its modes in the high-precision layout (\"Frequencies ---\", written by "
                  "freq=hpmodes or iop(7/33=1)), which kelmar does not read; run the frequencies without it, so "
                  "that the modes come in the default layout (\"Frequencies --\", three modes to a block)");
  }
}

// A surface run reads 3*natom modes, which a Gaussian file of a free
// molecule does not hold: a read error past its modes says so.
TEST(InputGaussian, SurfaceRunPastTheFilesModesNamesTheModeCount) {
  auto p = threeAtoms();
  p->reactype = Reactype("surface");
  p->nvibm = 9;
  auto coor = std::make_unique<Coor>();
  EXPECT_EQ(runEndMessage([&] { readTexts(*p, *coor, {std::string(kModes) + " - Thermochemistry -\n", ""}); }),
            "kelmar: file1.log, line 13: end of input, expected a line to skip (the mode block of modes 4-6, natom "
            "3; a surface run reads 3*natom = 9 modes, but the modes of a Gaussian file of a free molecule end at "
            "mode 3 (3*natom-6; 4 = 3*natom-5 for a linear one))");
  // a gas-phase run, which reads fewer modes, is not told so
  auto gas = threeAtoms();
  gas->reactype = Reactype("gas");
  gas->nvibm = 6;
  EXPECT_EQ(runEndMessage([&] { readTexts(*gas, *coor, {std::string(kModes) + " - Thermochemistry -\n", ""}); }),
            "kelmar: file1.log, line 13: end of input, expected a line to skip (the mode block of modes 4-6, natom "
            "3)");
}


// linear 1 reads mode 3*natom-5, which a file of a non-linear molecule does
// not hold: a read error there says so, unless a block of that mode starts
// where it is read (a file cut short, say).
TEST(InputGaussian, LinearRunPastTheFilesModesSaysSo) {
  const struct {
    std::string after;  // what follows kModes
    std::string message;
  } cases[] = {
      {" - Thermochemistry -\n",
       "kelmar: file1.log, line 13: end of input, expected a line to skip (the mode block of mode 4, natom 3; the "
       "file's modes end at mode 3 (3*natom-6, as for a non-linear molecule), while linear 1 asks for 4 "
       "(3*natom-5): linear 1 is for a linear molecule)"},
      {"                      4\n                      SG\n",
       "kelmar: file1.log, line 14: end of input, expected 2 texts and a real number (the mode block of mode 4, "
       "natom 3)"},
  };
  for (const auto& c : cases) {
    auto p = threeAtoms();
    p->reactype = Reactype("gas");
    p->linear = 1;
    p->nvibm = 4;
    auto coor = std::make_unique<Coor>();
    EXPECT_EQ(runEndMessage([&] { readTexts(*p, *coor, {kModes + c.after, ""}); }), c.message) << c.after;
  }
}

// In a gas-phase run, a file whose modes go on past nvibm gets a note: a
// block after the last one read, or more columns in a last short block.
// The look-ahead reads nothing: a section that follows is read as before.
TEST(InputGaussian, ModesPastNvibmGetANoteAndTheScanGoesOn) {
  const std::string next =
      "                      4\n"
      "                      SG\n"
      " Frequencies --   3400.5651\n";
  const std::string thermo = masses("15.5");
  const std::string shortBlock =  // modes 4 and 5 where a linear run reads mode 4 alone
      "                      4                      5\n"
      "                      SG                     SG\n"
      " Frequencies --   3400.5651              3500.25\n"
      " Red. masses --      1.1874                 1.0\n"
      " Frc consts  --      8.0900                 1.0\n"
      " IR Inten    --     37.9482                 1.0\n"
      "  Atom  AN      X      Y      Z        X      Y      Z\n"
      " 1 8 0.0 0.0 0.12 0.1 0.0 0.0\n"
      " 2 1 0.0 0.0 -0.03 0.2 0.0 0.0\n"
      " 3 1 0.0 0.0 -0.99 0.3 0.0 0.0\n";
  const std::string linearHint =
      "; a linear molecule has 3*natom-5 = 4 modes and needs linear 1 in the control file\n";
  const struct {
    const char* reactype;
    int linear;
    std::string after;  // what follows kModes
    std::string note;
  } cases[] = {
      {"gas", 0, next + thermo,
       "kelmar: note: file1.log, line 14: the file's modes go on past the 3 that the run reads (nvibm = "
       "3*natom-6): mode 4 (3400.5651 cm-1) is left out" + linearHint},
      // the wavenumber line right after the mode numbers
      {"gas", 0, "  4\n Frequencies -- 3400.5651\n" + thermo,
       "kelmar: note: file1.log, line 13: the file's modes go on past the 3 that the run reads (nvibm = "
       "3*natom-6): mode 4 (3400.5651 cm-1) is left out" + linearHint},
      {"gas", 1, shortBlock + thermo,
       "kelmar: note: file1.log, line 14: the file's modes go on past the 4 that the run reads (nvibm = "
       "3*natom-5): mode 5 (3500.25 cm-1) is left out\n"},
      // no block follows: a section, mode numbers that do not go on, a
      // marker where the wavenumber line would stand
      {"gas", 0, thermo, ""},
      {"gas", 0, "                      5\n SG\n Frequencies -- 3400.5651\n" + thermo, ""},
      {"gas", 0, "  4\n" + thermo, ""},
      {"gas", 0, "  4\n SG\n" + thermo, ""},
      // only a gas-phase run counts its modes from the linear flag
      {"surface gas", 0, next + thermo, ""},
  };
  for (const auto& c : cases) {
    auto p = threeAtoms();
    p->reactype = Reactype(c.reactype);
    p->linear = c.linear;
    p->nvibm = c.linear == 1 ? 4 : 3;  // the surface case too reads the modes of the gas-phase run
    auto coor = std::make_unique<Coor>();
    EXPECT_EQ(readTexts(*p, *coor, {kModes + c.after, ""}), c.note) << c.after;
    EXPECT_EQ(p->amass(1), 15.5) << c.after;  // the section after the modes is read as before
    EXPECT_EQ(p->freq(3, 1), 390.8);
    EXPECT_EQ(p->freq(4, 1), c.linear == 1 ? 3400.5651 : 0.0);
  }
}

}  // namespace
}  // namespace kelmar
