#include "exec/program_search.h"

#include "config/instance_paths.h"
#include "config/program_context.h"
#include "os/mbcs.h"
#include "os/path_text.h"
#include "os/services.h"
#include "table/profile_section.h"

namespace exec {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string WithBackslash(std::string dir) {
  if (!dir.empty() && (dir.back() != '\\' || mbcs::IsTrailByteAt(dir.c_str(), dir.size() - 1)))
    dir += '\\';
  return dir;
}

// A regular file (not a folder) at path.
bool IsFile(const std::string& path) {
  const uint32_t a = os::Fs().GetAttributes(path.c_str());
  return a != os::kInvalidAttributes && !(a & os::kAttrDirectory);
}

bool HasExtension(const std::string& name) {
  const char* dot = mbcs::FindLastChar(name.c_str(), '.');
  return dot && dot[1] != '\0';
}

// Where a program named without drive or directory is found; empty when nowhere.
std::string FindBareProgram(const std::string& program, const std::vector<std::string>& folders) {
  const std::string name = HasExtension(program) ? program : program + ".exe";
  for (const std::string& dir : folders) {
    const std::string full = dir + name;
    if (IsFile(full)) return full;
  }
  return std::string();
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::vector<std::string> ProgramSearchDirectories(const std::string& programDirectory,
                                                  const std::string& searchPath) {
  std::vector<std::string> out;
  auto add = [&out](std::string dir) {
    if (dir.size() >= 2 && dir.front() == '"' && dir.back() == '"') dir = dir.substr(1, dir.size() - 2);
    while (!dir.empty() && IsBlank(dir.back())) dir.pop_back();
    while (!dir.empty() && IsBlank(dir.front())) dir.erase(dir.begin());
    // A relative folder ("bin", "C:bin", "\\bin") would be looked up from the current
    // directory: left out.
    const bool full = (dir.size() >= 3 && dir[1] == ':' && dir[2] == '\\') ||
                      (dir.size() >= 3 && dir[0] == '\\' && dir[1] == '\\');
    if (!full) return;
    dir = WithBackslash(dir);
    const std::string folded = table::FoldProfileName(dir);
    for (const std::string& seen : out)
      if (table::FoldProfileName(seen) == folded) return;
    out.push_back(dir);
  };
  add(programDirectory);
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = searchPath.find(';', start);  // ";" is never a trail byte
    add(searchPath.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

bool ResolveLineProgram(std::string& line, const std::vector<std::string>& directories,
                        std::size_t maxLength) {
  std::size_t begin = 0;
  while (begin < line.size() && IsBlank(line[begin])) ++begin;
  std::size_t end;
  std::string program;
  if (begin < line.size() && line[begin] == '"') {
    end = line.find('"', begin + 1);
    if (end == std::string::npos) return false;
    program = line.substr(begin + 1, end - begin - 1);
    ++end;
  } else {
    end = begin;
    while (end < line.size() && !IsBlank(line[end])) ++end;  // a blank is never a trail byte
    program = line.substr(begin, end - begin);
  }
  if (program.empty()) return false;
  if (os::HasDriveOrDirectory(program.c_str())) return true;
  const std::string full = FindBareProgram(program, directories);
  if (full.empty()) return false;
  const bool quote = full.find_first_of(" \t") != std::string::npos;
  std::string resolved = (quote ? "\"" + full + "\"" : full) + line.substr(end);
  if (resolved.size() > maxLength) return false;
  line = std::move(resolved);
  return true;
}

std::string ProgramPathIn(const std::string& program, const std::string& directory,
                          const std::vector<std::string>& folders) {
  if (program.empty()) return program;
  if (!os::HasDriveOrDirectory(program.c_str())) {
    const std::string full = FindBareProgram(program, folders);
    return full.empty() ? program : full;
  }
  const bool unc = program.size() >= 2 && IsSeparator(program[0]) && IsSeparator(program[1]);
  const bool drive = program.size() >= 2 && program[1] == ':';
  if (unc || (drive && program.size() >= 3 && IsSeparator(program[2]))) return program;
  if (directory.empty()) return program;
  const bool onDrive = directory.size() >= 2 && directory[1] == ':';
  if (drive) {
    // "C:tool.exe" is in the start directory only when that lies on drive C:.
    const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    if (!onDrive || upper(program[0]) != upper(directory[0])) return program;
    return os::DirectoryString(directory) + program.substr(2);
  }
  if (IsSeparator(program[0]))  // from the root of the start directory's drive
    return onDrive ? directory.substr(0, 2) + program : program;
  return os::DirectoryString(directory) + program;
}

std::vector<std::string> SystemProgramDirectories() {
  return ProgramSearchDirectories(config::DirectoryOf(config::Context().programPath),
                                  os::Sys().ProgramSearchPath());
}

}  // namespace exec
