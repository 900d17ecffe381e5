#include <memory>
#include <string>
#include <vector>

#include "input/input.h"

namespace kelmar {
namespace {

// Opens the first `count` structure files of the control file, all of them
// before any is read.
std::vector<std::unique_ptr<InputStream>> openStructureFiles(const Projection& p, int count) {
  std::vector<std::unique_ptr<InputStream>> files;
  for (int s = 1; s <= count; ++s) {
    std::string name(p.slabFileName(s));
    if (name.empty()) {
      rejectInput(p.placeOf(Origin{0, p.fnameLine(s)}) + ": the name of structure file " +
                  std::to_string(s) + " is empty");
    }
    std::string why;
    files.push_back(openInputFile(name, why));
    if (!files.back()) {
      std::string hint = name.size() == kTextLength
                             ? "; a file name holds at most 50 characters, so a longer one is cut"
                             : "";
      rejectInput("cannot open structure file " + quoteForMessage(name, kTextLength) + ": " + why +
                  " (a file name that holds '/', blanks or commas must be quoted in the control file" + hint +
                  ")");
    }
  }
  return files;
}

std::vector<InputStream*> pointers(const std::vector<std::unique_ptr<InputStream>>& files) {
  std::vector<InputStream*> v;
  for (const auto& f : files) v.push_back(f.get());
  return v;
}

}  // namespace

Reader readerFor(std::string_view software) {
  if (contains(software, "polyrate")) return Reader::Polyrate;
  if (contains(software, "gaussian")) return Reader::Gaussian;
  if (contains(software, "vasp")) return Reader::Vasp;
  if (contains(software, "molpro")) return Reader::Molpro;
  return Reader::None;
}

int structureFileCount(const Projection& p) {
  switch (readerFor(p.software)) {
    case Reader::Polyrate:
      return 1;
    case Reader::Vasp:
      return 2;
    case Reader::Gaussian:
    case Reader::Molpro:
      return p.iprod == 1 ? 3 : 2;
    case Reader::None:
      break;
  }
  return 0;
}

void loadStructures(Projection& p, Coor& coor, std::span<InputStream* const> files, ScanKernel kernel,
                    Console& console) {
  switch (readerFor(p.software)) {
    case Reader::Polyrate:
      inputpolyrate(p, coor, *files[0], kernel);
      break;
    case Reader::Gaussian:
      inputgaussian(p, coor, files, kernel);
      break;
    case Reader::Vasp:
      inputvasp(p, coor, files);
      break;
    case Reader::Molpro:
      inputmolpro(p, coor, files, kernel, console);
      p.nimag = p.nvibm;
      break;
    case Reader::None:
      console.out.free({"your software is not supported now"});
      console.out.free({"add a subroutine to read your files by yourself"});
      stopRun({}, p.placeOf(Origin{0, p.softwareLine}) + ": software " +
                      quoteForMessage(trimmedName(p.software)) +
                      " names no reader; the words accepted are gaussian, molpro, polyrate and vasp (matched "
                      "case-sensitively, anywhere in the value)");
  }
  loadingtail(p, coor, console);
}

void input(Projection& p, Coor& coor, ScanKernel kernel, Console& console) {
  auto files = openStructureFiles(p, structureFileCount(p));
  loadStructures(p, coor, pointers(files), kernel, console);
}

}  // namespace kelmar
