#include "fuzzrun.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "input/input.h"
#include "run/run.h"
#include "shared/output.h"

namespace kelmar::fuzz {
namespace {

constexpr char kSeparator = '\x1e';

// A stream buffer that drops everything written to it.
class Discard : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Standard output and standard error of a run: dropped, or the process's
// own when echoing.
struct Streams {
  Discard discard;
  std::ostream dropped{&discard};
  Output output{echoing() ? std::cout : dropped, echoing() ? std::cerr : dropped};
};

// Runs `steps`. A RunEnd is the orderly end of a run; any other exception
// that escapes is what a run would report as an internal error, and crashes.
// The warnings about too-wide fields come at the end, as in a run.
template <class Steps>
void endsInOrder(Output& output, Steps&& steps) {
  try {
    steps();
    output.writeFieldWarnings();
  } catch (const RunEnd& end) {
    output.writeFieldWarnings();
    if (echoing()) {
      if (!end.message.empty()) std::cerr << end.message << '\n';
      std::cerr << "(the run ends with status " << end.status << ")\n";
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kelmar fuzz: an exception escaped the run: %s\n", e.what());
    std::abort();
  } catch (...) {
    std::fprintf(stderr, "kelmar fuzz: an exception of unknown type escaped the run\n");
    std::abort();
  }
}

// Sets the doubles [begin, end) to zero. On Linux the whole pages inside are
// handed back to the system, which maps them anew as zero pages when they
// are touched again: the cost follows the pages a run touched, not the size
// of the store.
void clear(double* begin, double* end) {
  char* b = reinterpret_cast<char*>(begin);
  char* e = reinterpret_cast<char*>(end);
#ifdef __linux__
  const std::uintptr_t page = std::uintptr_t(::sysconf(_SC_PAGESIZE));
  char* pb = reinterpret_cast<char*>((reinterpret_cast<std::uintptr_t>(b) + page - 1) / page * page);
  char* pe = reinterpret_cast<char*>(reinterpret_cast<std::uintptr_t>(e) / page * page);
  if (pb < pe && ::madvise(pb, std::size_t(pe - pb), MADV_DONTNEED) == 0) {
    std::fill(b, pb, char(0));
    std::fill(pe, e, char(0));
    return;
  }
#endif
  std::fill(b, e, char(0));
}

// The shared state of one run: a new Projection, but with the mode and
// frequency stores of the run before, zeroed. A fresh allocation of their
// 24 MB for every input costs AddressSanitizer more than most runs take.
class State {
 public:
  std::unique_ptr<Projection> lend() {
    return std::unique_ptr<Projection>(new Projection{.freq = std::move(freq_), .eigv = std::move(eigv_)});
  }
  void giveBack(Projection& p) {
    freq_ = std::move(p.freq);
    eigv_ = std::move(p.eigv);
    clear(&freq_(1, 1), &freq_(kMaxModes, kMaxSlabs) + 1);
    clear(&eigv_(1, 1, 1), &eigv_(kMaxModes, kMaxRows, kMaxSlabs) + 1);
  }

 private:
  FreqStore freq_;
  EigvStore eigv_;
};

State& state() {
  static State s;
  return s;
}

struct Case {
  const ControlRecord* record;
  bool surface;
  int iprod;
  std::vector<std::string_view> parts;  // the structure files' bytes
};

Case decode(const ReaderTarget& target, const std::uint8_t* data, std::size_t size) {
  const unsigned selector = data[0];
  Case c{&target.records[(selector >> 2) % target.records.size()], (selector & 1u) != 0, int((selector >> 1) & 1u), {}};
  c.parts = structureFileParts(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  return c;
}

std::string_view partOf(const Case& c, int s) { return c.parts[std::min(std::size_t(s), c.parts.size()) - 1]; }

std::vector<std::string> structureFileNames(int count) {
  switch (count) {
    case 1:
      return {"structures.out"};
    case 2:
      return {"r.out", "ts.out"};
    default:
      return {"r.out", "p.out", "ts.out"};
  }
}

// The control file of a case, as a user would write it.
std::string controlFile(const ReaderTarget& target, const ControlRecord& record, bool surface, int iprod) {
  std::ostringstream s;
  s << "kelmar fuzz case\nsoftware\n"
    << target.software << "\nreaction type\n"
    << (surface ? "surface" : "gas") << "\niprod\n"
    << iprod << "\nstructure files\n";
  // the names of a reactant or a product run; a reader that takes fewer
  // files reads the first of them
  std::vector<std::string> names = structureFileNames(iprod == 1 ? 3 : 2);
  for (std::size_t k = 0; k < 3; ++k) s << (k < names.size() ? names[k] : "") << '\n';
  s << "natom nreact1\n"
    << record.natom << ' ' << record.nreact1 << "\nlinear1 linear2 linear\n"
    << record.linear1 << ' ' << record.linear2 << ' ' << record.linear << "\nmasses\n"
    << record.masses << "\nstep\n0.01\nlast line\n0.0 0.0 0.0\n";
  return s.str();
}

// One seed per control record and case: the selector byte, then the seed
// files joined by separators (one copy when they are all the same file).
void writeReaderSeeds(const ReaderTarget& target, const std::filesystem::path& dir,
                      const std::filesystem::path& tests) {
  for (std::size_t r = 0; r < target.records.size(); ++r) {
    const ControlRecord& record = target.records[r];
    for (int iprod = 0; iprod <= 1; ++iprod) {
      std::vector<std::string> files;
      for (const char* const* f = iprod == 1 ? record.productRun : record.reactantRun; *f; ++f) files.emplace_back(*f);
      if (files.empty()) continue;
      if (std::all_of(files.begin(), files.end(), [&](const std::string& f) { return f == files[0]; })) {
        files.resize(1);
      }
      std::string body;
      for (std::size_t k = 0; k < files.size(); ++k) {
        if (k > 0) body += kSeparator;
        body += readWhole(tests / files[k]);
      }
      for (int surface = 0; surface <= 1; ++surface) {
        std::string seed(1, char((r << 2) | unsigned(iprod << 1) | unsigned(surface)));
        seed += body;
        writeWhole(dir / ("record" + std::to_string(r) + (surface ? "-surface" : "-gas") + "-iprod" +
                          std::to_string(iprod)),
                   seed);
      }
    }
  }
}

// The control file of every end-to-end case.
void writeControlSeeds(const std::filesystem::path& dir, const std::filesystem::path& tests) {
  std::vector<std::filesystem::path> cases;
  for (const auto& entry : std::filesystem::directory_iterator(tests / "e2e" / "cases")) {
    if (std::filesystem::exists(entry.path() / "input.txt")) cases.push_back(entry.path());
  }
  std::sort(cases.begin(), cases.end());
  for (const auto& c : cases) writeWhole(dir / c.filename(), readWhole(c / "input.txt"));
}

// The folder of one input: input.txt and the structure files it names.
void writeCase(const ReaderTarget& target, const std::filesystem::path& dir, const std::filesystem::path& input) {
  std::string bytes = readWhole(input);
  if (bytes.empty()) {
    std::fprintf(stderr, "kelmar fuzz: %s is empty, so it is no case\n", input.c_str());
    std::exit(2);
  }
  Case c = decode(target, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  std::filesystem::create_directories(dir);
  const std::string control = controlFile(target, *c.record, c.surface, c.iprod);
  writeWhole(dir / "input.txt", control);
  // the files that the run opens, under the names that its control file gives
  Streams streams;
  auto p = std::make_unique<Projection>();
  InputStream in(control, "standard input");
  Console console{in, streams.output, true};
  readfile(*p, console);
  for (int s = 1; s <= structureFileCount(*p); ++s) writeWhole(dir / p->slabFileName(s), partOf(c, s));
}

}  // namespace

std::vector<std::string_view> structureFileParts(std::string_view bytes) {
  std::vector<std::string_view> parts;
  for (;;) {
    std::size_t cut = bytes.find(kSeparator);
    parts.push_back(bytes.substr(0, cut));
    if (cut == std::string_view::npos) return parts;
    bytes.remove_prefix(cut + 1);
  }
}

std::unique_ptr<Projection> lendProjection() { return state().lend(); }

void giveBackProjection(Projection& p) { state().giveBack(p); }

std::string readWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "kelmar fuzz: cannot read %s\n", path.c_str());
    std::exit(2);
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeWhole(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "kelmar fuzz: cannot write %s\n", path.c_str());
    std::exit(2);
  }
}

void runReaderCase(const ReaderTarget& target, const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const Case c = decode(target, data, size);
  Streams streams;
  auto p = lendProjection();
  endsInOrder(streams.output, [&] {
    auto coor = std::make_unique<Coor>();
    int ninit = 0;
    InputStream control(controlFile(target, *c.record, c.surface, c.iprod), "standard input");
    Console setup{control, streams.output, true};
    readfile(*p, setup);
    countmodes(*p, ninit, setup);

    InputStream nothing(std::string_view(), "standard input");
    Console console{nothing, streams.output, true};
    std::vector<std::unique_ptr<InputStream>> files;
    std::vector<InputStream*> open;
    for (int s = 1; s <= structureFileCount(*p); ++s) {
      files.push_back(std::make_unique<InputStream>(partOf(c, s), std::string(p->slabFileName(s))));
      open.push_back(files.back().get());
    }
    loadStructures(*p, *coor, open, fastestScanKernel(), console);
    analyse(*p, *coor, ninit, console);
  });
  giveBackProjection(*p);
}

void runControlCase(const std::uint8_t* data, std::size_t size) {
  Streams streams;
  auto p = lendProjection();
  endsInOrder(streams.output, [&] {
    int ninit = 0;
    InputStream in(std::string_view(reinterpret_cast<const char*>(data), size), "standard input");
    Console console{in, streams.output, true};
    readfile(*p, console);
    countmodes(*p, ninit, console);
  });
  giveBackProjection(*p);
}

bool echoing() {
  static const bool echo = std::getenv("KELMAR_FUZZ_ECHO") != nullptr;
  return echo;
}

void handleSeedCommand(int argc, char** argv, const SeedWriter& write) {
  std::string_view seeds, tests;
  for (int k = 1; k < argc; ++k) {
    std::string_view arg = argv[k];
    if (arg.starts_with("-write_seeds=")) seeds = arg.substr(std::string_view("-write_seeds=").size());
    if (arg.starts_with("-tests=")) tests = arg.substr(std::string_view("-tests=").size());
  }
  if (seeds.empty()) return;
  if (tests.empty()) {
    std::fprintf(stderr, "kelmar fuzz: -write_seeds needs -tests=TESTS, the project's tests/ folder\n");
    std::exit(2);
  }
  std::filesystem::create_directories(seeds);
  write(seeds, tests);
  std::exit(0);
}

void handleOwnCommands(const ReaderTarget* target, int argc, char** argv) {
  handleSeedCommand(argc, argv, [target](const std::filesystem::path& dir, const std::filesystem::path& tests) {
    if (target) {
      writeReaderSeeds(*target, dir, tests);
    } else {
      writeControlSeeds(dir, tests);
    }
  });
  std::string_view caseDir, input;
  for (int k = 1; k < argc; ++k) {
    std::string_view arg = argv[k];
    if (arg.starts_with("-write_case=")) {
      caseDir = arg.substr(std::string_view("-write_case=").size());
    } else if (!arg.starts_with("-")) {
      input = arg;
    }
  }
  if (!caseDir.empty()) {
    if (!target || input.empty()) {
      std::fprintf(stderr, "kelmar fuzz: -write_case=DIR takes one input file, in a reader target\n");
      std::exit(2);
    }
    writeCase(*target, caseDir, input);
    std::exit(0);
  }
}

}  // namespace kelmar::fuzz
