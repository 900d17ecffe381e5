// The loading tail: fragment masses, the loading echo and the unit mode
// vectors.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "input/input.h"
#include "testconsole.h"

namespace kelmar {
namespace {

using Loaded = TestState;

// Three atoms, Gaussian files, a reactant run: itrans 2 and nimag 1.
Loaded threeAtoms(const char* software = "gaussian") {
  Loaded l;
  Projection& p = *l.p;
  p.software = Software(software);
  p.fname = blankText().replace(0, 5, "r.log");
  p.fname2 = blankText().replace(0, 6, "ts.log");
  p.natom = 3;
  p.nreact1 = 1;
  p.nmode = 9;
  p.nvibm = 3;
  p.itrans = 2;
  p.nimag = 1;
  p.amass(1) = 15.995;
  p.amass(2) = 1.008;
  p.amass(3) = 1.008;
  p.geometryFound(1) = true;
  p.geometryFound(2) = true;
  p.modesFound(1) = true;
  p.modesFound(2) = true;
  l.coor->z(2) = 2.5;
  l.coor->y(3) = 1.0;
  l.coor->x(4) = -0.5;
  l.coor->z(5) = 1.25;
  l.coor->y(6) = 0.75;
  const double f[3][2] = {{12.345, -952.5}, {100.0, 200.0}, {300.0, 400.0}};
  for (int m = 1; m <= 3; ++m) {
    for (int s = 1; s <= 2; ++s) {
      p.freq(m, s) = f[m - 1][s - 1];
      p.eigv(m, m, s) = 1.0;
    }
  }
  // the reaction mode: weighted by the square roots of the masses it reads
  // (0, 0, -0.123) for atom 1 and (0, 0, sqrt(1 - 0.123^2)) for atom 3
  p.eigv(1, 1, 2) = 0.0;
  p.eigv(1, 3, 2) = -0.123 / std::sqrt(15.995);
  p.eigv(1, 9, 2) = std::sqrt(1.0 - 0.123 * 0.123) / std::sqrt(1.008);
  return l;
}

// For the files whose modes are used as read: the reaction mode as a unit
// vector before any weighting.
void unitReactionModeAsRead(Loaded& l) {
  l.p->eigv(1, 3, 2) = -0.123;
  l.p->eigv(1, 9, 2) = std::sqrt(1.0 - 0.123 * 0.123);
}

TEST(LoadingTail, EchoesMassesGeometriesFrequenciesAndTheReactionMode) {
  Loaded l = threeAtoms();
  TestConsole tc;
  loadingtail(*l.p, *l.coor, tc.console);
  EXPECT_EQ(tc.out(),
            " \n"
            " atomic mass, cartesian coordinates\n"
            " \n"
            "    15.99500000     0.00000000     0.00000000     0.00000000\n"
            "     1.00800000     0.00000000     0.00000000     2.50000000\n"
            "     1.00800000     0.00000000     1.00000000     0.00000000\n"
            " \n"
            "    15.99500000    -0.50000000     0.00000000     0.00000000\n"
            "     1.00800000     0.00000000     0.00000000     1.25000000\n"
            "     1.00800000     0.00000000     0.75000000     0.00000000\n"
            " \n"
            " frequencies for stationary points\n"
            " \n"
            "    12.34500000  -952.50000000\n"
            "   100.00000000   200.00000000\n"
            "   300.00000000   400.00000000\n"
            " \n"
            " imaginary frequency at TS\n"
            "  -952.500000000000     \n"
            " \n"
            " normal mode vector for reaction mode\n"
            "     0.000     0.000    -0.123\n"
            "     0.000     0.000     0.000\n"
            "     0.000     0.000     0.992\n"
            " \n");
  EXPECT_EQ(tc.err(), "");
  EXPECT_EQ(l.p->tmass1, 15.995);
  EXPECT_EQ(l.p->tmass2, 1.008 + 1.008);
  EXPECT_EQ(l.p->tmass, 15.995 + (1.008 + 1.008));
}

TEST(LoadingTail, GaussianAndMolproModesBecomeUnitVectorsOthersStayAsRead) {
  for (const char* software : {"gaussian", "molpro", "polyrate gaussian", "vasp", "polyrate"}) {
    Loaded l = threeAtoms(software);
    l.p->eigv(2, 4, 1) = 3.0;  // mode 2 of slab 1: rows 2 (atom 1) and 4 (atom 2)
    TestConsole tc;
    loadingtail(*l.p, *l.coor, tc.console);
    bool weighted = contains(l.p->software.text(), "gaussian") || contains(l.p->software.text(), "molpro");
    double w1 = std::sqrt(15.995), w2 = 3.0 * std::sqrt(1.008);
    double norm = std::sqrt(w1 * w1 + w2 * w2);
    EXPECT_DOUBLE_EQ(l.p->eigv(2, 2, 1), weighted ? w1 / norm : 1.0) << software;
    EXPECT_DOUBLE_EQ(l.p->eigv(2, 4, 1), weighted ? w2 / norm : 3.0) << software;
  }
}

TEST(LoadingTail, SingleReactantHasNoSecondFragmentMass) {
  Loaded l = threeAtoms();
  l.p->nreact1 = 3;
  TestConsole tc;
  loadingtail(*l.p, *l.coor, tc.console);
  EXPECT_EQ(l.p->tmass2, 0.0);
  EXPECT_EQ(l.p->tmass, l.p->tmass1);
}

// The message that the tail ends the run with.
std::string failure(Loaded& l) {
  TestConsole tc;
  return runEndMessage([&] { loadingtail(*l.p, *l.coor, tc.console); });
}

TEST(LoadingTail, ModeWithoutComponentsIsRejectedNamingTheFile) {
  Loaded l = threeAtoms();
  for (int r = 1; r <= 9; ++r) l.p->eigv(3, r, 2) = 0.0;
  EXPECT_EQ(failure(l),
            "kelmar: ts.log: mode 3 has no nonzero component, so it cannot be normalised (the file holds fewer "
            "modes than the control file's atom count needs)");
  // modes used as read: a zero mode is one that the file does not hold
  Loaded vasp = threeAtoms("vasp");
  for (int r = 1; r <= 9; ++r) vasp.p->eigv(3, r, 2) = 0.0;
  EXPECT_EQ(failure(vasp),
            "kelmar: ts.log: mode 3 has no nonzero component (the file holds fewer than the 3 modes (nvibm) that "
            "the run projects, or an empty mode)");
  Loaded polyrate = threeAtoms("polyrate");
  for (int r = 1; r <= 9; ++r) polyrate.p->eigv(2, r, 1) = 0.0;
  EXPECT_EQ(failure(polyrate),
            "kelmar: r.log (structure 1): mode 2 has no nonzero component (the file holds fewer than the 3 modes "
            "(nvibm) that the run projects, or an empty mode)");
}

// A structure whose reader never met the file's frequency section has no
// modes at all: that comes first, before the modes without components,
// unless the file looks like another program's.
TEST(LoadingTail, StructureWithoutAFrequencySectionIsNamedFirst) {
  const std::string run = ": the modes come from a frequency calculation, which must be run on the structure";
  const struct {
    const char* software;
    int slab;
    bool geometry;  // whether the reader found a geometry all the same
    std::string hint;
    std::string message;
  } cases[] = {
      {"gaussian", 2, true, "",
       "kelmar: ts.log: the file holds no frequency section (no line with \"normal coordinates:\")" + run},
      {"molpro", 2, true, "",
       "kelmar: ts.log: the file holds no frequency section (no line with \"Normal Modes\")" + run},
      // a Molpro file gives its geometry in the frequency section
      {"molpro", 1, false, "",
       "kelmar: r.log: the file holds no frequency section (no line with \"CALCULATION OF NORMAL MODES\" or "
       "\"Normal Modes\"), which gives the geometry and the modes" + run},
      {"polyrate", 1, true, "",
       "kelmar: r.log (structure 1): the file holds no frequency section for this structure (no \"Frequencies "
       "and normalized eigenvector\" section after its geometry section)" + run},
      {"vasp", 2, true, "", "kelmar: ts.log: the file holds no modes (its mode count is not above 0)" + run},
      // a file that looks like another program's: that is said instead
      {"gaussian", 1, true, "the file looks like X",
       "kelmar: r.log: mode 1 has no nonzero component, so it cannot be normalised (the file holds fewer modes "
       "than the control file's atom count needs) (the file looks like X)"},
      {"molpro", 2, false, "the file looks like X",
       "kelmar: ts.log: the file gives no geometry for its structure: it holds no geometry section "
       "(\"CALCULATION OF NORMAL MODES\" and the atomic coordinates after it) (the file looks like X)"},
  };
  for (const auto& c : cases) {
    Loaded l = threeAtoms(c.software);
    unitReactionModeAsRead(l);
    l.p->modesFound(c.slab) = false;
    l.p->geometryFound(c.slab) = c.geometry;
    l.p->fileHint(c.slab) = c.hint;
    for (int m = 1; m <= 3; ++m) {
      for (int r = 1; r <= 9; ++r) l.p->eigv(m, r, c.slab) = 0.0;
    }
    EXPECT_EQ(failure(l), c.message) << c.software << " slab " << c.slab;
  }
}

TEST(LoadingTail, ModesReadAsUnitVectorsGetANoteWhenTheirNormIsFarFrom1) {
  const struct {
    const char* software;
    double component;  // row 5 of mode 2 of slab 2, beside a 1 in row 2
    const char* err;
  } cases[] = {
      {"vasp", 0.1, ""},  // norm 1.005: within 1%
      {"vasp", 0.5,
       "kelmar: note: ts.log: mode 2 has the norm 1.11803 as read, not 1; its modes are projected as read, so "
       "the file may not have the expected layout (check natom and the file's lines)\n"},
      {"polyrate", 0.5,
       "kelmar: note: r.log (structure 2): mode 2 has the norm 1.11803 as read, not 1; its modes are projected "
       "as read, so the file may not have the expected layout (check natom and the file's lines)\n"},
      {"gaussian", 0.5, ""},  // weighted and normalised: no note
  };
  for (const auto& c : cases) {
    Loaded l = threeAtoms(c.software);
    unitReactionModeAsRead(l);
    l.p->eigv(2, 5, 2) = c.component;
    l.p->eigv(3, 6, 2) = c.component;  // a second such mode gets no note of its own
    TestConsole tc;
    loadingtail(*l.p, *l.coor, tc.console);
    EXPECT_EQ(tc.err(), c.err) << c.software;
  }
}

TEST(LoadingTail, MassesMustBePositiveNamingWhereTheyCameFrom) {
  for (double bad : {0.0, -1.0}) {
    Loaded l = threeAtoms();
    l.p->amass(2) = bad;
    l.p->massOrigin(2) = Origin{2, 32};
    EXPECT_EQ(failure(l), "kelmar: ts.log, line 32: atom 2 has the mass " + std::string(bad == 0.0 ? "0" : "-1") +
                              "; every mass must be positive");
    l.p->massOrigin(2) = Origin{0, 17};
    EXPECT_EQ(failure(l), "kelmar: standard input, line 17: atom 2 has the mass " +
                              std::string(bad == 0.0 ? "0" : "-1") + "; every mass must be positive");
  }
}

TEST(LoadingTail, StructuresWithoutGeometryOrMissingFromTheFileAreRejected) {
  Loaded gaussian = threeAtoms("gaussian");
  gaussian.p->geometryFound(2) = false;
  EXPECT_EQ(failure(gaussian),
            "kelmar: ts.log: the file gives no geometry for its structure: it holds no \"Coordinates (Angstroms)\" "
            "table before its frequency section (a table after it belongs to a later job)");
  gaussian.p->modesFound(2) = false;
  EXPECT_EQ(failure(gaussian),
            "kelmar: ts.log: the file gives no geometry for its structure: it holds no \"Coordinates (Angstroms)\" "
            "table");
  Loaded molpro = threeAtoms("molpro");
  molpro.p->geometryFound(1) = false;
  EXPECT_EQ(failure(molpro),
            "kelmar: r.log: the file gives no geometry for its structure: it holds no geometry section "
            "(\"CALCULATION OF NORMAL MODES\" and the atomic coordinates after it)");
  // the VASP-derived and Polyrate readers always read a geometry
  Loaded vasp = threeAtoms("vasp");
  vasp.p->geometryFound(2) = false;
  EXPECT_EQ(failure(vasp), "the run went on");
  // The last structure of a Polyrate file is the transition state: a file
  // short of one would project it on itself.
  // A surface run stops a product run before its report, after the
  // structures it reads: two are enough to get there.
  const struct {
    const char* reactype;
    int iprod, itrans;
    const char* message;
  } polyrateCases[] = {
      {"gas", 0, 1,
       "kelmar: r.log: the file holds 1 structure (\" Initial guess \" and \" Initial saddle \" sections), but "
       "a reactant run needs 2: the reactant and then the transition state"},
      {"gas", 0, 2, "the run went on"},
      {"gas", 0, 3, "the run went on"},
      {"gas", 1, 1,
       "kelmar: r.log: the file holds 1 structure (\" Initial guess \" and \" Initial saddle \" sections), but "
       "a product run needs 3: the reactant, the product and then the transition state"},
      {"gas", 1, 2,
       "kelmar: r.log: the file holds 2 structures (\" Initial guess \" and \" Initial saddle \" sections), "
       "but a product run needs 3: the reactant, the product and then the transition state"},
      {"gas", 1, 3, "the run went on"},
      {"gas-surface", 1, 2,
       "kelmar: r.log: the file holds 2 structures (\" Initial guess \" and \" Initial saddle \" sections), "
       "but a product run needs 3: the reactant, the product and then the transition state"},
      {"surface", 1, 1,
       "kelmar: r.log: the file holds 1 structure (\" Initial guess \" and \" Initial saddle \" sections), but "
       "a surface run needs 2: the reactant and then the transition state"},
      {"surface", 1, 2, "the run went on"},
      {"surface", 0, 1,
       "kelmar: r.log: the file holds 1 structure (\" Initial guess \" and \" Initial saddle \" sections), but "
       "a reactant run needs 2: the reactant and then the transition state"},
  };
  for (const auto& c : polyrateCases) {
    Loaded polyrate = threeAtoms("polyrate");
    unitReactionModeAsRead(polyrate);
    for (int m = 1; m <= 3; ++m) polyrate.p->eigv(m, m, 3) = 1.0;
    polyrate.p->reactype = Reactype(c.reactype);
    polyrate.p->iprod = c.iprod;
    polyrate.p->itrans = c.itrans;
    EXPECT_EQ(failure(polyrate), c.message)
        << c.reactype << ", iprod " << c.iprod << ", " << c.itrans << " structures";
  }
}

TEST(LoadingTail, TransitionStateWhoseReactionModeIsNotImaginaryGetsANote) {
  const std::string minimum =
      ", which is not negative: the file may hold a minimum, not a transition state";
  const std::string zero = ": a zero wavenumber belongs to a translation or rotation, not to a reaction mode";
  const struct {
    const char* software;
    double wavenumber;
    double reactant;  // the same mode of the projected structure
    std::string err;
  } cases[] = {
      {"gaussian", -952.5, 12.345, ""},
      {"gaussian", 60.88, 12.345,
       "kelmar: note: ts.log: the reaction mode of the transition state (mode 1) has the wavenumber 60.88" +
           minimum + "\n"},
      {"gaussian", std::nan(""), 12.345,
       "kelmar: note: ts.log: the reaction mode of the transition state (mode 1) has the wavenumber nan" +
           minimum + "\n"},
      {"molpro", 0.0, 12.345,
       "kelmar: note: ts.log: the reaction mode of the transition state (mode 1) has the wavenumber 0" + zero +
           "\n"},
      // Molpro's zero negated
      {"molpro", -0.0, 12.345,
       "kelmar: note: ts.log: the reaction mode of the transition state (mode 1) has the wavenumber 0" + zero +
           "\n"},
      // the reactant file holds the imaginary mode
      {"vasp", 60.88, -952.5,
       "kelmar: note: ts.log: the reaction mode of the transition state (mode 1) has the wavenumber 60.88" +
           minimum +
           "; mode 1 of r.log, the reactant file, has the wavenumber -952.5: the files may be given in the wrong "
           "order (lines 9 and 10 of the control file name the reactant and then the transition state)\n"},
      // how Polyrate writes an imaginary wavenumber is not known, but no
      // reaction mode has a zero one
      {"polyrate", 60.88, -952.5, ""},
      {"polyrate", 0.0, -952.5,
       "kelmar: note: r.log (structure 2): the reaction mode of the transition state (mode 1) has the "
       "wavenumber 0" + zero + "\n"},
  };
  for (const auto& c : cases) {
    Loaded l = threeAtoms(c.software);
    unitReactionModeAsRead(l);
    l.p->fnameLines[0] = 9;
    l.p->fnameLines[1] = 10;
    l.p->freq(1, 2) = c.wavenumber;
    l.p->freq(1, 1) = c.reactant;
    TestConsole tc;
    loadingtail(*l.p, *l.coor, tc.console);
    EXPECT_EQ(tc.err(), c.err) << c.software;
  }
}


// The notes of the tail alone, for a state the test has set up.
std::string tailNotes(Loaded& l) {
  TestConsole tc;
  loadingtail(*l.p, *l.coor, tc.console);
  return tc.err();
}

TEST(LoadingTail, MolproReactionModeFromTheLowZeroSectionGetsANoteWhateverItsWavenumber) {
  const std::string low =
      ", a mode of the file's \"Normal Modes of low/zero frequencies\" section (printed 25.31, stored negated): a "
      "low/zero mode belongs to a translation or rotation, not to a reaction mode";
  const struct {
    const char* what;
    double wavenumber;
    ModeSection section;
    bool imaginaryMode2;  // mode 2 of the transition state is an imaginary one
    std::string err;
  } cases[] = {
      {"the imaginary mode", -428.8, ModeSection::Imaginary, false, ""},
      {"a low/zero mode of 25.31", -25.31, ModeSection::LowZero, true,
       "kelmar: note: ts.log: the reaction mode of the transition state (mode 3) has the wavenumber -25.31" + low +
           "; the file's imaginary mode is mode 2 (-428.8)\n"},
      {"one without an imaginary mode in the file", -25.31, ModeSection::LowZero, false,
       "kelmar: note: ts.log: the reaction mode of the transition state (mode 3) has the wavenumber -25.31" + low +
           "; the file lists no imaginary mode\n"},
      // a zero one keeps the note of any zero wavenumber
      {"a low/zero mode of 0", -0.0, ModeSection::LowZero, false,
       "kelmar: note: ts.log: the reaction mode of the transition state (mode 3) has the wavenumber 0: a zero "
       "wavenumber belongs to a translation or rotation, not to a reaction mode\n"},
  };
  for (const auto& c : cases) {
    Loaded l = threeAtoms("molpro");
    Projection& p = *l.p;
    p.nimag = 3;
    p.freq(3, 2) = c.wavenumber;
    p.modeSection(3, 2) = c.section;
    if (c.imaginaryMode2) {
      p.freq(2, 2) = -428.8;
      p.modeSection(2, 2) = ModeSection::Imaginary;
    }
    // the reactant's low/zero mode, negated too, is no imaginary mode: no
    // hint that the files are in the wrong order
    p.freq(3, 1) = -25.31;
    p.modeSection(3, 1) = ModeSection::LowZero;
    EXPECT_EQ(tailNotes(l), c.err) << c.what;
  }
}

TEST(LoadingTail, ReactantWithAnImaginaryModeOrTransitionStateWithSeveralGetANote) {
  const std::string minimum =
      ": a reactant is a minimum, without imaginary modes; the file may hold a transition state\n";
  const struct {
    const char* what;
    const char* software;
    double reactant[3];
    double ts[3];
    std::string err;
  } cases[] = {
      {"a minimum and a first-order saddle point", "gaussian", {12.345, 100, 300}, {-952.5, 200, 400}, ""},
      {"an imaginary reactant mode", "gaussian", {12.345, -18.85, 300}, {-952.5, 200, 400},
       "kelmar: note: r.log: the reactant has an imaginary mode (a negative wavenumber), mode 2 (-18.85)" + minimum},
      {"three", "gaussian", {-1, -2, -3}, {-952.5, 200, 400},
       "kelmar: note: r.log: the reactant has 3 imaginary modes (negative wavenumbers), modes 1 (-1), 2 (-2) and 3 "
       "(-3)" + minimum},
      {"two imaginary transition-state modes", "gaussian", {12.345, 100, 300}, {-952.5, 200, -55.78},
       "kelmar: note: ts.log: the transition state has 2 imaginary modes (negative wavenumbers), modes 1 (-952.5) "
       "and 3 (-55.78): a transition state has one, its reaction mode; the file may hold a saddle point of higher "
       "order\n"},
      // the files in each other's place: one note says so
      {"the files swapped", "gaussian", {-952.5, 200, 400}, {12.345, 100, 300},
       "kelmar: note: ts.log: the reaction mode of the transition state (mode 1) has the wavenumber 12.345, which "
       "is not negative: the file may hold a minimum, not a transition state; mode 1 of r.log, the reactant file, "
       "has the wavenumber -952.5: the files may be given in the wrong order (lines 9 and 10 of the control file "
       "name the reactant and then the transition state)\n"},
      // the way these files show an imaginary mode is not known here
      {"VASP-derived", "vasp", {12.345, -18.85, 300}, {-952.5, 200, -55.78}, ""},
      {"Polyrate", "polyrate", {12.345, -18.85, 300}, {-952.5, 200, -55.78}, ""},
  };
  for (const auto& c : cases) {
    Loaded l = threeAtoms(c.software);
    if (!l.p->software.words().weightsModes) unitReactionModeAsRead(l);
    l.p->fnameLines[0] = 9;
    l.p->fnameLines[1] = 10;
    for (int m = 1; m <= 3; ++m) {
      l.p->freq(m, 1) = c.reactant[m - 1];
      l.p->freq(m, 2) = c.ts[m - 1];
    }
    EXPECT_EQ(tailNotes(l), c.err) << c.what;
  }
}

TEST(LoadingTail, MolproImaginaryModesAreThoseOfTheImaginarySection) {
  const std::string section = " in its \"Normal Modes of imaginary frequencies\" section, ";
  const struct {
    const char* what;
    ModeSection reactant2;  // the section of mode 2 of the reactant
    ModeSection ts2;        // the same of the transition state
    bool sameFile;
    std::string err;
  } cases[] = {
      {"low/zero modes, stored negated", ModeSection::LowZero, ModeSection::LowZero, false, ""},
      {"an imaginary reactant mode", ModeSection::Imaginary, ModeSection::Real, false,
       "kelmar: note: r.out: the reactant lists an imaginary mode" + section +
           "mode 2 (-5): a reactant is a minimum, without imaginary modes; the file may hold a transition state\n"},
      {"the transition-state file named twice", ModeSection::Imaginary, ModeSection::Real, true,
       "kelmar: note: ts.out: the reactant lists an imaginary mode" + section +
           "mode 2 (-5): a reactant is a minimum, without imaginary modes; lines 9 and 10 of the control file name "
           "this file for the reactant and for the transition state\n"},
      {"two imaginary transition-state modes", ModeSection::Real, ModeSection::Imaginary, false,
       "kelmar: note: ts.out: the transition state lists 2 imaginary modes" + section +
           "modes 2 (-5) and 3 (-952.5): a transition state has one, its reaction mode; the file may hold a saddle "
           "point of higher order\n"},
  };
  for (const auto& c : cases) {
    Loaded l = threeAtoms("molpro");
    Projection& p = *l.p;
    p.fname = blankText().replace(0, 5, c.sameFile ? "ts.out" : "r.out");
    p.fname2 = blankText().replace(0, 6, "ts.out");
    p.fnameLines[0] = 9;
    p.fnameLines[1] = 10;
    p.nimag = 3;
    p.freq(3, 2) = -952.5;
    p.modeSection(3, 2) = ModeSection::Imaginary;
    p.freq(2, 1) = -5.0;
    p.modeSection(2, 1) = c.reactant2;
    p.freq(2, 2) = -5.0;
    p.modeSection(2, 2) = c.ts2;
    EXPECT_EQ(tailNotes(l), c.err) << c.what;
  }
}

TEST(LoadingTail, FragmentBoundaryThroughABondGetsANote) {
  // atom 1 (O by its mass 15.995) and atom 2 (H) across the boundary at
  // nreact1 1; O-H counts as bonded below 1.2 * (0.66 + 0.31) = 1.164 angstrom
  const char* const oh =
      "kelmar: note: r.log: in the reactant, atoms 1 (O) and 2 (H), the nearest pair across the fragment boundary "
      "(nreact1 1), lie ";
  const char* const tail =
      " apart, within bonding distance (1.2 times the sum of their covalent radii is 1.16 angstrom): the boundary "
      "may cut a bond; fragment 1 (atom 1) and fragment 2 (atoms 2-3) should each be a whole molecule or a single "
      "atom\n";
  const struct {
    const char* what;
    const char* software;
    const char* reactype;
    int nreact1;
    int z1;  // the element of atom 1 as the file gives it (0: none)
    double distance;
    std::string err;
  } cases[] = {
      {"within", "gaussian", "gas", 1, 0, 1.16, std::string(oh) + "1.16 angstrom" + tail},
      {"beyond", "gaussian", "gas", 1, 0, 1.17, ""},
      // Molpro geometries are in bohr: 2.19 bohr is 1.159 angstrom
      {"within, in bohr", "molpro", "gas", 1, 0, 2.19, std::string(oh) + "2.19 bohr (1.16 angstrom)" + tail},
      {"beyond, in bohr", "molpro", "gas", 1, 0, 2.21, ""},
      // the file's element before the mass: iodine, 1.2 * (1.39 + 0.31) = 2.04
      {"iodine", "gaussian", "gas", 1, 53, 1.6,
       "kelmar: note: r.log: in the reactant, atoms 1 (I) and 2 (H), the nearest pair across the fragment boundary "
       "(nreact1 1), lie 1.60 angstrom apart, within bonding distance (1.2 times the sum of their covalent radii is "
       "2.04 angstrom): the boundary may cut a bond; fragment 1 (atom 1) and fragment 2 (atoms 2-3) should each be "
       "a whole molecule or a single atom\n"},
      // an element without a radius here: its pairs are left out
      {"fermium", "gaussian", "gas", 1, 100, 0.5, ""},
      // only a gas-phase run of two fragments
      {"surface", "gaussian", "surface", 1, 0, 0.5, ""},
      {"one fragment", "gaussian", "gas", 3, 0, 0.5, ""},
      {"empty first fragment", "gaussian", "gas", 0, 0, 0.5, ""},
  };
  for (const auto& c : cases) {
    Loaded l = threeAtoms(c.software);
    Projection& p = *l.p;
    Coor& coor = *l.coor;
    p.reactype = Reactype(c.reactype);
    p.nreact1 = c.nreact1;
    p.element(1, 1).z = c.z1;
    // slab 1: atom 2 on the z axis, atom 3 far off; the transition state
    // (slab 2) has atoms 1 and 2 close together, which does not count
    for (int pos = 1; pos <= 6; ++pos) coor.x(pos) = coor.y(pos) = coor.z(pos) = 0.0;
    coor.z(2) = c.distance;
    coor.y(3) = 5.0;
    coor.z(5) = 0.3;
    coor.y(6) = 5.0;
    EXPECT_EQ(tailNotes(l), c.err) << c.what;
  }
}

TEST(LoadingTail, ProductRunChecksTheBondsOfTheProduct) {
  Loaded l = threeAtoms();
  Projection& p = *l.p;
  Coor& coor = *l.coor;
  p.reactype = Reactype("gas");
  p.iprod = 1;
  p.itrans = 3;
  p.fname3 = p.fname2;
  p.fname2 = blankText().replace(0, 5, "p.log");
  for (int m = 1; m <= 3; ++m) {
    p.freq(m, 3) = p.freq(m, 2);
    p.freq(m, 2) = 100.0 * m;
    for (int r = 1; r <= 9; ++r) p.eigv(m, r, 3) = p.eigv(m, r, 2);
  }
  p.geometryFound(3) = true;
  // the reactant (slab 1) has atoms 1 and 2 0.5 apart, the product (slab 2)
  // 1.0, the transition state (slab 3) 0.3
  for (int pos = 1; pos <= 9; ++pos) coor.x(pos) = coor.y(pos) = coor.z(pos) = 0.0;
  coor.z(2) = 0.5;
  coor.z(5) = 1.0;
  coor.z(8) = 0.3;
  for (int pos : {3, 6, 9}) coor.y(pos) = 5.0;
  EXPECT_EQ(tailNotes(l),
            "kelmar: note: p.log: in the product, atoms 1 (O) and 2 (H), the nearest pair across the fragment "
            "boundary (nreact1 1), lie 1.00 angstrom apart, within bonding distance (1.2 times the sum of their "
            "covalent radii is 1.16 angstrom): the boundary may cut a bond; fragment 1 (atom 1) and fragment 2 "
            "(atoms 2-3) should each be a whole molecule or a single atom\n");
}

}  // namespace
}  // namespace kelmar
