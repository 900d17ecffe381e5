// The two words of the control file that choose how a run goes: `software`
// names the outside program, `reactype` the kind of reaction. Each is a
// case-sensitive search for a word anywhere in the 50 characters of the
// value, made once, right after the value is read; the steps switch on the
// values decided here. The echo keeps printing the texts as read.
//
// Every question has its own order of tests, so a value that holds two
// words can answer two questions differently: "gaussian vasp" reads two
// file names as the VASP-derived layout does but is read by the Gaussian
// reader; "gas-surface" counts the modes of a surface run but takes the
// gas-phase path.
#pragma once

#include <string>
#include <string_view>

namespace kelmar {

// Which structure file names the control file gives on its lines 9 to 11.
enum class FileNames {
  One,                         // "polyrate": line 9 only; every structure is in one file
  ReactantAndTransitionState,  // "vasp": lines 9 and 10; a reactant run whatever iprod says
  ByIprod,                     // otherwise: two names, three in a product run
};

// The reader of the structure files.
enum class Reader { Polyrate, Gaussian, Vasp, Molpro, None };

struct SoftwareWords {
  FileNames names = FileNames::ByIprod;  // tests: polyrate, vasp
  Reader reader = Reader::None;          // tests: polyrate, gaussian, vasp, molpro
  // The loading tail mass-weights and normalises the modes ("gaussian" or
  // "molpro"), whichever reader ran; the other programs' modes are used as
  // read.
  bool weightsModes = false;
  // The report labels the last ninit modes as the vibrations ("gaussian":
  // Gaussian lists its modes from the lowest wavenumber up), else the first
  // ninit.
  bool vibrationsLast = false;
};

// How many modes a structure has (nvibm).
enum class ModeCount {
  AllCartesian,  // "surface" (tested first): 3*natom
  Vibrations,    // "gas": 3*natom-6, or 3*natom-5 for a linear system
  None,          // neither word: the run stops
};

// Which translational vectors the run builds, and which block of the report
// prints them.
enum class Translations {
  Relative,   // "gas" (tested first): the relative translation of the two fragments
  Molecular,  // "surface": three translations and three rotations of the whole molecule
  None,
};

struct ReactypeWords {
  ModeCount modes = ModeCount::None;
  Translations translations = Translations::None;
};

SoftwareWords softwareWords(std::string_view software);
ReactypeWords reactypeWords(std::string_view reactype);

// A control word as the run holds it: the text, cut or padded with blanks to
// its 50 characters, and what its words decide. It is built from the text
// alone, so the decisions always belong to the text they were made from.
template <class Words, Words (*decide)(std::string_view)>
class ControlWord {
 public:
  // A text of blanks, which holds none of the words.
  ControlWord() : ControlWord(std::string_view()) {}
  explicit ControlWord(std::string_view text);

  // The text as read, at its 50 characters (the echo prints it so).
  const std::string& text() const { return text_; }
  const Words& words() const { return words_; }

 private:
  std::string text_;
  Words words_;
};

using Software = ControlWord<SoftwareWords, softwareWords>;
using Reactype = ControlWord<ReactypeWords, reactypeWords>;

extern template class ControlWord<SoftwareWords, softwareWords>;
extern template class ControlWord<ReactypeWords, reactypeWords>;

// The words, for the messages about a value that holds none of them.
inline constexpr std::string_view kSoftwareWordsAccepted = "gaussian, molpro, polyrate and vasp";
inline constexpr std::string_view kReactypeWordsNeither = "neither gas nor surface";

}  // namespace kelmar
