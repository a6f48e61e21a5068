#include "exec/exec_link_info.h"

#include "os/mbcs.h"
#include "os/services.h"
#include "table/sm_dat.h"

namespace exec {
namespace {

// The text with one leading double quote skipped, up to the next double quote.
std::string WithoutQuotes(const char* text) {
  const char* start = *text == '"' ? text + 1 : text;
  const char* close = mbcs::FindChar(start, '"');
  return close ? std::string(start, close) : std::string(start);
}

}  // namespace

ExecLinkInfo::~ExecLinkInfo() {
  if (!ownsIcons) return;
  table::DestroyIconHandle(largeIcon);
  table::DestroyIconHandle(smallIcon);
}

int SameFileName(const char* a, const char* b) {
  int r = os::Sys().CompareNoCase(a, b);
  if (r == 0) return 0;
  return os::Sys().CompareNoCase(WithoutQuotes(a).c_str(), WithoutQuotes(b).c_str());
}

std::string CutAtCaret(const char* text) {
  const char* caret = mbcs::FindChar(text, '^');
  return caret ? std::string(text, caret) : std::string(text);
}

ExecLinkInfo* AssociationList::Find(const char* key) const {
  for (const auto& item : items_) {
    if (SameFileName(item->key.c_str(), key) == 0) return item.get();
  }
  return nullptr;
}

ExecLinkInfo* AssociationList::FindAndMoveToFront(const char* key) {
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (SameFileName((*it)->key.c_str(), key) == 0) {
      items_.splice(items_.begin(), items_, it);  // the record itself does not move
      return items_.front().get();
    }
  }
  return nullptr;
}

ExecLinkInfo& AssociationList::Append(std::unique_ptr<ExecLinkInfo> record) {
  items_.push_back(std::move(record));
  return *items_.back();
}

ExecLinkInfo& AssociationList::Append(std::string key, std::string command) {
  return Append(std::make_unique<ExecLinkInfo>(std::move(key), std::move(command)));
}

AssociationList& Associations::List(AssociationKind kind) {
  switch (kind) {
    case AssociationKind::kByName: return names;
    case AssociationKind::kByFullName: return fullNames;
    case AssociationKind::kByExtension: break;
  }
  return extensions;
}

const AssociationList& Associations::List(AssociationKind kind) const {
  return const_cast<Associations*>(this)->List(kind);
}

}  // namespace exec
