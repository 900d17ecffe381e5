// Runs a command and writes its wall time and its peak resident memory (the
// kernel's account of the child, in KB) to a report file, as
// "<seconds> <KB>". Standard input, output and error pass to the command,
// and its exit status is returned.
//
// usage: peak_memory <report file> <command> [arguments]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: peak_memory <report file> <command> [arguments]\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) {
    std::perror("peak_memory: fork");
    return 2;
  }
  if (pid == 0) {
    ::execvp(argv[2], argv + 2);
    std::perror("peak_memory: exec");
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (::wait4(pid, &status, 0, &usage) != pid) {
    std::perror("peak_memory: wait4");
    return 2;
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::FILE* report = std::fopen(argv[1], "w");
  if (report == nullptr) {
    std::perror("peak_memory: report file");
    return 2;
  }
  std::fprintf(report, "%.3f %ld\n", took.count(), usage.ru_maxrss);
  std::fclose(report);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
