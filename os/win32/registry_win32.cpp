#include <windows.h>

#include "os/win32/win32_backend.h"

namespace os::win32 {
namespace {

HKEY RootHandle(RegRoot root) {
  return root == RegRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
}

class Win32Key final : public RegKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  // A predefined root handed back as it is (as some systems do for an empty path) stays open.
  ~Win32Key() override {
    if (key_ != HKEY_CURRENT_USER && key_ != HKEY_CLASSES_ROOT) ::RegCloseKey(key_);
  }
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;

  uint32_t QueryValue(const char* subkey, char* buf, int32_t* size) override {
    LONG cb = *size;
    LONG r = ::RegQueryValueA(key_, subkey, buf, &cb);
    *size = cb;
    return static_cast<uint32_t>(r);
  }
  uint32_t SetValue(const char* subkey, const char* value) override {
    return static_cast<uint32_t>(
        ::RegSetValueA(key_, subkey, REG_SZ, value, static_cast<DWORD>(lstrlenA(value))));
  }
  uint32_t EnumKey(uint32_t index, char* buf, uint32_t size) override {
    return static_cast<uint32_t>(::RegEnumKeyA(key_, index, buf, size));
  }
  uint32_t DeleteKey(const char* subkey) override {
    return static_cast<uint32_t>(::RegDeleteKeyA(key_, subkey));
  }

 private:
  HKEY key_;
};

class Win32RegistryImpl final : public Registry {
 public:
  std::unique_ptr<RegKey> OpenKey(RegRoot root, const char* path, uint32_t* error) override {
    HKEY k = nullptr;
    LONG r = (!path || !*path) ? ::RegOpenKeyExA(RootHandle(root), nullptr, 0, MAXIMUM_ALLOWED, &k)
                               : ::RegOpenKeyA(RootHandle(root), path, &k);
    if (error) *error = static_cast<uint32_t>(r);
    if (r != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(k);
  }
  std::unique_ptr<RegKey> CreateKey(RegRoot root, const char* path, uint32_t* error) override {
    HKEY k = nullptr;
    LONG r = ::RegCreateKeyA(RootHandle(root), path, &k);
    if (error) *error = static_cast<uint32_t>(r);
    if (r != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(k);
  }
  uint32_t DeleteKey(RegRoot root, const char* path) override {
    return static_cast<uint32_t>(::RegDeleteKeyA(RootHandle(root), path));
  }
};

}  // namespace

Registry& Win32Registry() {
  static Win32RegistryImpl r;
  return r;
}

}  // namespace os::win32
