#include "exec/run_line.h"

#include <cstring>

#include "config/command_line.h"
#include "os/mbcs.h"
#include "os/path_text.h"
#include "os/services.h"

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

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// The characters the command interpreter acts on in a batch file's line; "^" and "|" are
// single-byte characters here only where they start a character.
bool IsBatchSpecial(char c) {
  switch (c) {
    case '&': case '|': case '<': case '>': case '^': case '%': return true;
    default: return false;
  }
}

// True when text ends in suffix (upper case, single-byte) in any letter case, from a character
// boundary.
bool EndsWithNoCase(const std::string& text, const char* suffix) {
  const std::size_t n = std::strlen(suffix);
  if (text.size() < n) return false;
  const std::string tail = UpperCase(text.substr(text.size() - n));
  return tail == suffix && !mbcs::IsTrailByteAt(text.c_str(), text.size() - n);
}

// Closes a double quote the line leaves open (its own text, or a placeholder blanked from
// inside quotes), so that the names' quotes pair as they were written. A double quote is never
// a trail byte.
void CloseOpenQuote(std::string& line) {
  std::size_t quotes = 0;
  for (char c : line)
    if (c == '"') ++quotes;
  if (quotes % 2 != 0 && line.size() < kMaxCommandLine) line += '"';
}

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

bool IsBatchProgram(const std::string& program) {
  if (EndsWithNoCase(program, ".BAT") || EndsWithNoCase(program, ".CMD")) return true;
  const std::string name = UpperCase(os::FileNamePart(program.c_str()));
  return name == "CMD" || name == "CMD.EXE";
}

NameRefusal CheckAppendedName(const std::string& text, bool batchProgram) {
  bool batchSpecial = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == '"') return NameRefusal::kUnsafeCharacter;
    if (mbcs::IsLeadByte(c)) {
      if (i + 1 >= text.size() || !IsTrailByte(static_cast<unsigned char>(text[i + 1])))
        return NameRefusal::kUnsafeCharacter;
      ++i;  // a trail byte "|" or "^" is part of its character
      continue;
    }
    if (IsBatchSpecial(static_cast<char>(c))) batchSpecial = true;
  }
  return batchProgram && batchSpecial ? NameRefusal::kBatchCharacter : NameRefusal::kNone;
}

const std::string* FirstMissingPath(const std::vector<std::string>& paths) {
  for (const std::string& p : paths)
    if (os::Fs().GetAttributes(p.c_str()) == os::kInvalidAttributes) return &p;
  return nullptr;
}

std::string RefusalMessage(NameRefusal why, const std::string& name) {
  std::string shown = name;
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  switch (why) {
    case NameRefusal::kNone: return std::string();
    case NameRefusal::kUnsafeCharacter:
      return "「" + shown + "」は名前に使えない文字を含むため、コマンドラインに渡せません";
    case NameRefusal::kBatchCharacter:
      return "「" + shown +
             "」は & | < > ^ % を含むため、バッチファイルに渡せません"
             "（名前の一部がコマンドとして実行されるおそれがあります）";
    case NameRefusal::kMissing:
      return "「" + shown + "」が見つかりません";
  }
  return std::string();
}

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

ComposeResult ComposeRunWithFiles(const RunLine& run, const ProgramTypeCheck& isWin32Program,
                                  const std::vector<SelectedFile>& selected,
                                  const std::string& prefix,
                                  const std::vector<std::string>* dropped, ComposedLine& out) {
  out = ComposedLine();
  if (run.command.size() + run.written.size() > kMaxCommandLine) return ComposeResult::kTooLong;
  std::string line = run.command;
  QuoteMode mode = BlankPlaceholders(line);
  line += run.written;
  std::string program, parameters;
  config::SplitCommandLine(line.c_str(), program, parameters);
  if (mode == QuoteMode::kAlways)
    mode = ModeForProgram(mode, isWin32Program && isWin32Program(program), program);
  const bool batch = IsBatchProgram(program);
  auto refuse = [&out, batch](const std::string& text) {
    out.refusal = CheckAppendedName(text, batch);
    if (out.refusal == NameRefusal::kNone) return false;
    out.refusedName = text;
    return true;
  };
  if (dropped) {
    for (const std::string& name : *dropped)
      if (!name.empty() && refuse(name)) return ComposeResult::kRefused;
  } else {
    for (const SelectedFile& f : selected) {
      const std::string text = f.isLink ? f.target : prefix + f.name;
      if (!text.empty() && refuse(text)) return ComposeResult::kRefused;
    }
  }
  CloseOpenQuote(line);
  if (dropped)
    AppendDroppedFiles(line, kMaxAppendedFiles, *dropped, mode);
  else
    AppendSelectedFiles(line, kMaxAppendedFiles, selected, prefix, mode);
  out.line = std::move(line);
  return ComposeResult::kComposed;
}

}  // namespace exec
