#include "shared/controlwords.h"

#include "shared/projection.h"

namespace kelmar {

SoftwareWords softwareWords(std::string_view software) {
  SoftwareWords w;
  const bool polyrate = contains(software, "polyrate");
  const bool gaussian = contains(software, "gaussian");
  const bool vasp = contains(software, "vasp");
  const bool molpro = contains(software, "molpro");

  w.names = polyrate ? FileNames::One : vasp ? FileNames::ReactantAndTransitionState : FileNames::ByIprod;
  w.reader = polyrate   ? Reader::Polyrate
             : gaussian ? Reader::Gaussian
             : vasp     ? Reader::Vasp
             : molpro   ? Reader::Molpro
                        : Reader::None;
  w.weightsModes = gaussian || molpro;
  w.vibrationsLast = gaussian;
  return w;
}

ReactypeWords reactypeWords(std::string_view reactype) {
  ReactypeWords w;
  const bool surface = contains(reactype, "surface");
  const bool gas = contains(reactype, "gas");
  w.modes = surface ? ModeCount::AllCartesian : gas ? ModeCount::Vibrations : ModeCount::None;
  w.translations = gas ? Translations::Relative : surface ? Translations::Molecular : Translations::None;
  return w;
}

template <class Words, Words (*decide)(std::string_view)>
ControlWord<Words, decide>::ControlWord(std::string_view text)
    : text_(text.substr(0, kTextLength)), words_() {
  text_.resize(kTextLength, ' ');
  words_ = decide(text_);
}

template class ControlWord<SoftwareWords, softwareWords>;
template class ControlWord<ReactypeWords, reactypeWords>;

}  // namespace kelmar
