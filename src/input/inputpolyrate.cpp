#include "input/input.h"

namespace kelmar {

void inputpolyrate(Projection& p, Coor&, InputStream&) {
  p.itrans = 2;
  p.nimag = p.nvibm;
}

}  // namespace kelmar
