// The decisions taken from the words of software and reactype: each question
// has its own order of tests, so a value with two words can answer two
// questions differently.
#include <gtest/gtest.h>

#include <string>

#include "shared/controlwords.h"
#include "shared/projection.h"

namespace kelmar {
namespace {

const char* nameOf(FileNames f) {
  switch (f) {
    case FileNames::One:
      return "one";
    case FileNames::ReactantAndTransitionState:
      return "reactant+ts";
    case FileNames::ByIprod:
      return "by iprod";
  }
  return "?";
}

const char* nameOf(Reader r) {
  switch (r) {
    case Reader::Polyrate:
      return "polyrate";
    case Reader::Gaussian:
      return "gaussian";
    case Reader::Vasp:
      return "vasp";
    case Reader::Molpro:
      return "molpro";
    case Reader::None:
      return "none";
  }
  return "?";
}

const char* nameOf(ModeCount m) {
  switch (m) {
    case ModeCount::AllCartesian:
      return "3natom";
    case ModeCount::Vibrations:
      return "vibrations";
    case ModeCount::None:
      return "none";
  }
  return "?";
}

const char* nameOf(Translations t) {
  switch (t) {
    case Translations::Relative:
      return "relative";
    case Translations::Molecular:
      return "molecular";
    case Translations::None:
      return "none";
  }
  return "?";
}

// What a software value answers: the file names read, the reader, whether
// the modes are weighted, and whether the vibrations are the last modes.
std::string answers(const SoftwareWords& w) {
  return std::string(nameOf(w.names)) + ", " + nameOf(w.reader) + (w.weightsModes ? ", weighted" : ", as read") +
         (w.vibrationsLast ? ", vibrations last" : ", vibrations first");
}

std::string answers(const ReactypeWords& w) {
  return std::string(nameOf(w.modes)) + ", " + nameOf(w.translations);
}

TEST(ControlWords, SoftwareAnswersEachQuestionInItsOwnOrder) {
  struct Case {
    const char* software;
    const char* expected;
  };
  const Case cases[] = {
      // every word alone
      {"gaussian", "by iprod, gaussian, weighted, vibrations last"},
      {"molpro", "by iprod, molpro, weighted, vibrations first"},
      {"polyrate", "one, polyrate, as read, vibrations first"},
      {"vasp", "reactant+ts, vasp, as read, vibrations first"},
      // a word among other characters still counts
      {"gaussian09", "by iprod, gaussian, weighted, vibrations last"},
      {"g16-gaussian-run", "by iprod, gaussian, weighted, vibrations last"},
      // capitals and misspellings name nothing
      {"Gaussian", "by iprod, none, as read, vibrations first"},
      {"MOLPRO", "by iprod, none, as read, vibrations first"},
      {"Polyrate", "by iprod, none, as read, vibrations first"},
      {"VASP", "by iprod, none, as read, vibrations first"},
      {"gausian", "by iprod, none, as read, vibrations first"},
      {"molpr", "by iprod, none, as read, vibrations first"},
      {"poly rate", "by iprod, none, as read, vibrations first"},
      {"", "by iprod, none, as read, vibrations first"},
      // every pair, in both orders: the order within the value changes nothing
      {"gaussian molpro", "by iprod, gaussian, weighted, vibrations last"},
      {"molpro gaussian", "by iprod, gaussian, weighted, vibrations last"},
      {"gaussian polyrate", "one, polyrate, weighted, vibrations last"},
      {"polyrate gaussian", "one, polyrate, weighted, vibrations last"},
      {"gaussian vasp", "reactant+ts, gaussian, weighted, vibrations last"},
      {"vasp gaussian", "reactant+ts, gaussian, weighted, vibrations last"},
      {"molpro polyrate", "one, polyrate, weighted, vibrations first"},
      {"polyrate molpro", "one, polyrate, weighted, vibrations first"},
      {"molpro vasp", "reactant+ts, vasp, weighted, vibrations first"},
      {"vasp molpro", "reactant+ts, vasp, weighted, vibrations first"},
      {"polyrate vasp", "one, polyrate, as read, vibrations first"},
      {"vasp polyrate", "one, polyrate, as read, vibrations first"},
      // all four
      {"vasp molpro gaussian polyrate", "one, polyrate, weighted, vibrations last"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(answers(softwareWords(c.software)), c.expected) << c.software;
    // the run's value decides the same from its text, padded to 50 characters
    const Software held(c.software);
    EXPECT_EQ(held.text(), std::string(c.software) + std::string(kTextLength - std::string(c.software).size(), ' '));
    EXPECT_EQ(answers(held.words()), c.expected) << c.software;
  }
}

TEST(ControlWords, ReactypeCountsSurfaceFirstAndTranslatesGasFirst) {
  struct Case {
    const char* reactype;
    const char* expected;
  };
  const Case cases[] = {
      {"gas", "vibrations, relative"},
      {"surface", "3natom, molecular"},
      {"gasphase", "vibrations, relative"},
      {"gas-surface", "3natom, relative"},
      {"surfacegas", "3natom, relative"},
      {"surface gas", "3natom, relative"},
      {"Gas", "none, none"},
      {"SURFACE", "none, none"},
      {"gs", "none, none"},
      {"surfce", "none, none"},
      {"", "none, none"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(answers(reactypeWords(c.reactype)), c.expected) << c.reactype;
    EXPECT_EQ(answers(Reactype(c.reactype).words()), c.expected) << c.reactype;
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
