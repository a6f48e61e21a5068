#include "config/default_config.h"

#include <vector>

#include "os/filesystem.h"
#include "os/services.h"
#include "os/types.h"

namespace config {

namespace {

bool ReadWhole(const std::string& path, std::vector<char>& out) {
  auto f = os::Fs().Open(path.c_str(), os::kGenericRead, os::kShareRead, os::kOpenExisting);
  if (!f) return false;
  uint64_t size = 0;
  if (!f->Size(&size) || size > kDefaultConfigMaxBytes) return false;
  out.resize(static_cast<size_t>(size));
  uint32_t done = 0;
  if (size && (!f->Read(out.data(), static_cast<uint32_t>(size), &done) || done != size))
    return false;
  return true;
}

}  // namespace

DefaultConfigResult InstallDefaultConfig(const std::string& defaultsPath,
                                         const std::string& configPath) {
  os::FileSystem& fs = os::Fs();
  if (fs.GetAttributes(configPath.c_str()) != os::kInvalidAttributes)
    return DefaultConfigResult::kAlreadyThere;
  std::vector<char> text;
  if (!ReadWhole(defaultsPath, text)) return DefaultConfigResult::kNoDefaults;
  const std::string temp = configPath + ".new";
  {
    auto out = fs.Open(temp.c_str(), os::kGenericWrite, os::kShareNone, os::kCreateNew);
    if (!out) return DefaultConfigResult::kFailed;
    uint32_t done = 0;
    const bool written =
        text.empty() ||
        (out->Write(text.data(), static_cast<uint32_t>(text.size()), &done) && done == text.size());
    if (!written) {
      out.reset();
      fs.DeleteFile(temp.c_str());
      return DefaultConfigResult::kFailed;
    }
  }
  if (!fs.MoveFile(temp.c_str(), configPath.c_str())) {
    fs.DeleteFile(temp.c_str());
    return fs.GetAttributes(configPath.c_str()) != os::kInvalidAttributes
               ? DefaultConfigResult::kAlreadyThere
               : DefaultConfigResult::kFailed;
  }
  return DefaultConfigResult::kInstalled;
}

}  // namespace config
