#include "fileops/attribute_change.h"

#include <utility>

#include "os/services.h"

namespace fileops {
namespace {

// The directory and reparse-point bits are the file system's to keep, not ours to set.
uint32_t Settable(uint32_t attributes) {
  return attributes & ~static_cast<uint32_t>(os::kAttrDirectory | os::kAttrReparsePoint);
}

}  // namespace

AttributeChange::AttributeChange(std::string path, uint32_t original)
    : path_(std::move(path)), original_(original) {
  cleared_ = os::Fs().SetAttributes(path_.c_str(), 0);
}

AttributeChange::AttributeChange(AttributeChange&& other) noexcept
    : path_(std::move(other.path_)),
      original_(other.original_),
      cleared_(other.cleared_),
      finished_(other.finished_) {
  other.finished_ = true;
}

AttributeChange::~AttributeChange() {
  if (!finished_) Restore();
}

bool AttributeChange::Finish(uint32_t attributes) {
  finished_ = true;
  if (os::Fs().SetAttributes(path_.c_str(), Settable(attributes))) return true;
  Restore();
  return false;
}

void AttributeChange::Restore() {
  const uint32_t now = os::Fs().GetAttributes(path_.c_str());
  if (now == os::kInvalidAttributes || Settable(now) == Settable(original_)) return;
  os::Fs().SetAttributes(path_.c_str(), Settable(original_));
}

}  // namespace fileops
