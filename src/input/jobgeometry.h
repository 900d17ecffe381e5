// The geometry of a structure file's frequency job, and the check that every
// structure file lists the same atoms.
//
// A log may go on after its frequencies with another job (an IRC, or a
// single point after --Link1--) whose geometry tables belong to another
// structure or orientation. A reader reads each table into a JobGeometry;
// the table held when the file's mode section starts becomes the slab's
// geometry, so that the geometry, the modes and the masses come from one
// job. A table after the file's last mode section is passed over, with one
// note per file; a file without a mode section keeps its last table.
#pragma once

#include <string_view>
#include <vector>

#include "shared/instream.h"
#include "shared/projection.h"
#include "shared/runend.h"

namespace kelmar {

class JobGeometry {
 public:
  explicit JobGeometry(int natom);

  // The row of atom a of a table: x, y and z, and the atom's element with
  // the line of its row.
  struct Row {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    AtomElement element;
  };

  // A table starts at `line` (its marker line); call before reading its
  // rows into row(1..natom).
  void tableStart(long line);
  Row& row(int a) {
    checkIndex("job geometry atom", a, natom_);
    return rows_[std::size_t(a - 1)];
  }

  // The file's mode section starts (modesFound(s) is set): the table held,
  // if any, becomes the geometry of slab s.
  void modesStart(Projection& p, Coor& coor, int s);

  // The file has ended: a table held after the last mode section is noted
  // as passed over; in a file without a mode section the last table becomes
  // the geometry of slab s. `in` names the file.
  void fileEnd(Projection& p, Coor& coor, int s, const InputStream& in, Console& console);

 private:
  void commit(Projection& p, Coor& coor, int s);

  int natom_;
  std::vector<Row> rows_;
  bool held_ = false;        // a table has been read since the last mode section
  bool modesMet_ = false;    // this file has a mode section
  long heldLine_ = 0;        // where the table held starts
  long firstPassedLine_ = 0; // the first table after the latest mode section
  long usedLine_ = 0;        // where the table that became the geometry starts
};

// Ends the run when slab s lists an element other than slab 1 for some
// atom, where both files give their atoms' elements: the projections would
// pair unlike atoms. Masses are not compared: another isotope of the same
// element is a choice, and the control file's masses need not follow the
// files' order.
void checkSameAtoms(const Projection& p, int s);

}  // namespace kelmar
