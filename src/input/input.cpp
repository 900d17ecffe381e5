#include <filesystem>
#include <memory>
#include <system_error>
#include <string>
#include <vector>

#include "input/input.h"
#include "input/jobgeometry.h"
#include "input/signature.h"
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
                            quoteForMessage(name, kNameShown) + ": " + why + " (" + relativeTo();
      if (p.fnameWasCut(s)) {
        message += "; the unquoted name was cut at a blank, comma or slash with more text after it on the line: "
                   "a file name that holds '/', blanks or commas must be quoted in the control file";
      }
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
  // A read error in a file that looks like another program's says so.
  for (InputStream* file : files) {
    file->setFileHint([software = p.software, line = p.softwareLine](const InputStream& in) {
      return fileKindHint(software, line, in);
    });
  }
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
  for (int s = 2; s <= p.itrans && s <= kMaxSlabs; ++s) checkSameAtoms(p, s);
  // and so do the loading tail's messages about a file. A Polyrate file
  // holds every structure; the other readers read one file per slab.
  for (int s = 1; s <= p.itrans; ++s) {
    const std::size_t f = files.size() == 1 ? 0 : std::size_t(s - 1);
    p.fileHint(s) = f < files.size() ? files[f]->fileHint() : std::string();
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
