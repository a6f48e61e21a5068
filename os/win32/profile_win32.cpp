#include <windows.h>

#include "os/win32/win32_backend.h"

namespace os::win32 {
namespace {

class Win32ProfileImpl final : public Profile {
 public:
  uint32_t GetString(const char* section, const char* key, const char* def, char* buf,
                     uint32_t size, const char* file) override {
    return ::GetPrivateProfileStringA(section, key, def, buf, size, file);
  }
  uint32_t GetInt(const char* section, const char* key, int32_t def, const char* file) override {
    return ::GetPrivateProfileIntA(section, key, def, file);
  }
  bool WriteString(const char* section, const char* key, const char* value,
                   const char* file) override {
    return ::WritePrivateProfileStringA(section, key, value, file) != FALSE;
  }
  bool WriteSection(const char* section, const char* lines, const char* file) override {
    return ::WritePrivateProfileSectionA(section, lines, file) != FALSE;
  }
  uint32_t GetWinIniString(const char* section, const char* key, const char* def, char* buf,
                           uint32_t size) override {
    return ::GetProfileStringA(section, key, def, buf, size);
  }
  bool WriteWinIniString(const char* section, const char* key, const char* value) override {
    return ::WriteProfileStringA(section, key, value) != FALSE;
  }
};

}  // namespace

Profile& Win32Profile() {
  static Win32ProfileImpl p;
  return p;
}

}  // namespace os::win32
