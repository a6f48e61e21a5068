// The registry keys the program uses (advapi32 Reg*A), under HKEY_CURRENT_USER and
// HKEY_CLASSES_ROOT. Only default (unnamed) values of type REG_SZ are needed.
#pragma once
#include <cstdint>
#include <memory>

namespace os {

enum class RegRoot { kCurrentUser, kClassesRoot };

class RegKey {
 public:
  virtual ~RegKey() = default;  // RegCloseKey
  // RegQueryValueA: the default value of subkey (null or "" for this key itself).
  // Returns a Win32 error code; on kErrMoreData *size holds the size needed.
  virtual uint32_t QueryValue(const char* subkey, char* buf, int32_t* size) = 0;
  // RegSetValueA with REG_SZ: creates subkey when needed.
  virtual uint32_t SetValue(const char* subkey, const char* value) = 0;
  // RegEnumKeyA: name of the index-th subkey, kErrNoMoreItems past the last.
  virtual uint32_t EnumKey(uint32_t index, char* buf, uint32_t size) = 0;
  // RegDeleteKeyA on a subkey of this key (with its own subkeys where the system allows).
  virtual uint32_t DeleteKey(const char* subkey) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // RegOpenKeyA / RegCreateKeyA. Return null and the error in *error on failure.
  // OpenKey with a null or empty path gives a key of its own for the root itself
  // (RegOpenKeyExA with MAXIMUM_ALLOWED), so the root's subkeys can be enumerated; RegOpenKeyA
  // would hand back the predefined handle, which must never be closed.
  virtual std::unique_ptr<RegKey> OpenKey(RegRoot root, const char* path, uint32_t* error) = 0;
  virtual std::unique_ptr<RegKey> CreateKey(RegRoot root, const char* path, uint32_t* error) = 0;
  // RegDeleteKeyA on the root.
  virtual uint32_t DeleteKey(RegRoot root, const char* path) = 0;
};

}  // namespace os
