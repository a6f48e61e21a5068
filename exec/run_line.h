// Composing the command line that starts a program with files: the placeholders of the
// command are blanked, the text written after it is kept byte for byte, and the files are
// appended at the end, quoted as the placeholders and the program ask. Every line holds at
// most kMaxCommandLine characters; files that would make it longer are left out. A name that
// cannot go on a command line safely refuses the whole start.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "exec/exec_link_info.h"

namespace exec {

// How appended names are written. In every mode a name holding a blank is quoted, so that it
// reaches the program as one name; a name is never put in two pairs of quotes (a quoted
// placeholder's own quotes are blanked with it).
enum class QuoteMode : int {
  kAsNeeded = 0,       // a blank and the name; all quoted when the directory holds a blank
  kAlways = 1,         // "name" followed by a blank
  kNever = 2,          // a blank and the name
  kSemicolonList = 3,  // "name" followed by ";"
};

// The most files ever appended to one line.
constexpr int kMaxAppendedFiles = 0x7FFF;

// Blanks what the line says about its files, in place:
// every "^" with the non-blank characters after it; every double quote followed by "%" with
// the non-blank characters after them (then kAlways, else kAsNeeded); then every remaining "%"
// with the non-blank characters after it (then kNever). Returns the mode.
QuoteMode BlankPlaceholders(std::string& line);

// The program-type rule for a line whose placeholders asked for kAlways: only a 32-bit Windows
// program keeps kAlways (and the one program that wants a ";" list gets kSemicolonList); any
// other program gets kAsNeeded. Other modes stay.
QuoteMode ModeForProgram(QuoteMode mode, bool win32Program, const std::string& program);

// SHGetFileInfoA(SHGFI_EXETYPE) says "PE" in its low word for a 32-bit Windows program.
bool IsWin32ExeType(uint32_t exeType);

// One selected entry of a table, in list order.
struct SelectedFile {
  std::string name;    // the entry's file name
  bool isLink = false;
  std::string target;  // a link's target path, appended as it is (without the directory)
};

// Appends the selected files to line: one blank, then each file (prefix + name, or a link's
// target) as the mode says. A file goes in only while the line stays within kMaxCommandLine
// bytes; at most maxCount files. A trailing blank or ";" after the last file is removed.
// Returns the number of files appended.
int AppendSelectedFiles(std::string& line, int maxCount, const std::vector<SelectedFile>& files,
                        const std::string& prefix, QuoteMode mode);

// Appends dropped files (full paths): each after a blank, in double quotes in mode kAlways or
// when it holds a blank. Same limits. Returns the number appended.
int AppendDroppedFiles(std::string& line, int maxCount, const std::vector<std::string>& files,
                       QuoteMode mode);

// Whether a program is a 32-bit Windows program (the caller asks the system).
using ProgramTypeCheck = std::function<bool(const std::string& program)>;

// A line to start: command is an association's or a configured command, whose "^" hints and
// "%" placeholders are blanked; written follows it directly and is kept as it is (a typed
// line, a link's target and arguments), so a typed "100%.txt" stays "100%.txt".
struct RunLine {
  std::string command;
  std::string written;
  std::string Whole() const { return command + written; }
};

// Why a name is not put on a command line.
enum class NameRefusal {
  kNone,
  // A double quote, a control character or a lead byte without its trail byte: no file is
  // named so, and it would end the quotes around the name or swallow the character after it.
  kUnsafeCharacter,
  // "&", "|", "<", ">", "^" or "%" going to a batch file: the command interpreter would run
  // the rest of the name as a command of its own, or expand it.
  kBatchCharacter,
  // A dropped path that names nothing that exists.
  kMissing,
};

// A program the command interpreter reads the line of: a ".bat" or ".cmd" file, or the
// interpreter itself ("cmd", "cmd.exe"), in any letter case.
bool IsBatchProgram(const std::string& program);

// Whether text (an appended name, prefix included) may be appended for the program.
NameRefusal CheckAppendedName(const std::string& text, bool batchProgram);

// The first of the dropped paths that names nothing in the file system; null when all exist.
const std::string* FirstMissingPath(const std::vector<std::string>& paths);

// The message shown for a refused name, naming it (control characters shown as "?").
std::string RefusalMessage(NameRefusal why, const std::string& name);

enum class ComposeResult {
  kComposed,
  kTooLong,  // the command and its written text are longer than kMaxCommandLine
  kRefused,  // a name to append was refused: nothing may be started
};
struct ComposedLine {
  std::string line;  // empty unless composed
  NameRefusal refusal = NameRefusal::kNone;
  std::string refusedName;
};

// The line RunWithFiles starts. dropped null: the selected files with prefix (the table's
// directory with its trailing "\"); else the dropped files. Every name that would be appended
// is checked first (CheckAppendedName, for the program the line starts). A double quote the
// line leaves open is closed before the names, so their quotes pair as written.
ComposeResult ComposeRunWithFiles(const RunLine& run, const ProgramTypeCheck& isWin32Program,
                                  const std::vector<SelectedFile>& selected,
                                  const std::string& prefix,
                                  const std::vector<std::string>* dropped, ComposedLine& out);

}  // namespace exec
