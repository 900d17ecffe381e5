// Writes a Gaussian log as long as that of a long geometry optimisation:
// the first part of a real frequency output up to its "Standard
// orientation" table, that table repeated until the file has the requested
// size (with an SCF-like line between the tables), then the rest of the real
// output with its frequency sections.
//
// usage: make_long_gaussian_log <real output> <size in MB> <output file>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_long_gaussian_log <real output> <size in MB> <output file>\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream whole;
  whole << in.rdbuf();
  std::string text = whole.str();
  std::size_t table = text.find("                         Standard orientation:");
  std::size_t tableEnd = text.find(" Rotational constants", table);
  if (table == std::string::npos || tableEnd == std::string::npos) {
    std::cerr << "no Standard orientation table in " << argv[1] << "\n";
    return 2;
  }
  std::string block = text.substr(table, tableEnd - table) +
                      " SCF Done:  E(RB3LYP) =  -270.123456789     A.U. after   10 cycles\n"
                      " Step number   1 out of a maximum of  100\n";
  const std::size_t target = std::size_t(std::atol(argv[2])) * 1024 * 1024;
  std::ofstream out(argv[3], std::ios::binary);
  out.write(text.data(), std::streamsize(table));
  std::size_t written = table;
  std::string chunk;
  while (chunk.size() < (std::size_t(8) << 20)) chunk += block;
  while (written + chunk.size() < target) {
    out.write(chunk.data(), std::streamsize(chunk.size()));
    written += chunk.size();
  }
  out.write(text.data() + table, std::streamsize(text.size() - table));
  written += text.size() - table;
  std::cout << written << " bytes\n";
  return 0;
}
