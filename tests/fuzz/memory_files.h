// Files held in memory for the fuzz targets: a file system that opens them for reading and a
// profile that reads them through the same INI engine as the posix profile functions, so that
// code reading small files runs at memory speed. Installed with os::ScopedServices.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "os/last_error.h"
#include "os/ini_file.h"
#include "os/ini_profile.h"
#include "os/services.h"

namespace fuzzmem {

struct MemoryFile {
  std::string text;
  uint64_t size = 0;  // what the file system reports: the text's size, or more
  std::shared_ptr<const os::ini::Document> doc;  // the text parsed once
};

// Full paths, compared without regard to the case of ASCII letters.
class MemoryFiles {
 public:
  void Clear() { files_.clear(); }
  void Put(const std::string& path, std::string text, uint64_t size) {
    MemoryFile& f = files_[os::ini::Fold(path)];
    f.size = size < text.size() ? text.size() : size;
    f.doc = std::make_shared<const os::ini::Document>(text);
    f.text = std::move(text);
  }
  const MemoryFile* Get(const char* path) const {
    if (!path) return nullptr;
    auto it = files_.find(os::ini::Fold(path));
    return it == files_.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::string, MemoryFile> files_;
};

class MemoryFs final : public os::FileSystem {
 public:
  MemoryFs(const MemoryFiles& files, std::string cwd) : files_(files), cwd_(std::move(cwd)) {}

  std::unique_ptr<os::File> Open(const char* path, uint32_t access, uint32_t, uint32_t) override {
    const MemoryFile* f = files_.Get(path);
    if (!f || (access & os::kGenericWrite)) return Refuse<std::unique_ptr<os::File>>();
    return std::make_unique<ReadOnly>(*f);
  }
  uint32_t GetAttributes(const char* path) override {
    return files_.Get(path) ? 0x20u : Refuse<uint32_t>(os::kInvalidAttributes);
  }
  uint32_t GetCurrentDir(char* buf, uint32_t size) override {
    if (!buf || cwd_.size() + 1 > size) return static_cast<uint32_t>(cwd_.size() + 1);
    cwd_.copy(buf, cwd_.size());
    buf[cwd_.size()] = '\0';
    return static_cast<uint32_t>(cwd_.size());
  }
  // Nothing else is held here.
  std::unique_ptr<os::Finder> FindFirst(const char*, os::FindData&) override {
    return Refuse<std::unique_ptr<os::Finder>>();
  }
  std::unique_ptr<os::File> OpenForTimes(const char*) override {
    return Refuse<std::unique_ptr<os::File>>();
  }
  bool GetIdentity(const char*, os::FileIdentity&) override { return Refuse<bool>(); }
  bool IsFileLink(const char*) override { return false; }
  bool SetAttributes(const char*, uint32_t) override { return Refuse<bool>(); }
  bool CreateDir(const char*) override { return Refuse<bool>(); }
  bool RemoveDir(const char*) override { return Refuse<bool>(); }
  bool DeleteFile(const char*) override { return Refuse<bool>(); }
  bool MoveFile(const char*, const char*) override { return Refuse<bool>(); }
  bool ReplaceFile(const char*, const char*) override { return Refuse<bool>(); }
  bool ShellDelete(const char*, bool) override { return Refuse<bool>(); }
  bool SetCurrentDir(const char*) override { return Refuse<bool>(); }
  uint32_t GetFullPath(const char*, char*, uint32_t) override { return Refuse<uint32_t>(); }
  bool GetDiskFree(const char*, uint64_t*, uint64_t*) override { return Refuse<bool>(); }
  uint32_t GetDriveType(const char*) override { return os::kDriveNoRootDir; }
  uint32_t GetLogicalDrives() override { return 0; }
  uint32_t GetTempDir(char*, uint32_t) override { return Refuse<uint32_t>(); }

 private:
  class ReadOnly final : public os::File {
   public:
    explicit ReadOnly(const MemoryFile& f) : f_(f) {}
    bool Read(void* buf, uint32_t size, uint32_t* done) override {
      const uint64_t left = pos_ < f_.text.size() ? f_.text.size() - pos_ : 0;
      const uint32_t n = static_cast<uint32_t>(size < left ? size : left);
      f_.text.copy(static_cast<char*>(buf), n, pos_);
      pos_ += n;
      if (done) *done = n;
      return true;
    }
    bool Write(const void*, uint32_t, uint32_t*) override { return Refuse<bool>(); }
    bool Size(uint64_t* size) override {
      *size = f_.size;
      return true;
    }
    bool Seek(uint64_t pos) override {
      pos_ = pos;
      return true;
    }
    bool SetEnd() override { return Refuse<bool>(); }
    bool GetTimes(os::FileTime*, os::FileTime*, os::FileTime*) override { return Refuse<bool>(); }
    bool SetTimes(const os::FileTime*, const os::FileTime*, const os::FileTime*) override {
      return Refuse<bool>();
    }

   private:
    const MemoryFile& f_;
    uint64_t pos_ = 0;
  };

  template <typename T>
  static T Refuse(T value = T()) {
    os::SetLastError(os::kErrAccessDenied);
    return value;
  }

  const MemoryFiles& files_;
  std::string cwd_;
};

class MemoryProfile final : public os::Profile {
 public:
  explicit MemoryProfile(const MemoryFiles& files) : files_(files) {}
  uint32_t GetString(const char* section, const char* key, const char* def, char* buf,
                     uint32_t size, const char* file) override {
    if (!buf || size == 0) return 0;
    const MemoryFile* f = files_.Get(file);
    return os::ini::GetString(f ? f->doc.get() : nullptr, section, key, def, buf, size);
  }
  uint32_t GetInt(const char* section, const char* key, int32_t def, const char* file) override {
    const MemoryFile* f = files_.Get(file);
    return os::ini::GetInt(f ? f->doc.get() : nullptr, section, key, def);
  }
  bool WriteString(const char*, const char*, const char*, const char*) override { return false; }
  bool WriteSection(const char*, const char*, const char*) override { return false; }
  uint32_t GetWinIniString(const char* section, const char* key, const char* def, char* buf,
                           uint32_t size) override {
    return GetString(section, key, def, buf, size, nullptr);
  }
  bool WriteWinIniString(const char*, const char*, const char*) override { return false; }

 private:
  const MemoryFiles& files_;
};

}  // namespace fuzzmem
