// The emulation has no shell: no file has an icon of its own, and the loader falls back to the
// program's built-in icons.
#include "os/shell_icons.h"

namespace os {
namespace {

class NoShellIcons : public ShellIcons {
 public:
  bool FileIcons(const std::string&, void** large, void** small) override {
    *large = *small = nullptr;
    return false;
  }
  void* ExtractIcon(const std::string&) override { return nullptr; }
  std::string SearchPath(const std::string&) override { return std::string(); }
};

}  // namespace

ShellIcons& SystemShellIcons() {
  static NoShellIcons icons;
  return icons;
}

}  // namespace os
