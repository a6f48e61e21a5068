// Splitting hostile command lines: no crash, and the split never invents text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  line = line.c_str();  // a command line ends at its first NUL
  std::string program, params;
  config::SplitCommandLine(line.c_str(), program, params);
  // Tokens only drop blanks and quotes, so the output is never longer than the line (plus the
  // one blank placed before each parameter, which replaces at least one dropped blank).
  if (program.size() > line.size() || program.size() + params.size() > line.size() + 1) abort();
  for (const std::string& t : config::CommandLineTokens(line.c_str()))
    if (t.find('"') != std::string::npos && line.find('"') == std::string::npos) abort();
  return 0;
}
