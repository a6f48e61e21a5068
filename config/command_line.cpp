#include "config/command_line.h"

#include "os/mbcs.h"

namespace config {
namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> CommandLineTokens(const char* line) {
  std::vector<std::string> tokens;
  if (!line) return tokens;
  std::string cur;
  bool inToken = false;
  const char* p = line;
  while (*p) {
    if (IsBlank(*p)) {
      if (inToken) {
        tokens.push_back(cur);
        cur.clear();
        inToken = false;
      }
      ++p;
    } else if (*p == '"') {
      const char* q = p + 1;
      while (IsBlank(*q)) ++q;
      if (*q && *q != '"') {
        // A quoted part: everything up to the next quote (or the end), blanks included.
        const char* close = mbcs::FindChar(q, '"');
        const char* end = close ? close : q + std::char_traits<char>::length(q);
        cur.append(q, end);
        inToken = true;
        p = close ? close + 1 : end;
      } else {
        p = q;  // a quote that opens nothing is dropped with the blanks after it
      }
    } else {
      const char* n = mbcs::Next(p);
      cur.append(p, n);
      inToken = true;
      p = n;
    }
  }
  if (inToken) tokens.push_back(cur);
  return tokens;
}

void SplitCommandLine(const char* line, std::string& program, std::string& parameters) {
  std::vector<std::string> tokens = CommandLineTokens(line);
  parameters.clear();
  if (tokens.empty()) {
    program = line ? line : "";
    return;
  }
  program = tokens[0];
  for (size_t i = 1; i < tokens.size(); ++i) {
    parameters += ' ';
    parameters += tokens[i];
  }
}

}  // namespace config
