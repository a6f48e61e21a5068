#include "fw/lazy_api.h"
#include "app/drive_query_win.h"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

#include "exec/input_text.h"

namespace app {
namespace {

class SystemDrives : public DriveQuery {
 public:
  bool Volume(const char* root, std::string* label, std::string* fileSystem) override {
    char name[MAX_PATH + 1] = {};
    char fs[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationA(root, name, sizeof(name), nullptr, nullptr, nullptr, fs,
                                 sizeof(fs)))
      return false;
    *label = exec::BufferText(name, sizeof(name));
    *fileSystem = exec::BufferText(fs, sizeof(fs));
    return true;
  }

  bool Connection(const char* localName, std::string* remoteName) override {
    DWORD size = MAX_PATH;
    for (int attempt = 0; attempt < 2; ++attempt) {
      std::vector<char> buf(size + 1, '\0');
      DWORD have = size;
      DWORD r = lazy::WNetGetConnectionA(localName, buf.data(), &have);
      if (r == NO_ERROR) {
        *remoteName = exec::BufferText(buf.data(), buf.size());
        return true;
      }
      if (r != ERROR_MORE_DATA || have <= size) return false;
      size = have;  // a longer share name: once more with the size it needs
    }
    return false;
  }
};

}  // namespace

DriveQuery& SystemDriveQuery() {
  static SystemDrives volumes;
  return volumes;
}

}  // namespace app
