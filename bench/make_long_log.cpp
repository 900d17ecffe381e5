// Writes the output file of a long run, made from a real one: its lines
// before `first`, then its lines first..last (one optimisation step, say)
// over and over until the file has the requested size, then its lines from
// `first` to its end. Every line is a real line of the program's output.
//
// usage: make_long_log <real output> <first> <last> <size in MB> <output file>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The offset of the start of line `n` (1-based), or npos past the end.
std::size_t lineStart(const std::string& text, long n) {
  std::size_t at = 0;
  for (long k = 1; k < n; ++k) {
    at = text.find('\n', at);
    if (at == std::string::npos) return at;
    ++at;
  }
  return at;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::cerr << "usage: make_long_log <real output> <first> <last> <size in MB> <output file>\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream whole;
  whole << in.rdbuf();
  const std::string text = whole.str();
  const std::size_t from = lineStart(text, std::atol(argv[2]));
  const std::size_t to = lineStart(text, std::atol(argv[3]) + 1);
  if (from == std::string::npos || to == std::string::npos || to <= from) {
    std::cerr << "no lines " << argv[2] << " to " << argv[3] << " in " << argv[1] << "\n";
    return 2;
  }
  const std::string step = text.substr(from, to - from);
  const std::size_t target = std::size_t(std::atol(argv[4])) * 1024 * 1024;
  std::ofstream out(argv[5], std::ios::binary);
  out.write(text.data(), std::streamsize(from));
  std::size_t written = from;
  std::string chunk;
  while (chunk.size() < (std::size_t(8) << 20)) chunk += step;
  const std::size_t rest = text.size() - from;
  while (written + chunk.size() + rest < target) {
    out.write(chunk.data(), std::streamsize(chunk.size()));
    written += chunk.size();
  }
  while (written + step.size() + rest < target) {
    out.write(step.data(), std::streamsize(step.size()));
    written += step.size();
  }
  out.write(text.data() + from, std::streamsize(rest));
  written += rest;
  std::cout << written << " bytes\n";
  return 0;
}
