#include "input/signature.h"

#include <gtest/gtest.h>

#include <string>

#include "testconsole.h"

namespace kelmar {
namespace {

// The bundled files of each program carry its signature in their first lines;
// a VASP-derived mode file carries none.
TEST(Signature, TheFilesOfEachProgramAreKnownByTheirFirstLines) {
  const struct {
    const char* path;
    FileKind kind;
  } cases[] = {
      {"gaussian/claisen/reactant.out", FileKind::Gaussian},
      {"gaussian/diels_alder/ts.out", FileKind::Gaussian},  // after three lines of a job script
      {"gaussian/ethyl_h_addition_hpmodes/ts.log", FileKind::Gaussian},
      {"molpro/ch2o/ch2o.out", FileKind::Molpro},
      {"molpro/dvb/dvb_ir.out", FileKind::Molpro},
      {"vasp/h2o_gas/OUTCAR", FileKind::VaspOutcar},
      {"vasp/nh3_planar_saddle/OUTCAR", FileKind::VaspOutcar},
      {"polyrate-made/o_h2_three_structures.out", FileKind::Polyrate},
      {"vasp-made/h2o.modes", FileKind::Unknown},
  };
  for (const auto& c : cases) EXPECT_EQ(fileKindOf(dataFile(c.path)), c.kind) << c.path;
  // a Gaussian file that names Polyrate is a Gaussian file
  EXPECT_EQ(fileKindOf(" POLYRATE interface\n Entering Gaussian System, Link 0=g09\n"), FileKind::Gaussian);
  // "vasp." counts on the first line only, and a signature past the first
  // lines not at all
  EXPECT_EQ(fileKindOf("made with\n vasp.5 tools\n"), FileKind::Unknown);
  std::string late(kSignatureLines, '\n');
  EXPECT_EQ(fileKindOf(late + " Entering Gaussian System\n"), FileKind::Unknown);
  EXPECT_EQ(fileKindOf(late.substr(1) + " Entering Gaussian System\n"), FileKind::Gaussian);
}

std::string hintFor(const char* software, const std::string& text) {
  InputStream in(text, "f");
  return fileKindHint(Software(software), 3, in);
}

// A file of the program that the reader reads gets no hint; another
// program's file names that program and what software says.
TEST(Signature, HintSaysWhatTheFileLooksLikeAndWhatSoftwareSays) {
  const std::string gaussian = dataFile("gaussian/claisen/reactant.out");
  const std::string outcar = dataFile("vasp/h2o_gas/OUTCAR");
  EXPECT_EQ(hintFor("gaussian", gaussian), "");
  EXPECT_EQ(hintFor("vasp", "any\nmode file\n"), "");
  EXPECT_EQ(hintFor("polyrate gaussian", gaussian),
            "the file looks like a Gaussian output (its first lines hold \" Entering Gaussian System\"), but "
            "software \"polyrate gaussian\" (standard input, line 3) reads a Polyrate output file; Gaussian files "
            "are read with software gaussian");
  EXPECT_EQ(hintFor("molpro", outcar),
            "the file looks like a VASP OUTCAR (its first line starts with \"vasp.\"), but software \"molpro\" "
            "(standard input, line 3) reads Molpro output files; a VASP run is read with software vasp, from mode "
            "files made from its OUTCARs (see \"The VASP-derived mode file\" in the README)");
  // the VASP reader given an OUTCAR
  EXPECT_EQ(hintFor("vasp", outcar),
            "the file looks like an OUTCAR (its first line starts with \"vasp.\"), but the VASP reader takes a mode "
            "file made from the OUTCAR: see \"The VASP-derived mode file\" in the README");
}

}  // namespace
}  // namespace kelmar
