#include "tests/unit/test_util.h"

#include <atomic>
#include <cstdio>

#include "os/exact_name.h"
#include "os/services.h"

namespace testutil {
namespace {
std::atomic<unsigned> g_counter{0};
}

TempDir::TempDir() {
  char base[os::kMaxPath] = {};
  uint32_t n = os::Fs().GetTempDir(base, sizeof(base));
  std::string b = (n > 0 && n < sizeof(base)) ? std::string(base, n) : std::string(".\\");
  if (b.back() != '\\' && b.back() != '/') b += '\\';
  for (int attempt = 0; attempt < 1000; ++attempt) {
    char name[64];
    std::snprintf(name, sizeof(name), "sormtest_%u_%u", os::Sys().TickCount(),
                  g_counter.fetch_add(1));
    std::string candidate = b + name;
    if (os::Fs().CreateDir(candidate.c_str())) {
      dir_ = candidate + "\\";
      return;
    }
  }
}

TempDir::~TempDir() {
  if (!dir_.empty()) RemoveTree(dir_.substr(0, dir_.size() - 1));
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  auto f = os::Fs().Open(path.c_str(), os::kGenericWrite, os::kShareRead, os::kCreateAlways);
  if (!f) return false;
  uint32_t done = 0;
  return bytes.empty() ||
         (f->Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &done) &&
          done == bytes.size());
}

std::string ReadFileBytes(const std::string& path) {
  auto f = os::Fs().Open(path.c_str(), os::kGenericRead, os::kShareRead | os::kShareWrite,
                         os::kOpenExisting);
  if (!f) return std::string();
  std::string out;
  char buf[65536];
  uint32_t done = 0;
  while (f->Read(buf, sizeof(buf), &done) && done > 0) out.append(buf, done);
  return out;
}

bool FileExists(const std::string& path) {
  return os::Fs().GetAttributes(path.c_str()) != os::kInvalidAttributes;
}

void RemoveTree(const std::string& path) {
  uint32_t a = os::Fs().GetAttributes(path.c_str());
  if (a == os::kInvalidAttributes) return;
  if (a & os::kAttrReadOnly) os::Fs().SetAttributes(path.c_str(), a & ~os::kAttrReadOnly);
  if (!(a & os::kAttrDirectory)) {
    os::Fs().DeleteFile(path.c_str());
    return;
  }
  os::FindData fd;
  std::string pattern = path + "\\*";
  if (auto f = os::Fs().FindFirst(pattern.c_str(), fd)) {
    do {
      std::string n = fd.name;
      if (n == "." || n == ".." || !os::AddressName(fd)) continue;
      RemoveTree(path + "\\" + os::AddressName(fd));
    } while (f->Next(fd));
  }
  os::Fs().RemoveDir(path.c_str());
}

}  // namespace testutil
