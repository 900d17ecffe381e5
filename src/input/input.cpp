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
    std::string why;
    files.push_back(openInputFile(name, why));
    if (!files.back()) {
      std::string hint = name.size() == kTextLength
                             ? "; a file name holds at most 50 characters, so a longer one is cut"
                             : "";
      rejectInput("cannot open structure file \"" + name + "\": " + why +
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

void input(Projection& p, Coor& coor, Console& console) {
  int structureFiles = p.iprod == 1 ? 3 : 2;
  if (contains(p.software, "polyrate")) {
    auto files = openStructureFiles(p, 1);
    inputpolyrate(p, coor, *files[0]);
  } else if (contains(p.software, "gaussian")) {
    auto files = openStructureFiles(p, structureFiles);
    inputgaussian(p, coor, pointers(files));
  } else if (contains(p.software, "vasp")) {
    auto files = openStructureFiles(p, 2);
    inputvasp(p, coor, pointers(files));
  } else if (contains(p.software, "molpro")) {
    auto files = openStructureFiles(p, structureFiles);
    inputmolpro(p, coor, pointers(files), console);
    p.nimag = p.nvibm;
  } else {
    console.out.free({"your software is not supported now"});
    console.out.free({"add a subroutine to read your files by yourself"});
    stopRun();
  }
  loadingtail(p, coor, console);
}

}  // namespace kelmar
