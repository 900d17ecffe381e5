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
      rejectInput("standard input, line " + std::to_string(p.fnameLine(s)) + ": the name of structure file " +
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

void input(Projection& p, Coor& coor, Console& console) {
  int structureFiles = p.iprod == 1 ? 3 : 2;
  Reader reader = readerFor(p.software);
  if (reader == Reader::Polyrate) {
    auto files = openStructureFiles(p, 1);
    inputpolyrate(p, coor, *files[0]);
  } else if (reader == Reader::Gaussian) {
    auto files = openStructureFiles(p, structureFiles);
    inputgaussian(p, coor, pointers(files));
  } else if (reader == Reader::Vasp) {
    auto files = openStructureFiles(p, 2);
    inputvasp(p, coor, pointers(files));
  } else if (reader == Reader::Molpro) {
    auto files = openStructureFiles(p, structureFiles);
    inputmolpro(p, coor, pointers(files), console);
    p.nimag = p.nvibm;
  } else {
    console.out.free({"your software is not supported now"});
    console.out.free({"add a subroutine to read your files by yourself"});
    stopRun({}, "standard input, line " + std::to_string(p.softwareLine) + ": software " +
                    quoteForMessage(trimmedName(p.software)) +
                    " names no reader; the words accepted are gaussian, molpro, polyrate and vasp (matched "
                    "case-sensitively, anywhere in the value)");
  }
  loadingtail(p, coor, console);
}

}  // namespace kelmar
