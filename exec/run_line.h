// Composing the command line that starts a program with files: the placeholders of the
// association's command are blanked and the files are appended at the end, quoted as the
// placeholders and the program ask. Every line fits kCommandLineBuffer with its terminator;
// files that do not fit are left out.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "exec/exec_link_info.h"

namespace exec {

// How appended names are written. In every mode a name holding a blank is quoted, so that it
// reaches the program as one name.
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
  std::string target;  // a link's target, appended as it is (without the directory)
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

// The line RunWithFiles starts. dropped null: the selected files with prefix (the table's
// directory with its trailing "\"); else the dropped files. False, with line empty, when the
// command itself is longer than kMaxCommandLine.
bool ComposeRunWithFiles(const char* command, const ProgramTypeCheck& isWin32Program,
                         const std::vector<SelectedFile>& selected, const std::string& prefix,
                         const std::vector<std::string>* dropped, std::string& line);

}  // namespace exec
