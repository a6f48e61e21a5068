#include "os/services.h"

namespace os {

Services& Current() {
  static Services inForce = BackendServices();
  return inForce;
}

ScopedServices::ScopedServices(const Services& replacement) : saved_(Current()) {
  Services& cur = Current();
  if (replacement.fs) cur.fs = replacement.fs;
  if (replacement.profile) cur.profile = replacement.profile;
  if (replacement.registry) cur.registry = replacement.registry;
  if (replacement.system) cur.system = replacement.system;
  if (replacement.shellLinks) cur.shellLinks = replacement.shellLinks;
  if (replacement.helpViewer) cur.helpViewer = replacement.helpViewer;
}

ScopedServices::~ScopedServices() { Current() = saved_; }

}  // namespace os
