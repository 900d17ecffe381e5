// End-to-end runs of the built program. Each folder under cases/ is one run:
//   input.txt        the control file, given on standard input
//   expected.stdout  the report, compared byte for byte
//   expected.stderr  standard error (empty when the file is missing)
//   expected.status  the exit status (0 when the file is missing)
//   args             command-line arguments, one per line (none when missing)
//   stdout           where standard output goes when not to a fresh file (the
//                    report is then compared as empty unless limited):
//                      closed    file descriptor 1 closed
//                      limit N   the fresh file, but no file may grow past N
//                                bytes (standard error's too), and a write
//                                beyond fails with EFBIG, as on a full disk
//                      a path    that file opened for writing, e.g. /dev/full
// The program runs with the folder as its working directory, so the control
// file names structure files beside it or, by relative paths, in tests/data.
// Where standard error names that directory, which depends on where the
// project stands, the expected text writes "<case folder>" in its place.
//
// With KELMAR_UPDATE_EXPECTED=1 in the environment the actual outputs are
// written into the folders instead; check every changed byte by hand before
// keeping them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path, bool& exists) {
  std::ifstream f(path, std::ios::binary);
  exists = bool(f);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string readFile(const fs::path& path) {
  bool exists = false;
  return readFile(path, exists);
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  f << text;
}

struct RunResult {
  std::string out, err;
  int status = -1;
};

std::vector<std::string> caseArguments(const fs::path& dir) {
  std::vector<std::string> args;
  std::ifstream f(dir / "args");
  for (std::string line; std::getline(f, line);) args.push_back(line);
  return args;
}

// The first line of the case's stdout file; empty when there is none.
std::string stdoutChoice(const fs::path& dir) {
  std::ifstream f(dir / "stdout");
  std::string line;
  std::getline(f, line);
  return line;
}

RunResult runCase(const fs::path& dir) {
  std::vector<std::string> args = caseArguments(dir);
  const std::string where = stdoutChoice(dir);
  const bool limited = where.rfind("limit ", 0) == 0;
  const rlim_t limit = limited ? rlim_t(std::stoull(where.substr(6))) : RLIM_INFINITY;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>("kelmar"));
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  fs::path outPath = fs::temp_directory_path() / ("kelmar_e2e_out_" + std::to_string(::getpid()));
  fs::path errPath = fs::temp_directory_path() / ("kelmar_e2e_err_" + std::to_string(::getpid()));
  pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(dir.c_str()) != 0) ::_exit(120);
    int in = ::open("input.txt", O_RDONLY);
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) ::_exit(121);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (where == "closed") {
      ::close(1);
    } else if (limited) {
      // An ignored signal stays ignored in the program that is executed.
      std::signal(SIGXFSZ, SIG_IGN);
      rlimit size{limit, limit};
      if (::setrlimit(RLIMIT_FSIZE, &size) != 0) ::_exit(123);
    } else if (!where.empty()) {
      int to = ::open(where.c_str(), O_WRONLY);
      if (to < 0) ::_exit(124);
      ::dup2(to, 1);
    }
    ::execv(KELMAR_BINARY, argv.data());
    ::_exit(122);
  }
  RunResult r;
  int status = 0;
  ::waitpid(pid, &status, 0);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = readFile(outPath);
  r.err = readFile(errPath);
  const std::string here = fs::canonical(dir).string();
  for (std::size_t at = r.err.find(here); at != std::string::npos; at = r.err.find(here, at)) {
    r.err.replace(at, here.size(), "<case folder>");
  }
  fs::remove(outPath);
  fs::remove(errPath);
  return r;
}

std::vector<std::string> caseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(KELMAR_E2E_CASES)) {
    if (entry.is_directory() && fs::exists(entry.path() / "input.txt")) {
      names.push_back(entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The first line where two texts differ, for a readable failure.
std::string firstDifference(const std::string& expected, const std::string& actual) {
  std::istringstream e(expected), a(actual);
  std::string le, la;
  for (int line = 1;; ++line) {
    bool he = bool(std::getline(e, le)), ha = bool(std::getline(a, la));
    if (!he && !ha) return "texts differ only in the final line end";
    if (le != la || he != ha) {
      return "line " + std::to_string(line) + ":\n  expected [" + (he ? le : "<none>") + "]\n  actual   [" +
             (ha ? la : "<none>") + "]";
    }
  }
}

class EndToEnd : public testing::TestWithParam<std::string> {};

TEST_P(EndToEnd, MatchesExpectedOutput) {
  fs::path dir = fs::path(KELMAR_E2E_CASES) / GetParam();
  RunResult r = runCase(dir);
  bool haveStatus = false;
  std::string statusText = readFile(dir / "expected.status", haveStatus);
  int expectedStatus = haveStatus ? std::atoi(statusText.c_str()) : 0;
  if (std::getenv("KELMAR_UPDATE_EXPECTED")) {
    writeFile(dir / "expected.stdout", r.out);
    if (!r.err.empty()) {
      writeFile(dir / "expected.stderr", r.err);
    } else {
      fs::remove(dir / "expected.stderr");
    }
    if (r.status != 0) {
      writeFile(dir / "expected.status", std::to_string(r.status) + "\n");
    } else {
      fs::remove(dir / "expected.status");
    }
    return;
  }
  std::string expectedOut = readFile(dir / "expected.stdout");
  std::string expectedErr = readFile(dir / "expected.stderr");
  EXPECT_EQ(r.status, expectedStatus) << "stderr:\n" << r.err;
  EXPECT_TRUE(r.out == expectedOut) << "stdout " << firstDifference(expectedOut, r.out);
  EXPECT_TRUE(r.err == expectedErr) << "stderr " << firstDifference(expectedErr, r.err);
}

INSTANTIATE_TEST_SUITE_P(Cases, EndToEnd, testing::ValuesIn(caseNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
