// The pause prompt in a child process: with standard input redirected it
// waits for signal 15; with a terminal it reads the operator's reply.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <string>

#include "shared/instream.h"
#include "shared/output.h"
#include "shared/runend.h"

namespace kelmar {
namespace {

// Runs the prompt with the process's own standard streams, then writes
// "resumed"; exits with the status of a run that ends at the prompt.
[[noreturn]] void promptAndExit() {
  InputStream in(0, "standard input", false);
  Output out(std::cout, std::cerr);
  Console console{in, out, standardInputInteractive()};
  try {
    pausePrompt(console, "powell exceeding maximum iterations");
    out.free({"resumed"});
  } catch (const RunEnd& e) {
    std::cout.flush();
    ::_exit(e.status);
  }
  std::cout.flush();
  ::_exit(0);
}

// Reads from fd until `text` has appeared (or 10 seconds pass).
bool readUntil(int fd, std::string& seen, const std::string& text) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (seen.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char buf[4096];
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) return seen.find(text) != std::string::npos;
    seen.append(buf, std::size_t(n));
  }
  return true;
}

int exitStatus(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(PausePrompt, RedirectedInputWaitsForSignal15AndGoesOn) {
  int toParent[2];
  ASSERT_EQ(::pipe(toParent), 0);
  int stdinPipe[2];
  ASSERT_EQ(::pipe(stdinPipe), 0);
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::dup2(stdinPipe[0], 0);
    ::dup2(toParent[1], 1);
    ::close(toParent[0]);
    ::close(stdinPipe[1]);
    promptAndExit();
  }
  ::close(toParent[1]);
  ::close(stdinPipe[0]);
  std::string seen;
  std::string kill = "To continue from background, execute 'kill -15 " + std::to_string(pid) + "'\n";
  ASSERT_TRUE(readUntil(toParent[0], seen, kill)) << seen;
  EXPECT_EQ(seen, "powell exceeding maximum iterations\nPAUSE prompt> " + kill);
  ::kill(pid, SIGTERM);
  readUntil(toParent[0], seen, "resumed");
  EXPECT_EQ(exitStatus(pid), 0);
  EXPECT_NE(seen.find(" resumed\n"), std::string::npos) << seen;
  ::close(toParent[0]);
  ::close(stdinPipe[1]);
}

// Answers the prompt on a pseudo-terminal; returns the exit status.
int answerOnTerminal(const std::string& reply, std::string& seen) {
  int master = -1;
  pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0) return -1;
  if (pid == 0) promptAndExit();
  if (!readUntil(master, seen, "PAUSE prompt> ")) {
    ::kill(pid, SIGKILL);
    exitStatus(pid);
    return -2;
  }
  if (::write(master, reply.data(), reply.size()) != ssize_t(reply.size())) return -3;
  readUntil(master, seen, "resumed");
  int status = exitStatus(pid);
  ::close(master);
  return status;
}

TEST(PausePrompt, TerminalReplyToContinueGoesOn) {
  for (std::string reply : {"cont\n", "\n", "  Continue \n", "c\n"}) {
    std::string seen;
    EXPECT_EQ(answerOnTerminal(reply, seen), 0) << seen;
    EXPECT_NE(seen.find("resumed"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("kill -15"), std::string::npos) << seen;
  }
}

TEST(PausePrompt, TerminalReplyOtherThanContinueEndsTheRun) {
  for (std::string reply : {"no\n", "continued\n", "q\n"}) {
    std::string seen;
    EXPECT_EQ(answerOnTerminal(reply, seen), 1) << reply;
    EXPECT_EQ(seen.find("resumed"), std::string::npos) << seen;
  }
}

}  // namespace
}  // namespace kelmar
