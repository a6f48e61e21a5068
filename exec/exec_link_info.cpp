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

// Printable ASCII without a double quote.
bool IsPlainAscii(const char* s) {
  for (; *s; ++s)
    if (*s < 0x20 || *s > 0x7E || *s == '"') return false;
  return true;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

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

bool SameFileNameEqual(const char* a, const char* b) {
  // The quick answer for plain texts, which is lstrcmpiA's (SameFileNameTest checks that on
  // this system's collation); a lookup compares each name with every key of a list.
  if (IsPlainAscii(a) && IsPlainAscii(b)) {
    for (; *a && *b; ++a, ++b)
      if (FoldAscii(*a) != FoldAscii(*b)) return false;
    return *a == *b;
  }
  return SameFileName(a, b) == 0;
}

std::string CutAtCaret(const char* text) {
  const char* caret = mbcs::FindChar(text, '^');
  return caret ? std::string(text, caret) : std::string(text);
}

ExecLinkInfo* AssociationList::Find(const char* key) const {
  for (const auto& item : items_) {
    if (SameFileNameEqual(item->key.c_str(), key)) return item.get();
  }
  return nullptr;
}

ExecLinkInfo* AssociationList::FindAndMoveToFront(const char* key) {
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (SameFileNameEqual((*it)->key.c_str(), key)) {
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
