// The process's OS backend. The program uses os::Fs(), os::Ini(), ... everywhere; tests put a
// fault-injecting or recording decorator in place with ScopedServices.
#pragma once
#include "os/filesystem.h"
#include "os/help_viewer.h"
#include "os/profile.h"
#include "os/registry.h"
#include "os/shell_link.h"
#include "os/system.h"

namespace os {

struct Services {
  FileSystem* fs = nullptr;
  Profile* profile = nullptr;
  Registry* registry = nullptr;
  System* system = nullptr;
  ShellLinks* shellLinks = nullptr;
  HelpViewer* helpViewer = nullptr;
};

// The backend's own services (win32 or posix, chosen at link time).
Services& BackendServices();
// The services in force (the backend's unless a ScopedServices replaced some).
Services& Current();

inline FileSystem& Fs() { return *Current().fs; }
inline Profile& Ini() { return *Current().profile; }
inline Registry& Reg() { return *Current().registry; }
inline System& Sys() { return *Current().system; }
inline ShellLinks& Links() { return *Current().shellLinks; }
inline HelpViewer& Help() { return *Current().helpViewer; }

// Replaces the services in force for its lifetime; null members keep the current ones.
class ScopedServices {
 public:
  explicit ScopedServices(const Services& replacement);
  ~ScopedServices();
  ScopedServices(const ScopedServices&) = delete;
  ScopedServices& operator=(const ScopedServices&) = delete;

 private:
  Services saved_;
};

}  // namespace os
