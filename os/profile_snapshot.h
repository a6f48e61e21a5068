// The reads of one INI file answered from a single reading of it.
//
// A window reads some fifty values of its configuration while it builds itself, and every
// profile call opens, checks and closes the file again. A snapshot reads the file's bytes once
// and answers each read of that file as the profile functions would. A write to the file goes to
// the real functions and ends the snapshot, so every later read sees it. A file whose answers the
// snapshot cannot promise to match exactly (one it cannot open, larger than kMaxBytes, Unicode
// text with a byte-order mark, NUL bytes or byte sequences that are no CP932 text) is left to the
// real functions from the start. Other processes' writes after the reading are not seen: the
// snapshot suits a short stretch of reads, such as a window's start.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "os/filesystem.h"
#include "os/profile.h"
#include "os/services.h"

namespace os {
namespace ini {
class Document;
}

class ProfileSnapshot final : public Profile {
 public:
  static constexpr uint64_t kMaxBytes = 1024 * 1024;

  // Reads file (the path exactly as the reads will name it) through fs.
  ProfileSnapshot(Profile& inner, FileSystem& fs, std::string file);
  ~ProfileSnapshot() override;
  ProfileSnapshot(const ProfileSnapshot&) = delete;
  ProfileSnapshot& operator=(const ProfileSnapshot&) = delete;

  // True while reads of the file are answered from the snapshot.
  bool Active() const { return active_; }

  uint32_t GetString(const char* section, const char* key, const char* def, char* buf,
                     uint32_t size, const char* file) override;
  uint32_t GetInt(const char* section, const char* key, int32_t def, const char* file) override;
  bool WriteString(const char* section, const char* key, const char* value,
                   const char* file) override;
  bool WriteSection(const char* section, const char* lines, const char* file) override;
  uint32_t GetWinIniString(const char* section, const char* key, const char* def, char* buf,
                           uint32_t size) override;
  bool WriteWinIniString(const char* section, const char* key, const char* value) override;

 private:
  bool Answers(const char* file) const;
  void EndFor(const char* file);

  Profile& inner_;
  std::string file_;
  std::unique_ptr<ini::Document> doc_;  // null while active: the file does not exist
  bool active_ = false;
};

// Whether text can be answered from exactly as the profile functions read it: no byte-order
// mark, no NUL byte, and CP932 throughout (every lead byte with its trail byte).
bool IsPlainCp932Text(const std::string& text);

// A snapshot of file in place of the process's profile functions for the object's lifetime.
// Only for stretches on one thread: the services are swapped for the whole process.
class ScopedProfileSnapshot {
 public:
  explicit ScopedProfileSnapshot(const std::string& file);
  ScopedProfileSnapshot(const ScopedProfileSnapshot&) = delete;
  ScopedProfileSnapshot& operator=(const ScopedProfileSnapshot&) = delete;

 private:
  ProfileSnapshot snapshot_;
  ScopedServices scope_;
};

}  // namespace os
