#include "tests/unit/engine_test_support.h"

#include <cctype>
#include <cstring>
#include <functional>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include "os/posix/path_map.h"
#endif

#include "os/exact_name.h"
#include "os/mbcs.h"

namespace enginetest {

namespace detail {
fileops::OperationUi& InScope() {
  static fileops::OperationUi ui;
  return ui;
}
}  // namespace detail

fileops::OperationUi Ui() { return detail::InScope(); }

std::string Pattern(std::size_t size, unsigned seed) {
  std::string s(size, '\0');
  uint32_t x = seed * 2654435761u + 12345u;
  for (std::size_t i = 0; i < size; ++i) {
    x = x * 1664525u + 1013904223u;
    s[i] = static_cast<char>(x >> 24);
  }
  return s;
}

void MakeFiles(const std::string& dir, const std::map<std::string, std::string>& files) {
  os::Fs().CreateDir(dir.substr(0, dir.size() - 1).c_str());
  for (const auto& [rel, content] : files) {
    for (const char* p = rel.c_str(); *p; p = mbcs::Next(p)) {
      if (*p == '\\') os::Fs().CreateDir((dir + rel.substr(0, p - rel.c_str())).c_str());
    }
    ASSERT_TRUE(testutil::WriteFileBytes(dir + rel, content)) << rel;
  }
}

namespace {

void Collect(const std::string& dir, const std::string& prefix,
             std::map<std::string, std::string>& out, std::vector<std::string>* names) {
  os::FindData fd;
  auto search = os::Fs().FindFirst((dir + "*.*").c_str(), fd);
  for (bool more = search != nullptr; more; more = search->Next(fd)) {
    if (std::strcmp(fd.name, ".") == 0 || std::strcmp(fd.name, "..") == 0) continue;
    // An entry listed under a look-alike name is read, and named here, by its alias.
    const char* name = os::AddressName(fd);
    if (!name) {
      out[prefix + fd.name + " (unreachable)"] = std::string();
      continue;
    }
    std::string rel = prefix + name;
    if (names) names->push_back(rel);
    if (fd.attributes & os::kAttrDirectory)
      Collect(dir + name + "\\", rel + "\\", out, names);
    else
      out[rel] = testutil::ReadFileBytes(dir + name);
  }
}

}  // namespace

std::map<std::string, std::string> ReadTree(const std::string& dir) {
  std::map<std::string, std::string> out;
  Collect(dir, "", out, nullptr);
  return out;
}

// The copy's names: "~sm<hex>.tmp", or "~<base 36>" where the directory leaves less room.
bool IsTemporaryName(const std::string& leaf) {
  if (leaf.size() < 2 || leaf[0] != '~') return false;
  if (leaf.rfind("~sm", 0) == 0 && leaf.size() > 7 && leaf.compare(leaf.size() - 4, 4, ".tmp") == 0)
    return true;
  for (std::size_t i = 1; i < leaf.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(leaf[i])) && !(leaf[i] >= 'a' && leaf[i] <= 'z'))
      return false;
  return true;
}

std::vector<std::string> TemporaryFiles(const std::string& dir) {
  std::map<std::string, std::string> files;
  std::vector<std::string> names, temps;
  Collect(dir, "", files, &names);
  for (const std::string& n : names) {
    std::size_t slash = n.find_last_of('\\');
    std::string leaf = slash == std::string::npos ? n : n.substr(slash + 1);
    if (IsTemporaryName(leaf)) temps.push_back(n);
  }
  return temps;
}

bool SetWriteTime(const std::string& path, os::FileTime t) {
  uint32_t a = os::Fs().GetAttributes(path.c_str());
  bool readOnly = a != os::kInvalidAttributes && (a & os::kAttrReadOnly);
  if (readOnly) os::Fs().SetAttributes(path.c_str(), a & ~static_cast<uint32_t>(os::kAttrReadOnly));
  bool ok = false;
  if (auto f = os::Fs().Open(path.c_str(), os::kGenericWrite, os::kShareRead | os::kShareWrite,
                             os::kOpenExisting))
    ok = f->SetTimes(nullptr, nullptr, &t);
  if (readOnly) os::Fs().SetAttributes(path.c_str(), a);
  return ok;
}

os::FileTime WriteTime(const std::string& path) {
  os::FindData fd;
  return os::FindExact(path.c_str(), fd) ? fd.lastWriteTime : 0;
}

std::string Diff(const std::map<std::string, std::string>& actual,
                 const std::map<std::string, std::string>& expected) {
  std::string out;
  for (const auto& [name, content] : expected) {
    auto it = actual.find(name);
    if (it == actual.end())
      out += "missing " + name + "; ";
    else if (it->second != content)
      out += "different " + name + " (" + std::to_string(it->second.size()) + " bytes); ";
  }
  for (const auto& [name, content] : actual)
    if (!expected.count(name)) out += "extra " + name + "; ";
  return out;
}

os::FileTime TimeAt(int64_t seconds) {
  constexpr os::FileTime k2020 = 132223104000000000ull;  // 2020-01-01 00:00:00 UTC
  return k2020 + static_cast<os::FileTime>(seconds * 10000000);
}

#ifdef _WIN32
std::string UnixName(const std::string& path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  wchar_t wide[os::kMaxPath];
  if (!convert || !::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, os::kMaxPath))
    return std::string();
  char* name = convert(wide);
  std::string out = name ? name : "";
  if (name) ::HeapFree(::GetProcessHeap(), 0, name);
  return out.find(' ') == std::string::npos ? out : std::string();
}

bool RunHostCommand(std::string command, const std::function<bool()>& done) {
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  // Through the system's start program: a host program started straight from this process
  // now and then ended this process with it (exit code 0, in the middle of a test), one in
  // three runs of the link tests; started from a process of its own, it never did.
  command = "start.exe /unix " + command;
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
    return false;
  ::WaitForSingleObject(pi.hProcess, 10000);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  for (int waited = 0; waited < 5000 && !done(); waited += 10) ::Sleep(10);
  return done();
}
#endif

namespace {

// The host's symbolic link at link to target; a target without a drive stays relative.
bool MakeHostLink(const std::string& link, const std::string& target) {
  const bool relative = target.find(':') == std::string::npos;
  std::string from = target;
#ifdef _WIN32
  // Under Wine a link is a Unix symbolic link, made by the host's own program (the system's
  // CreateSymbolicLinkA reports success without making anything there).
  if (relative) {
    for (char& c : from)
      if (c == '\\') c = '/';
  } else {
    from = UnixName(target);
  }
  const std::string to = UnixName(link);
  return !from.empty() && !to.empty() &&
         RunHostCommand("/bin/ln -s " + from + " " + to, [&link] {
           return os::Fs().GetAttributes(link.c_str()) != os::kInvalidAttributes;
         });
#else
  if (relative) {
    for (char& c : from)
      if (c == '\\') c = '/';
  } else {
    from = os::posix::ToHostPath(target.c_str());
  }
  const std::string to = os::posix::ToHostPath(link.c_str());
  return !from.empty() && !to.empty() && symlink(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

bool MakeDirectoryLink(const std::string& link, const std::string& target) {
  if (!MakeHostLink(link, target)) return false;
  const uint32_t a = os::Fs().GetAttributes(link.c_str());
  return a != os::kInvalidAttributes && (a & os::kAttrDirectory);
}

bool MakeFileLink(const std::string& link, const std::string& target) {
  if (!MakeHostLink(link, target)) return false;
  const uint32_t a = os::Fs().GetAttributes(link.c_str());
  return a != os::kInvalidAttributes && !(a & os::kAttrDirectory);
}

void RemoveFileLink(const std::string& link) {
  if (!os::Fs().IsFileLink(link.c_str())) return;
#ifdef _WIN32
  const std::string name = UnixName(link);
  if (!name.empty())
    RunHostCommand("/bin/rm " + name, [&link] { return !os::Fs().IsFileLink(link.c_str()); });
#else
  const std::string name = os::posix::ToHostPath(link.c_str());
  if (!name.empty()) unlink(name.c_str());
#endif
}

void RemoveDirectoryLink(const std::string& link) {
  const uint32_t a = os::Fs().GetAttributes(link.c_str());
  if (a == os::kInvalidAttributes || !(a & os::kAttrReparsePoint)) return;
#ifdef _WIN32
  const std::string name = UnixName(link);
  if (!name.empty())
    RunHostCommand("/bin/rm " + name, [&link] {
      return os::Fs().GetAttributes(link.c_str()) == os::kInvalidAttributes;
    });
#else
  const std::string name = os::posix::ToHostPath(link.c_str());
  if (!name.empty()) unlink(name.c_str());
#endif
}

}  // namespace enginetest
