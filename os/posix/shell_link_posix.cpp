// Without a shell there is no link object: every shortcut is unreadable and none can be made,
// as when CoCreateInstance(CLSID_ShellLink) fails. Shortcut behaviour is exercised under Wine.
#include "os/last_error.h"
#include "os/shell_link.h"

namespace os {
namespace {

class PosixShellLinks final : public ShellLinks {
 public:
  bool Read(const char*, ShellLinkData& out) override {
    out = ShellLinkData();
    SetLastError(kErrInvalidParameter);
    return false;
  }
  bool Write(const char*, const ShellLinkFields&) override {
    SetLastError(kErrInvalidParameter);
    return false;
  }
};

}  // namespace

ShellLinks& BackendShellLinks() {
  static PosixShellLinks links;
  return links;
}

}  // namespace os
