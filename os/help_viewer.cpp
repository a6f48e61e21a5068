#include "os/help_viewer.h"

namespace os {
namespace {

HelpViewer*& InForce() {
  static HelpViewer* viewer = &BackendHelpViewer();
  return viewer;
}

}  // namespace

HelpViewer& Help() { return *InForce(); }

ScopedHelpViewer::ScopedHelpViewer(HelpViewer& replacement) : saved_(InForce()) {
  InForce() = &replacement;
}

ScopedHelpViewer::~ScopedHelpViewer() { InForce() = saved_; }

}  // namespace os
