// Fuzz target: the bulk scan of the structure readers against reading every
// line, with the files arriving through file descriptors, so that refills,
// lines split across two reads and cut lines are reached. Every input runs
// a reader twice: line by line from memory (the reference), and in one of
// the ways below, which the input chooses; any difference in values,
// messages or line numbers aborts. The ways, in this order:
//   0          line by line, plain-line reads, through a pipe
//   then for each scan kernel of this processor (portable, 16-byte vectors,
//   32-byte vectors), three ways:
//   1, 4, 7    no plain-line reads, through a pipe
//   2, 5, 8    plain-line reads, through a pipe
//   3, 6, 9    plain-line reads, from a regular file
// (ten ways on a processor with AVX2, seven on other x86-64 processors,
// four elsewhere).
//
// The input:
//   byte 0     bits 0-1 the reader (0 Gaussian, 1 Molpro, 2 Polyrate, 3
//              Gaussian again), bit 2 three structure files instead of two
//              (Gaussian and Molpro; Polyrate reads one), bits 3-4 the longest
//              line a stream hands out whole (1 MiB, 130, 200 or 1000 bytes;
//              a stream holds twice that, so short ones refill often), bits
//              5-7 how far nvibm stands below 3 natom (0, 5, 6, 1, 2, 3, 7, 9)
//   byte 1     natom - 1, modulo 40
//   byte 2     the way, modulo the number of ways
//   bytes 3-6  the sizes of the pieces that a pipe's writer writes in turn:
//              a byte b below 128 is b + 1 bytes, else (b - 127) KiB. After
//              the first 64 writes into a pipe, each piece is at least 4 KiB,
//              so that small pieces cost a bounded number of system calls; a
//              large piece first puts small ones deep into a file.
//   the rest   the structure files, split at each record separator byte
//              (0x1e) as in the reader targets
// Shorter inputs are padded with zero bytes.
//
// Besides the fuzzer's flags it takes -write_seeds=DIR -tests=TESTS, which
// writes seed inputs made from the test data under TESTS into DIR.
#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "fuzzrun.h"
#include "readeroutcome.h"

namespace kelmar::fuzz {
namespace {

constexpr std::size_t kHeader = 7;
constexpr std::size_t kLineLengths[] = {kMaxLineLength, 130, 200, 1000};
constexpr int kBelowAll[] = {0, 5, 6, 1, 2, 3, 7, 9};
constexpr std::size_t kMaxFiles = 3;

// The writes into one pipe that take the input's piece sizes as they are,
// and the least piece after them.
constexpr std::size_t kSmallWrites = 64;
constexpr std::size_t kLeastLaterPiece = 4096;

const ReaderCall kReaders[] = {readGaussian, readMolpro, readPolyrate, readGaussian};
const char* const kReaderNames[] = {"Gaussian", "Molpro", "Polyrate", "Gaussian"};

// The ways compared with the reference, as listed at the top.
const std::vector<Way>& ways() {
  static const std::vector<Way> all = [] {
    std::vector<Way> w = {{ScanKernel::LineByLine, true, Transport::Pipe}};
    for (ScanKernel kernel : fastKernels()) {
      w.push_back({kernel, false, Transport::Pipe});
      w.push_back({kernel, true, Transport::Pipe});
      w.push_back({kernel, true, Transport::File});
    }
    return w;
  }();
  return all;
}

struct ScanCase {
  unsigned reader;
  int natom, nvibm;
  Way way;  // with the input's pieces and longest line
  std::vector<std::string> texts;
};

ScanCase decode(const std::uint8_t* data, std::size_t size) {
  std::uint8_t head[kHeader] = {};
  for (std::size_t k = 0; k < kHeader && k < size; ++k) head[k] = data[k];
  ScanCase c;
  c.reader = head[0] & 3u;
  c.natom = 1 + head[1] % 40;
  c.nvibm = std::max(1, 3 * c.natom - kBelowAll[head[0] >> 5]);
  c.way = ways()[head[2] % ways().size()];
  c.way.maxLineLength = kLineLengths[(head[0] >> 3) & 3u];
  c.way.pieces.clear();
  for (std::size_t k = 3; k < kHeader; ++k) {
    c.way.pieces.push_back(head[k] < 128 ? std::size_t(head[k]) + 1 : std::size_t(head[k] - 127) * 1024);
  }
  const std::string_view body =
      size > kHeader ? std::string_view(reinterpret_cast<const char*>(data + kHeader), size - kHeader) : "";
  const std::vector<std::string_view> parts = structureFileParts(body);
  const std::size_t files = c.reader == 2 ? 1 : (head[0] & 4u) ? 3 : 2;
  for (std::size_t s = 1; s <= files; ++s) c.texts.emplace_back(parts[std::min(s, parts.size()) - 1]);
  return c;
}

// The writer of one pipe at a time, on a thread of its own that waits for
// the next text for as long as the process lives, so that an input starts
// no thread.
class PipeWriter {
 public:
  PipeWriter() {
    std::thread t([this] { serve(); });
    thread_ = t.native_handle();
    t.detach();
  }
  PipeWriter(const PipeWriter&) = delete;
  PipeWriter& operator=(const PipeWriter&) = delete;

  // Starts writing `text` into the write end `fd` in `pieces`, as the top
  // says; the writer closes fd when the text is written or the reader has
  // closed its end. The text and the pieces must stay until done() returns.
  void start(int fd, std::string_view text, const std::vector<std::size_t>& pieces) {
    // The writer runs on the processor that the reader runs on now: the
    // pipe then hands over from one to the other without waking a second
    // processor, and the process's mappings stay on fewer processors, each
    // of which every unmapping (a stream's buffer freed, the mode store
    // cleared) has to reach.
    if (const int cpu = ::sched_getcpu(); cpu >= 0) {
      cpu_set_t set;
      CPU_ZERO(&set);
      CPU_SET(cpu, &set);
      ::pthread_setaffinity_np(thread_, sizeof set, &set);
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    fd_ = fd;
    text_ = text;
    pieces_ = &pieces;
    busy_ = true;
    changed_.notify_all();
  }

  // Waits until the writer has closed its end.
  void done() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
  }

 private:
  void serve() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return busy_; });
      lock.unlock();
      writeText();
      lock.lock();
      busy_ = false;
      changed_.notify_all();
    }
  }

  void writeText() const { writeInPieces(fd_, text_, *pieces_, kSmallWrites, kLeastLaterPiece); }

  pthread_t thread_;  // detached; it waits on this writer until the process ends
  std::mutex mutex_;
  std::condition_variable changed_;
  bool busy_ = false;  // a text is being written
  int fd_ = -1;
  std::string_view text_;
  const std::vector<std::size_t>* pieces_ = nullptr;
};

// The writer of the i-th structure file's pipe. The writers are never
// destroyed, as their threads wait on them until the process ends.
PipeWriter& pipeWriter(std::size_t i) {
  static PipeWriter* const writers = new PipeWriter[kMaxFiles];
  return writers[i];
}

// A regular file that holds the text, in memory, so that no disk is
// written; its offset at the start.
int fileHolding(const std::string& text) {
  const int fd = ::memfd_create("kelmar-fuzz-scan", MFD_CLOEXEC);
  if (fd < 0) {
    std::perror("kelmar fuzz: memfd_create");
    std::abort();
  }
  if (!writeAllTo(fd, text)) {
    std::perror("kelmar fuzz: writing a file in memory");
    std::abort();
  }
  ::lseek(fd, 0, SEEK_SET);
  return fd;
}

// The structure files of a case, opened as its way says: from memory, from
// a regular file, or through pipes that the pipe writers fill.
class ScanFiles {
 public:
  ScanFiles(const ScanCase& c, const Way& way) {
    const std::vector<std::string> names = fileNames(c.texts.size());
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      if (way.how == Transport::Memory) {
        streams_.push_back(std::make_unique<InputStream>(c.texts[i], names[i], way.maxLineLength));
      } else if (way.how == Transport::File) {
        streams_.push_back(streamOwning(fileHolding(c.texts[i]), names[i], way.maxLineLength));
      } else {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
          std::perror("kelmar fuzz: pipe");
          std::abort();
        }
        pipeWriter(i).start(fds[1], c.texts[i], way.pieces);
        writing_.started = i + 1;
        streams_.push_back(streamOwning(fds[0], names[i], way.maxLineLength));
      }
      streams_.back()->setPlainLineReads(way.plainLines);
      files_.push_back(streams_.back().get());
    }
  }
  ScanFiles(const ScanFiles&) = delete;
  ScanFiles& operator=(const ScanFiles&) = delete;

  const std::vector<InputStream*>& files() const { return files_; }

 private:
  // Waits for the writers started, so that the texts and pieces they write
  // stay until they are done. Declared before the streams, which are
  // destroyed first and close the reading ends, which ends a writer still
  // waiting on a full pipe.
  struct Writing {
    std::size_t started = 0;
    ~Writing() {
      for (std::size_t i = 0; i < started; ++i) pipeWriter(i).done();
    }
  } writing_;
  std::vector<std::unique_ptr<InputStream>> streams_;
  std::vector<InputStream*> files_;
};

// Runs the case's reader with its files read as `way` says, into `o`.
void run(const ScanCase& c, const Way& way, Outcome& o) {
  std::unique_ptr<Projection> p = lendProjection();
  auto coor = std::make_unique<Coor>();
  {
    ScanFiles files(c, way);
    runReaderOn(kReaders[c.reader], way.kernel, files.files(), *p, *coor, c.natom, c.nvibm, o);
  }
  giveBackProjection(*p);
}

void runScanCase(const std::uint8_t* data, std::size_t size) {
  const ScanCase c = decode(data, size);
  // kept from input to input, so that their storage is reused
  static Outcome expected, got;
  Way reference = c.way;
  reference.kernel = ScanKernel::LineByLine;
  reference.plainLines = false;
  reference.how = Transport::Memory;
  run(c, reference, expected);
  if (echoing()) std::cerr << expected << "\n" << expected.out;
  run(c, c.way, got);
  if (got == expected) return;
  std::cerr << "kelmar fuzz: the " << kReaderNames[c.reader] << " reader (natom " << c.natom << ", nvibm "
            << c.nvibm << ") read " << c.way << " differs from reading every line from memory\n"
            << "line by line:\n"
            << expected << "\n"
            << "read " << c.way << ":\n"
            << got << "\n";
  if (got.out != expected.out) std::cerr << "output line by line:\n" << expected.out << "output read so:\n" << got.out;
  std::abort();
}

// Seeds: real files of each reader, each in every way, with the longest
// lines and the piece sizes taken in turn.
struct Seed {
  const char* name;
  unsigned reader;  // as byte 0 bits 0-1
  int natom, nvibm;
  const char* files[3];
};

const Seed kSeeds[] = {
    {"gaussian-claisen", 0, 14, 36, {"data/gaussian/claisen/reactant.out", "data/gaussian/claisen/ts.out"}},
    {"gaussian-example", 0, 3, 3, {"e2e/cases/worked_example_gas_gaussian/r.log",
                                   "e2e/cases/worked_example_gas_gaussian/ts.log"}},
    {"molpro-hosi", 1, 4, 6, {"data/molpro/hosi_imag/hosi.out", "data/molpro/ch2o/ch2o.out"}},
    {"polyrate-three", 2, 3, 9, {"data/polyrate-made/o_h2_three_structures.out"}},
};

// The ways of the seeds: all ten, so that a processor with fewer ways
// (byte 2 taken modulo their number) gets every one of its own too.
constexpr unsigned kSeedWays = 10;

void writeSeeds(const std::filesystem::path& dir, const std::filesystem::path& tests) {
  for (std::size_t s = 0; s < std::size(kSeeds); ++s) {
    const Seed& seed = kSeeds[s];
    std::string body;
    int files = 0;
    for (const char* f : seed.files) {
      if (!f) break;
      if (files++ > 0) body += '\x1e';
      body += readWhole(tests / f);
    }
    const int below = 3 * seed.natom - seed.nvibm;
    unsigned belowIndex = 0;
    while (belowIndex < 8 && kBelowAll[belowIndex] != below) ++belowIndex;
    if (belowIndex == 8) {
      std::fprintf(stderr, "kelmar fuzz: seed %s has an nvibm the input cannot give\n", seed.name);
      std::exit(2);
    }
    for (unsigned way = 0; way < kSeedWays; ++way) {
      const unsigned length = (way + s) % 4;
      // pieces of 1 KiB, 1, 17 and 4 KiB bytes; of 2 KiB, 7, 64 and 1 bytes
      const std::uint8_t pieces[2][4] = {{0x80, 0x00, 0x10, 0x83}, {0x81, 0x06, 0x3f, 0x00}};
      std::string input;
      input += char(seed.reader | (length << 3) | (belowIndex << 5));
      input += char(seed.natom - 1);
      input += char(way);
      for (std::uint8_t b : pieces[way % 2]) input += char(b);
      input += body;
      writeWhole(dir / (std::string(seed.name) + "-way" + std::to_string(way) + "-" +
                        std::to_string(kLineLengths[length])),
                 input);
    }
  }
}

}  // namespace
}  // namespace kelmar::fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  ::kelmar::fuzz::handleSeedCommand(*argc, *argv, ::kelmar::fuzz::writeSeeds);
  std::signal(SIGPIPE, SIG_IGN);  // a reader that stops early closes its pipe on the writer
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ::kelmar::fuzz::runScanCase(data, size);
  return 0;
}
