// The run's shared state: the control values, the mode counts, the masses,
// frequencies and mode vectors of every structure (the record `projection`),
// and the coordinate store `coor`. Every step of the program receives these
// explicitly; all indices of the accessors are 1-based, as the formulas of the
// analysis are written.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "shared/controlwords.h"

namespace kelmar {

// Capacities of the fixed stores.
inline constexpr int kMaxModes = 1000;      // modes per slab in freq and eigv
inline constexpr int kMaxRows = 1000;       // Cartesian rows of a mode vector
inline constexpr int kMaxSlabs = 3;         // structures: reactant, product, TS
inline constexpr int kMaxPositions = 1000;  // positions of x, y and z in coor
inline constexpr int kMaxMasses = 1000;
// The working positions past the slabs reach 6*natom+4, so the stores hold
// this many atoms at most.
inline constexpr int kMaxAtoms = 166;

// Declared length of the texts software and reactype of the control file.
inline constexpr std::size_t kTextLength = 50;
// How much of a file name a message shows before it shortens it.
inline constexpr std::size_t kNameShown = 200;

// Throws std::logic_error naming the store when an index lies outside
// 1..limit; a program error, never an input error.
void checkIndex(const char* store, int index, int limit);

// A real vector of fixed length indexed 1..n.
template <int N>
class Vec {
 public:
  double& operator()(int i) {
    checkIndex("vector", i, N);
    return v_[i - 1];
  }
  double operator()(int i) const {
    checkIndex("vector", i, N);
    return v_[i - 1];
  }
  double* data() { return v_; }
  const double* data() const { return v_; }

 private:
  double v_[N] = {};
};

using Vec3 = Vec<3>;

// A zero-filled block of doubles obtained from calloc, so that the pages of
// the large stores that a run never touches cost nothing.
class ZeroBlock {
 public:
  explicit ZeroBlock(std::size_t count);
  double* data() { return data_.get(); }
  const double* data() const { return data_.get(); }

 private:
  struct Free {
    void operator()(double* p) const;
  };
  std::unique_ptr<double[], Free> data_;
};

// freq(m, s): wavenumber of mode m of slab s as the outside program printed it.
class FreqStore {
 public:
  FreqStore() : block_(std::size_t(kMaxModes) * kMaxSlabs) {}
  double& operator()(int m, int s) { return block_.data()[offset(m, s)]; }
  double operator()(int m, int s) const { return block_.data()[offset(m, s)]; }

 private:
  static std::size_t offset(int m, int s) {
    checkIndex("freq mode", m, kMaxModes);
    checkIndex("freq slab", s, kMaxSlabs);
    return std::size_t(s - 1) * kMaxModes + std::size_t(m - 1);
  }
  ZeroBlock block_;
};

// eigv(m, r, s): Cartesian row r (3(a-1)+c is axis c of atom a) of mode m of
// slab s. The rows of one mode lie next to each other in memory.
class EigvStore {
 public:
  EigvStore() : block_(std::size_t(kMaxModes) * kMaxRows * kMaxSlabs) {}
  double& operator()(int m, int r, int s) { return block_.data()[offset(m, r, s)]; }
  double operator()(int m, int r, int s) const { return block_.data()[offset(m, r, s)]; }

 private:
  static std::size_t offset(int m, int r, int s) {
    checkIndex("eigv mode", m, kMaxModes);
    checkIndex("eigv row", r, kMaxRows);
    checkIndex("eigv slab", s, kMaxSlabs);
    return (std::size_t(s - 1) * kMaxModes + std::size_t(m - 1)) * kMaxRows + std::size_t(r - 1);
  }
  ZeroBlock block_;
};

// N values indexed 1..N; `name` names the store in the message of an index
// outside it.
template <class T, int N>
class Store {
 public:
  explicit Store(const char* name) : name_(name) {}
  T& operator()(int i) {
    checkIndex(name_, i, N);
    return v_[i - 1];
  }
  const T& operator()(int i) const {
    checkIndex(name_, i, N);
    return v_[i - 1];
  }

 private:
  const char* name_;
  T v_[N] = {};
};

// amass(a): one mass list for all slabs, indexed by atom number.
class MassStore {
 public:
  double& operator()(int a) {
    checkIndex("amass", a, kMaxMasses);
    return m_[a - 1];
  }
  double operator()(int a) const {
    checkIndex("amass", a, kMaxMasses);
    return m_[a - 1];
  }

 private:
  double m_[kMaxMasses] = {};
};

// A text of the control file, kept at its declared length of 50 characters.
std::string blankText(std::size_t length = kTextLength);

// Whether `word` stands anywhere in `text`, case-sensitively.
bool contains(std::string_view text, std::string_view word);

// A text with its trailing blanks removed: the name under which a file is opened.
std::string_view trimmedName(std::string_view text);

// Where a value of the run came from, for messages: a line of the control
// file on standard input (slab 0) or of the structure file of slab `slab`.
struct Origin {
  int slab = 0;
  long line = 0;
};

// The element of one atom as its structure file gives it: an atomic number
// (0 where the file names none) and the line of the file it was read from.
struct AtomElement {
  int z = 0;
  long line = 0;
};

// store(i, s): the value of item i (an atom or a mode, 1..N) of slab s;
// `item` names the items in the message of an index outside them.
template <class T, int N>
class SlabStore {
 public:
  explicit SlabStore(const char* item) : item_(item) {}
  T& operator()(int i, int s) { return v_[offset(i, s)]; }
  const T& operator()(int i, int s) const { return v_[offset(i, s)]; }

 private:
  std::size_t offset(int i, int s) const {
    checkIndex(item_, i, N);
    checkIndex("slab", s, kMaxSlabs);
    return std::size_t(s - 1) * N + std::size_t(i - 1);
  }
  const char* item_;
  T v_[std::size_t(N) * kMaxSlabs] = {};
};

// The section of a Molpro file that a mode came from: its real modes
// ("Normal Modes"), its imaginary modes or its low/zero modes. The other
// readers' modes, and a mode that no section stored, have None.
enum class ModeSection : unsigned char { None, Real, Imaginary, LowZero };

struct Projection {
  // control values
  // the outside program and the kind of reaction, each with what its words
  // decide (see ControlWord)
  Software software;
  Reactype reactype;
  int iprod = 0;
  // the structure file names as written, of any length
  std::string fname;
  std::string fname2;
  std::string fname3;
  int natom = 0;
  int nreact1 = 0;
  int linear1 = 0;
  int linear2 = 0;
  int linear = 0;
  double delt = 0.0;

  // mode counts
  int nmode = 0;
  int nvibm = 0;

  // the loaded structures
  int itrans = 0;  // slab of the transition state (the last slab loaded)
  int nimag = 0;   // its reaction mode
  MassStore amass;
  double tmass1 = 0.0;
  double tmass2 = 0.0;
  double tmass = 0.0;
  FreqStore freq;
  EigvStore eigv;

  // working vectors
  Vec3 com;
  Vec3 t1;
  Vec3 t2;
  int ifunc = 0;

  // Where the values came from, for messages: the control-file lines of
  // software, reactype, iprod and the file names (fnameLine(s) is the line
  // that named the file of slab s), the line each mass was read from, and
  // whether a reader found a geometry and the modes for slab s.
  long softwareLine = 0;
  long reactypeLine = 0;
  long iprodLine = 0;
  long fnameLines[kMaxSlabs] = {};
  // whether an unquoted file name was cut at a blank, comma or slash with
  // more text after it on its line
  bool fnameCut[kMaxSlabs] = {};
  Store<Origin, kMaxMasses> massOrigin{"mass origin"};
  Store<bool, kMaxSlabs> geometryFound{"geometry slab"};
  // Whether a reader met the mode section of slab s (the marker of the
  // frequency section of its file, or a VASP-derived mode count above 0).
  Store<bool, kMaxSlabs> modesFound{"modes slab"};
  // What the structure file of slab s looks like when it looks like another
  // kind of file than the reader takes (see fileKindHint); empty otherwise.
  Store<std::string, kMaxSlabs> fileHint{"file hint slab"};
  // The elements of the atoms of each slab, where the structure files give
  // them (Gaussian atomic numbers, Molpro symbols, Polyrate's atomic
  // information); all 0 where they give none.
  // element(a, s): the element of atom a of slab s.
  SlabStore<AtomElement, kMaxAtoms> element{"element atom"};
  // The section of a Molpro file that each mode came from, which tells an
  // imaginary mode from a low/zero one whatever their stored wavenumbers.
  // modeSection(m, s): the section of mode m of slab s.
  SlabStore<ModeSection, kMaxModes> modeSection{"mode section mode"};

  // The name of the structure file that fills slab s (for messages).
  std::string_view slabFileName(int s) const;
  // The control-file line that named the file of slab s, and whether that
  // name was cut.
  long fnameLine(int s) const;
  bool fnameWasCut(int s) const;
  // "name, line N" for an origin.
  std::string placeOf(const Origin& o) const;
};

// x, y and z of atom a of slab s sit at position natom*(s-1)+a; the positions
// past the slabs are working space of the analysis and the superposition.
class Coor {
 public:
  double& x(int pos) { return at(x_, pos); }
  double& y(int pos) { return at(y_, pos); }
  double& z(int pos) { return at(z_, pos); }
  double x(int pos) const { return at(x_, pos); }
  double y(int pos) const { return at(y_, pos); }
  double z(int pos) const { return at(z_, pos); }
  // axis c (1 = x, 2 = y, 3 = z) at position pos
  double& axis(int c, int pos);
  double axis(int c, int pos) const;

 private:
  static double& at(double* a, int pos) {
    checkIndex("coor position", pos, kMaxPositions);
    return a[pos - 1];
  }
  static double at(const double* a, int pos) {
    checkIndex("coor position", pos, kMaxPositions);
    return a[pos - 1];
  }
  double x_[kMaxPositions] = {};
  double y_[kMaxPositions] = {};
  double z_[kMaxPositions] = {};
};

}  // namespace kelmar
