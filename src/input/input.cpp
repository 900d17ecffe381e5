#include <filesystem>
#include <memory>
#include <system_error>
#include <string>
#include <vector>

#include "input/input.h"
#include "input/linearity.h"

namespace kelmar {
namespace {

// Structure files are opened by the names as given, so a name without a
// directory is looked for where kelmar was started, not beside the control
// file.
std::string relativeTo() {
  std::error_code error;
  std::filesystem::path here = std::filesystem::current_path(error);
  if (error) return "file names are taken relative to the current directory, which cannot be named: " + error.message();
  return "file names are taken relative to the current directory, " + here.string();
}

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
      std::string message = p.placeOf(Origin{0, p.fnameLine(s)}) + ": cannot open structure file " +
                            quoteForMessage(name, kTextLength) + ": " + why + " (" + relativeTo();
      if (p.fnameWasCut(s)) {
        message += "; the unquoted name was cut at a blank, comma or slash with more text after it on the line: "
                   "a file name that holds '/', blanks or commas must be quoted in the control file";
      }
      if (name.size() == kTextLength) message += "; a file name holds at most 50 characters, so a longer one is cut";
      rejectInput(message + ")");
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

int structureFileCount(const Projection& p) {
  switch (p.software.words().reader) {
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
  switch (p.software.words().reader) {
    case Reader::Polyrate:
      inputpolyrate(p, coor, *files[0], kernel);
      break;
    case Reader::Gaussian:
      inputgaussian(p, coor, files, kernel, console);
      break;
    case Reader::Vasp:
      inputvasp(p, coor, files, console);
      break;
    case Reader::Molpro:
      inputmolpro(p, coor, files, kernel, console);
      p.nimag = p.nvibm;
      break;
    case Reader::None:
      console.out.free({"your software is not supported now"});
      console.out.free({"add a subroutine to read your files by yourself"});
      stopRun({}, p.placeOf(Origin{0, p.softwareLine}) + ": software " +
                      quoteForMessage(trimmedName(p.software.text())) +
                      " names no reader; the words accepted are " + std::string(kSoftwareWordsAccepted) +
                      " (matched case-sensitively, anywhere in the value)");
  }
  // The flags against the first geometry, before the tail's checks of the
  // modes, which a wrong flag may fail.
  notelinearity(p, coor, console);
  loadingtail(p, coor, console);
}

void input(Projection& p, Coor& coor, ScanKernel kernel, Console& console) {
  auto files = openStructureFiles(p, structureFileCount(p));
  loadStructures(p, coor, pointers(files), kernel, console);
}

}  // namespace kelmar
