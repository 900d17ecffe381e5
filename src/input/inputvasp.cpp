#include "input/input.h"

namespace kelmar {

void inputvasp(Projection& p, Coor&, std::span<InputStream* const> files) {
  p.itrans = int(files.size());
  p.nimag = p.nvibm;
}

}  // namespace kelmar
