// The decisions taken from the words of software and reactype: each question
// has its own order of tests, so a value with two words can answer two
// questions differently.
#include <gtest/gtest.h>

#include <string>

#include "shared/controlwords.h"
#include "shared/projection.h"

namespace kelmar {
namespace {

constexpr FileNames kOne = FileNames::One;
constexpr FileNames kTwo = FileNames::ReactantAndTransitionState;
constexpr FileNames kByIprod = FileNames::ByIprod;
constexpr bool kWeighted = true, kAsRead = false;
constexpr bool kLast = true, kFirst = false;

void expectAnswers(const SoftwareWords& got, const SoftwareWords& expected, const std::string& software) {
  EXPECT_EQ(got.names, expected.names) << software;
  EXPECT_EQ(got.reader, expected.reader) << software;
  EXPECT_EQ(got.weightsModes, expected.weightsModes) << software;
  EXPECT_EQ(got.vibrationsLast, expected.vibrationsLast) << software;
}

TEST(ControlWords, SoftwareAnswersEachQuestionInItsOwnOrder) {
  // what each value answers: the file names read, the reader, whether the
  // modes are weighted, whether the vibrations are the last modes
  struct Case {
    const char* software;
    SoftwareWords expected;
  };
  using R = Reader;
  const Case cases[] = {
      // every word alone
      {"gaussian", {kByIprod, R::Gaussian, kWeighted, kLast}},
      {"molpro", {kByIprod, R::Molpro, kWeighted, kFirst}},
      {"polyrate", {kOne, R::Polyrate, kAsRead, kFirst}},
      {"vasp", {kTwo, R::Vasp, kAsRead, kFirst}},
      // a word among other characters still counts
      {"gaussian09", {kByIprod, R::Gaussian, kWeighted, kLast}},
      {"g16-gaussian-run", {kByIprod, R::Gaussian, kWeighted, kLast}},
      // capitals and misspellings name nothing
      {"Gaussian", {kByIprod, R::None, kAsRead, kFirst}},
      {"MOLPRO", {kByIprod, R::None, kAsRead, kFirst}},
      {"Polyrate", {kByIprod, R::None, kAsRead, kFirst}},
      {"VASP", {kByIprod, R::None, kAsRead, kFirst}},
      {"gausian", {kByIprod, R::None, kAsRead, kFirst}},
      {"molpr", {kByIprod, R::None, kAsRead, kFirst}},
      {"poly rate", {kByIprod, R::None, kAsRead, kFirst}},
      {"", {kByIprod, R::None, kAsRead, kFirst}},
      // every pair, in both orders: the order within the value changes nothing
      {"gaussian molpro", {kByIprod, R::Gaussian, kWeighted, kLast}},
      {"molpro gaussian", {kByIprod, R::Gaussian, kWeighted, kLast}},
      {"gaussian polyrate", {kOne, R::Polyrate, kWeighted, kLast}},
      {"polyrate gaussian", {kOne, R::Polyrate, kWeighted, kLast}},
      {"gaussian vasp", {kTwo, R::Gaussian, kWeighted, kLast}},
      {"vasp gaussian", {kTwo, R::Gaussian, kWeighted, kLast}},
      {"molpro polyrate", {kOne, R::Polyrate, kWeighted, kFirst}},
      {"polyrate molpro", {kOne, R::Polyrate, kWeighted, kFirst}},
      {"molpro vasp", {kTwo, R::Vasp, kWeighted, kFirst}},
      {"vasp molpro", {kTwo, R::Vasp, kWeighted, kFirst}},
      {"polyrate vasp", {kOne, R::Polyrate, kAsRead, kFirst}},
      {"vasp polyrate", {kOne, R::Polyrate, kAsRead, kFirst}},
      // all four
      {"vasp molpro gaussian polyrate", {kOne, R::Polyrate, kWeighted, kLast}},
  };
  for (const Case& c : cases) {
    expectAnswers(softwareWords(c.software), c.expected, c.software);
    // the run's value decides the same from its text, padded to 50 characters
    const Software held(c.software);
    EXPECT_EQ(held.text(), std::string(c.software) + std::string(kTextLength - std::string(c.software).size(), ' '));
    expectAnswers(held.words(), c.expected, c.software);
  }
}

TEST(ControlWords, ReactypeCountsSurfaceFirstAndTranslatesGasFirst) {
  // the mode count and the translations of each value
  struct Case {
    const char* reactype;
    ModeCount modes;
    Translations translations;
  };
  constexpr ModeCount k3natom = ModeCount::AllCartesian, kVibrations = ModeCount::Vibrations;
  constexpr Translations kRelative = Translations::Relative, kMolecular = Translations::Molecular;
  const Case cases[] = {
      {"gas", kVibrations, kRelative},
      {"surface", k3natom, kMolecular},
      {"gasphase", kVibrations, kRelative},
      {"gas-surface", k3natom, kRelative},
      {"surfacegas", k3natom, kRelative},
      {"surface gas", k3natom, kRelative},
      {"Gas", ModeCount::None, Translations::None},
      {"SURFACE", ModeCount::None, Translations::None},
      {"gs", ModeCount::None, Translations::None},
      {"surfce", ModeCount::None, Translations::None},
      {"", ModeCount::None, Translations::None},
  };
  for (const Case& c : cases) {
    for (const ReactypeWords& w : {reactypeWords(c.reactype), Reactype(c.reactype).words()}) {
      EXPECT_EQ(w.modes, c.modes) << c.reactype;
      EXPECT_EQ(w.translations, c.translations) << c.reactype;
    }
  }
}

TEST(ControlWords, ValueIsCutToItsFiftyCharactersBeforeTheWordsAreSought) {
  // a word past the 50th character is not part of the value
  const std::string text = std::string(48, 'x') + "gaussian";
  const Software held(text);
  EXPECT_EQ(held.text(), text.substr(0, kTextLength));
  EXPECT_EQ(held.words().reader, Reader::None);
  // a value built without a text holds blanks and names nothing
  EXPECT_EQ(Software().text(), std::string(kTextLength, ' '));
  EXPECT_EQ(Reactype().words().modes, ModeCount::None);
}

}  // namespace
}  // namespace kelmar
