#include <string>
#include <vector>

#include "input/input.h"
#include "shared/freeread.h"

namespace kelmar {
void readfile(Projection& p, Console& console) {
  InputStream& in = console.in;
  Output& out = console.out;

  out.free({"Kelmar calculations"});
  skipLines(in, 2);
  freeRead(in, {ReadItem::text(p.software, kTextLength)});
  out.free({"software:   ", p.software});
  skipLines(in);
  freeRead(in, {ReadItem::text(p.reactype, kTextLength)});
  out.free({"reactype:   ", p.reactype});
  skipLines(in);
  freeRead(in, {ReadItem::integer(p.iprod)});
  skipLines(in);
  if (p.iprod != 1 && p.iprod != 0) stopRun("iprod error");

  // The structure file names: one for Polyrate, two for the VASP-derived
  // files (always a reactant run), three for a product run, else two. Each
  // choice consumes three records.
  if (contains(p.software, "polyrate")) {
    freeRead(in, {ReadItem::text(p.fname, kTextLength)});
    skipLines(in, 2);
  } else if (contains(p.software, "vasp")) {
    freeRead(in, {ReadItem::text(p.fname, kTextLength)});
    freeRead(in, {ReadItem::text(p.fname2, kTextLength)});
    skipLines(in);
    p.iprod = 0;
  } else if (p.iprod == 1) {
    freeRead(in, {ReadItem::text(p.fname, kTextLength)});
    freeRead(in, {ReadItem::text(p.fname2, kTextLength)});
    freeRead(in, {ReadItem::text(p.fname3, kTextLength)});
  } else {
    freeRead(in, {ReadItem::text(p.fname, kTextLength)});
    freeRead(in, {ReadItem::text(p.fname2, kTextLength)});
    skipLines(in);
  }
  out.free({"iprod", p.iprod});

  skipLines(in);
  freeRead(in, {ReadItem::integer(p.natom), ReadItem::integer(p.nreact1)});
  out.free({"natom,nreact1", p.natom, p.nreact1});
  // The stores hold at most kMaxAtoms atoms; the masses below are read into
  // them, so the counts are checked before anything else is read.
  if (p.natom < 1 || p.natom > kMaxAtoms) {
    rejectInput(placeOf(in, in.lineNumber()) + "natom " + std::to_string(p.natom) +
                " is outside 1.." + std::to_string(kMaxAtoms) + ", the number of atoms the program holds");
  }
  if (p.nreact1 < 0 || p.nreact1 > p.natom) {
    rejectInput(placeOf(in, in.lineNumber()) + "nreact1 " + std::to_string(p.nreact1) +
                " is outside 0..natom (0.." + std::to_string(p.natom) + ")");
  }

  skipLines(in);
  freeRead(in, {ReadItem::integer(p.linear1), ReadItem::integer(p.linear2), ReadItem::integer(p.linear)});
  out.free({"linear1,linear2,linear", p.linear1, p.linear2, p.linear});

  skipLines(in);
  std::vector<ReadItem> masses;
  masses.reserve(std::size_t(p.natom));
  for (int a = 1; a <= p.natom; ++a) masses.push_back(ReadItem::real(p.amass(a)));
  freeRead(in, masses);

  skipLines(in);
  freeRead(in, {ReadItem::real(p.delt)});
  long deltLine = in.lineNumber();

  skipLines(in);
  double unused[3] = {0.0, 0.0, 0.0};
  freeRead(in, {ReadItem::real(unused[0]), ReadItem::real(unused[1]), ReadItem::real(unused[2])});

  // The translational vectors divide by the step.
  if (p.delt == 0.0) {
    rejectInput(placeOf(in, deltLine) +
                "delt is 0; the displacement step of the translational vectors must not be zero");
  }

  out.free({"read kelmarinput.txt done"});
  out.free({});
}

}  // namespace kelmar
