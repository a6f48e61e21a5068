#include "links/link_file.h"

#include "os/services.h"
#include "os/path_text.h"

namespace links {
namespace {

constexpr const char* kSection = "Link";

// GetPrivateProfileStringA on a link file that is small enough to be one; empty otherwise.
// A value longer than bufSize - 1 bytes is cut to the buffer.
std::string ReadLinkValue(const std::string& file, const char* key, uint32_t bufSize) {
  {
    auto f = os::Fs().Open(file.c_str(), os::kGenericRead,
                           os::kShareRead | os::kShareWrite | os::kShareDelete, os::kOpenExisting);
    if (!f) return std::string();
    uint64_t size = 0;
    if (!f->Size(&size) || size > kMaxLinkFileBytes) return std::string();
  }
  std::string buf(bufSize, '\0');
  uint32_t n = os::Ini().GetString(kSection, key, "", buf.data(), bufSize, file.c_str());
  if (n >= bufSize) n = bufSize - 1;
  buf.resize(n);
  return buf;
}

// A path value (Link, Current). It is read into a buffer three bytes larger than the longest
// path, so a longer value comes back longer than a path even where the read stops short of a
// double-byte character; such a value reads as empty, with tooLong set, instead of cut (a cut
// path names another file).
std::string ReadLinkPath(const std::string& file, const char* key, bool* tooLong) {
  std::string value = ReadLinkValue(file, key, kMaxLinkPathBytes + 3);
  const bool fits = os::FitsBuffer(value, kMaxLinkPathBytes + 1);
  if (tooLong) *tooLong = !fits;
  return fits ? value : std::string();
}

}  // namespace

bool IsLinkFileName(const char* path) { return os::HasSuffixNoCase(path, ".LFI"); }

int ReadLinkTarget(const char* path, std::string& target) {
  if (!IsLinkFileName(path)) return 0;
  target = ReadLinkPath(os::InCurrentDirectory(path), "Link", nullptr);
  return 1;
}

std::string FollowLinkChain(std::string target) {
  for (int hop = 0; hop < kMaxLinkChain; ++hop) {
    std::string next;
    if (!ReadLinkTarget(target.c_str(), next)) break;
    target = std::move(next);
  }
  return target;
}

int ReadLinkTitle(const std::string& tableDirectory, const char* linkName, std::string& title) {
  std::string file = os::HasDriveOrDirectory(linkName) ? std::string(linkName)
                                                           : tableDirectory + linkName;
  title = ReadLinkValue(file, "Title", 512);
  if (!title.empty()) return 1;
  title = os::FileNamePart(linkName);
  return 0;
}

int ReadLinkWorkingDirectory(const char* path, std::string& directory) {
  bool tooLong = false;
  directory = ReadLinkPath(os::InCurrentDirectory(path), "Current", &tooLong);
  if (tooLong) return -1;
  return directory.empty() ? 0 : 1;
}

}  // namespace links
