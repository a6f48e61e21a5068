#include "tests/unit/engine_test_support.h"

#include <cstring>

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

std::vector<std::string> TemporaryFiles(const std::string& dir) {
  std::map<std::string, std::string> files;
  std::vector<std::string> names, temps;
  Collect(dir, "", files, &names);
  for (const std::string& n : names) {
    std::size_t slash = n.find_last_of('\\');
    std::string leaf = slash == std::string::npos ? n : n.substr(slash + 1);
    if (leaf.rfind("~sm", 0) == 0) temps.push_back(n);
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

}  // namespace enginetest
