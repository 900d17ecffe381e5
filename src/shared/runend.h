// How a run ends early, and the streams a step talks to.
//
// A step that ends the run throws RunEnd; the main program writes its
// message (if any) on standard error and ends the process with its status.
// Every line written before stays written, since each line is flushed the
// moment it is complete.
#pragma once

#include <string>
#include <string_view>

#include "shared/instream.h"
#include "shared/output.h"

namespace kelmar {

// Exit statuses.
inline constexpr int kStatusStop = 1;       // a failed run stopped by the program
inline constexpr int kStatusBadInput = 2;   // an input that cannot be read or used
inline constexpr int kStatusReportLost = 4; // the report could not be written in full

struct RunEnd {
  int status = 0;
  std::string message;  // written as one line on standard error when not empty
};

// Standard input, standard output (with standard error for warnings), and
// whether standard input is a terminal or a socket, which decides how a
// pause prompt waits for the operator.
struct Console {
  InputStream& in;
  Output& out;
  bool interactive = false;
};

// Stops a failed run: `message` alone on standard error (when not empty),
// then, when given, "kelmar: " and `detail` on a line of its own; exit
// status 1.
[[noreturn]] void stopRun(std::string_view message = {}, std::string_view detail = {});

// Ends the run on input that cannot be used: "kelmar: " and the message on
// standard error, exit status 2.
[[noreturn]] void rejectInput(std::string_view message);

// The end of a run whose report could not be written on standard output:
// "kelmar: ", the system's reason (an errno; none when 0) and that the report
// is incomplete; exit status 4.
RunEnd reportLost(int reason);

// A text from an input file as a message quotes it: in quotation marks, at
// most `limit` bytes of it (then "..." and the text's length), every byte
// that is not printable ASCII written as an escape (\t, \r, \xNN), and a
// quotation mark or backslash of the text escaped with a backslash.
std::string quoteForMessage(std::string_view text, std::size_t limit = 40);

// A note on standard error that does not end the run.
void writeNote(Console& console, std::string_view message);

// Writes the message and the pause prompt and waits for the operator: a reply
// line when standard input is a terminal or a socket (empty or a leading part
// of CONTINUE goes on, anything else or end of input stops the run), else the
// termination signal 15, which the prompt tells how to send.
void pausePrompt(Console& console, std::string_view message);

// Whether file descriptor 0 is a terminal or a socket.
bool standardInputInteractive();

}  // namespace kelmar
