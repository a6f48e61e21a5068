#include "exec/run_line.h"

#include <cstring>

#include "config/command_line.h"
#include "os/mbcs.h"

namespace exec {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool HasBlank(const std::string& text) {
  return text.find_first_of(" \t") != std::string::npos;  // no trail byte is a blank
}

// Blanks every run that starts where opens says, up to the next blank; whole characters only,
// so the rest of the line keeps its double-byte boundaries. True when any run was found.
template <typename Opens>
bool BlankRuns(std::string& line, Opens opens) {
  bool found = false;
  char* base = line.data();
  for (char* p = base; *p;) {
    if (!opens(p)) {
      p = const_cast<char*>(mbcs::Next(p));
      continue;
    }
    found = true;
    char* q = p;
    while (*q && !IsBlank(*q)) q = const_cast<char*>(mbcs::Next(q));
    std::memset(p, ' ', static_cast<std::size_t>(q - p));
    p = q;
  }
  return found;
}

// Upper case of the single-byte letters; double-byte characters stay as they are.
std::string UpperCase(const std::string& text) {
  std::string up = text;
  for (char* p = up.data(); *p;) {
    char* n = const_cast<char*>(mbcs::Next(p));
    if (n == p + 1 && *p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    p = n;
  }
  return up;
}

// True when needle starts at a character boundary of text.
bool ContainsText(const char* text, const char* needle) {
  const std::size_t n = std::strlen(needle);
  for (const char* p = text; *p; p = mbcs::Next(p))
    if (std::strncmp(p, needle, n) == 0) return true;
  return false;
}

constexpr const char* kSemicolonProgram = "HIDEMANU.EXE";

}  // namespace

QuoteMode BlankPlaceholders(std::string& line) {
  BlankRuns(line, [](const char* p) { return *p == '^'; });
  bool quoted = BlankRuns(line, [](const char* p) { return p[0] == '"' && p[1] == '%'; });
  bool bare = BlankRuns(line, [](const char* p) { return *p == '%'; });
  if (bare) return QuoteMode::kNever;
  return quoted ? QuoteMode::kAlways : QuoteMode::kAsNeeded;
}

QuoteMode ModeForProgram(QuoteMode mode, bool win32Program, const std::string& program) {
  if (mode != QuoteMode::kAlways) return mode;
  if (!win32Program) return QuoteMode::kAsNeeded;
  if (ContainsText(UpperCase(program).c_str(), kSemicolonProgram)) return QuoteMode::kSemicolonList;
  return QuoteMode::kAlways;
}

bool IsWin32ExeType(uint32_t exeType) { return (exeType & 0xFFFF) == 0x4550; }

int AppendSelectedFiles(std::string& line, int maxCount, const std::vector<SelectedFile>& files,
                        const std::string& prefix, QuoteMode mode) {
  if (mode == QuoteMode::kAsNeeded && HasBlank(prefix)) mode = QuoteMode::kAlways;
  if (line.size() + 1 > kMaxCommandLine) return 0;
  line += ' ';
  // The room counted for a quoted name is two more than it takes, as the line always counted.
  std::size_t counted = line.size();
  int appended = 0;
  bool endsInSeparator = false;  // the last file was followed by a blank or ";" of ours
  for (const SelectedFile& f : files) {
    if (appended >= maxCount) break;
    const std::string text = f.isLink ? f.target : prefix + f.name;
    if (text.empty()) continue;
    const bool quoted = mode == QuoteMode::kAlways || mode == QuoteMode::kSemicolonList ||
                        HasBlank(text);
    const std::size_t cost = text.size() + (quoted ? 5 : 1);
    if (counted + cost > kMaxCommandLine) break;
    counted += cost;
    endsInSeparator = mode == QuoteMode::kSemicolonList || mode == QuoteMode::kAlways;
    switch (mode) {
      case QuoteMode::kSemicolonList: line += "\"" + text + "\";"; break;
      case QuoteMode::kAlways: line += "\"" + text + "\" "; break;
      case QuoteMode::kAsNeeded:
      case QuoteMode::kNever:
        // A quoted name comes after a blank, never glued to a bare name before it; and a name
        // with a blank is quoted even where the program asked for bare names, or it would read
        // as two.
        line += quoted ? " \"" + text + "\"" : " " + text;
        break;
    }
    ++appended;
  }
  // Only a separator goes: a bare name may end in ";" itself.
  if (endsInSeparator) line.pop_back();
  return appended;
}

int AppendDroppedFiles(std::string& line, int maxCount, const std::vector<std::string>& files,
                       QuoteMode mode) {
  int appended = 0;
  for (const std::string& name : files) {
    if (appended >= maxCount) break;
    if (name.empty()) continue;
    const bool quoted = mode == QuoteMode::kAlways || HasBlank(name);
    const std::string piece = quoted ? " \"" + name + "\"" : " " + name;
    if (line.size() + piece.size() > kMaxCommandLine) break;
    line += piece;
    ++appended;
  }
  return appended;
}

bool ComposeRunWithFiles(const char* command, const ProgramTypeCheck& isWin32Program,
                         const std::vector<SelectedFile>& selected, const std::string& prefix,
                         const std::vector<std::string>* dropped, std::string& line) {
  line.clear();
  if (!command || std::strlen(command) > kMaxCommandLine) return false;
  line = command;
  QuoteMode mode = BlankPlaceholders(line);
  if (mode == QuoteMode::kAlways) {
    std::string program, parameters;
    config::SplitCommandLine(line.c_str(), program, parameters);
    mode = ModeForProgram(mode, isWin32Program && isWin32Program(program), program);
  }
  if (dropped)
    AppendDroppedFiles(line, kMaxAppendedFiles, *dropped, mode);
  else
    AppendSelectedFiles(line, kMaxAppendedFiles, selected, prefix, mode);
  return true;
}

}  // namespace exec
