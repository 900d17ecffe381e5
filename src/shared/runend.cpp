#include "shared/runend.h"

#include <cctype>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace kelmar {

void stopRun(std::string_view message, std::string_view detail) {
  std::string text(message);
  if (!detail.empty()) {
    if (!text.empty()) text += '\n';
    text += "kelmar: " + std::string(detail);
  }
  throw RunEnd{kStatusStop, text};
}

void rejectInput(std::string_view message) {
  throw RunEnd{kStatusBadInput, "kelmar: " + std::string(message)};
}

RunEnd reportLost(int reason) {
  std::string message = "kelmar: standard output: cannot write the report";
  if (reason != 0) message += ": " + std::string(std::strerror(reason));
  message += "; the report is incomplete";
  return RunEnd{kStatusReportLost, message};
}

std::string quoteForMessage(std::string_view text, std::size_t limit) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  std::string_view shown = text.substr(0, limit);
  for (char ch : shown) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c < 0x20 || c > 0x7e) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  out += '"';
  if (text.size() > shown.size()) out += "... (" + std::to_string(text.size()) + " characters)";
  return out;
}

void writeNote(Console& console, std::string_view message) {
  console.out.err() << "kelmar: note: " << message << '\n';
  console.out.err().flush();
}

bool standardInputInteractive() {
  if (::isatty(0)) return true;
  struct stat st {};
  return ::fstat(0, &st) == 0 && S_ISSOCK(st.st_mode);
}

namespace {

volatile std::sig_atomic_t gTerminationSeen = 0;

void onTermination(int) { gTerminationSeen = 1; }

// Signal 15 blocked and caught for as long as it lives; the signal's former
// handling comes back at its end, also when the prompt cannot be written.
struct TerminationCaught {
  sigset_t previous;
  struct sigaction oldAction {};

  TerminationCaught() {
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGTERM);
    sigprocmask(SIG_BLOCK, &block, &previous);
    struct sigaction action {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, &oldAction);
    gTerminationSeen = 0;
  }
  ~TerminationCaught() {
    sigaction(SIGTERM, &oldAction, nullptr);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
  }
  TerminationCaught(const TerminationCaught&) = delete;
  TerminationCaught& operator=(const TerminationCaught&) = delete;
};

// Waits until signal 15 arrives; the signal is caught, so the run goes on.
// The signal is blocked before the prompt is written, so that one sent at
// once is not lost.
void waitForTermination(Output& out, std::string_view instruction) {
  TerminationCaught caught;
  out.raw(instruction);

  sigset_t waitMask = caught.previous;
  sigdelset(&waitMask, SIGTERM);
  while (!gTerminationSeen) sigsuspend(&waitMask);
}

bool asksToContinue(std::string_view reply) {
  std::size_t b = reply.find_first_not_of(' ');
  if (b == std::string_view::npos) return true;
  std::size_t e = reply.find_last_not_of(' ');
  std::string_view word = reply.substr(b, e - b + 1);
  static constexpr std::string_view kContinue = "CONTINUE";
  if (word.size() > kContinue.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c != kContinue[i]) return false;
  }
  return true;
}

}  // namespace

void pausePrompt(Console& console, std::string_view message) {
  std::string text(message);
  text += "\nPAUSE prompt> ";
  console.out.raw(text);
  if (!console.interactive) {
    waitForTermination(console.out, "To continue from background, execute 'kill -15 " +
                                        std::to_string(::getpid()) + "'\n");
    return;
  }
  std::string_view reply;
  // Only the first 79 characters of the reply are looked at.
  if (!console.in.nextLinePart(reply, 79)) stopRun();
  if (!asksToContinue(reply)) stopRun();
}

}  // namespace kelmar
