#include "os/profile_snapshot.h"

#include <cstring>
#include <utility>

#include "os/ini_file.h"
#include "os/ini_profile.h"
#include "os/last_error.h"

namespace os {
namespace {

constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

enum class Read { kText, kMissing, kUnreadable };

// The whole file into text, as one reading; no larger than limit.
Read ReadWhole(FileSystem& fs, const std::string& path, uint64_t limit, std::string* text) {
  std::unique_ptr<File> f = fs.Open(path.c_str(), kGenericRead, kShareRead | kShareWrite,
                                    kOpenExisting);
  if (!f) {
    const uint32_t e = LastError();
    return e == kErrorFileNotFound || e == kErrorPathNotFound ? Read::kMissing : Read::kUnreadable;
  }
  uint64_t size = 0;
  if (!f->Size(&size) || size > limit) return Read::kUnreadable;
  text->assign(static_cast<size_t>(size), '\0');
  uint32_t done = 0;
  for (size_t at = 0; at < text->size(); at += done) {
    if (!f->Read(&(*text)[at], static_cast<uint32_t>(text->size() - at), &done) || done == 0)
      return Read::kUnreadable;
  }
  // A file that grew while it was read is read by the real functions.
  char more = 0;
  if (f->Read(&more, 1, &done) && done != 0) return Read::kUnreadable;
  return Read::kText;
}

}  // namespace

bool IsPlainCp932Text(const std::string& text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  if (n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) return false;
  if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return false;
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = p[i];
    if (c == 0 || c == 0x80 || c == 0xA0 || c >= 0xFD) return false;
    if (IsLead(c)) {
      if (i + 1 >= n || !IsTrail(p[i + 1])) return false;
      ++i;
    }
  }
  return true;
}

ProfileSnapshot::ProfileSnapshot(Profile& inner, FileSystem& fs, std::string file)
    : inner_(inner), file_(std::move(file)) {
  const uint32_t savedError = LastError();
  std::string text;
  switch (ReadWhole(fs, file_, kMaxBytes, &text)) {
    case Read::kMissing:
      active_ = true;
      break;
    case Read::kText:
      if (IsPlainCp932Text(text)) {
        doc_ = std::make_unique<ini::Document>(std::move(text), true);
        active_ = true;
      }
      break;
    case Read::kUnreadable:
      break;
  }
  SetLastError(savedError);
}

ProfileSnapshot::~ProfileSnapshot() = default;

bool ProfileSnapshot::Answers(const char* file) const {
  return active_ && file && file_ == file;
}

uint32_t ProfileSnapshot::GetString(const char* section, const char* key, const char* def,
                                    char* buf, uint32_t size, const char* file) {
  if (!Answers(file) || !buf || size == 0)
    return inner_.GetString(section, key, def, buf, size, file);
  return ini::GetString(doc_.get(), section, key, def, buf, size);
}

uint32_t ProfileSnapshot::GetInt(const char* section, const char* key, int32_t def,
                                 const char* file) {
  if (!Answers(file) || !section || !key) return inner_.GetInt(section, key, def, file);
  return ini::GetInt(doc_.get(), section, key, def);
}

void ProfileSnapshot::EndFor(const char* file) {
  // Whatever the outcome of a write, the file may have changed: the real functions answer from
  // now on.
  if (file && file_ == file) {
    active_ = false;
    doc_.reset();
  }
}

bool ProfileSnapshot::WriteString(const char* section, const char* key, const char* value,
                                  const char* file) {
  EndFor(file);
  return inner_.WriteString(section, key, value, file);
}

bool ProfileSnapshot::WriteSection(const char* section, const char* lines, const char* file) {
  EndFor(file);
  return inner_.WriteSection(section, lines, file);
}

uint32_t ProfileSnapshot::GetWinIniString(const char* section, const char* key, const char* def,
                                          char* buf, uint32_t size) {
  return inner_.GetWinIniString(section, key, def, buf, size);
}

bool ProfileSnapshot::WriteWinIniString(const char* section, const char* key, const char* value) {
  return inner_.WriteWinIniString(section, key, value);
}

ScopedProfileSnapshot::ScopedProfileSnapshot(const std::string& file)
    : snapshot_(Ini(), Fs(), file), scope_(Services{nullptr, &snapshot_}) {}

}  // namespace os
