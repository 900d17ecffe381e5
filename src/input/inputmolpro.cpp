#include "input/input.h"

namespace kelmar {

void inputmolpro(Projection& p, Coor&, std::span<InputStream* const> files, Console&) {
  p.itrans = int(files.size());
}

}  // namespace kelmar
