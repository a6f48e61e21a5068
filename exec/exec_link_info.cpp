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

// The text folded to lower case when it is plain, for the quick comparison.
bool FoldPlain(const char* text, std::string& folded) {
  if (!IsPlainAscii(text)) return false;
  folded.assign(text);
  for (char& c : folded) c = FoldAscii(c);
  return true;
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

AssociationList::Items::const_iterator AssociationList::FindItem(const char* key) const {
  if (items_.empty()) return items_.end();
  std::string folded;
  const bool plain = FoldPlain(key, folded);
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    const ExecLinkInfo& r = **it;
    if (plain && r.plainKey ? r.foldedKey == folded : SameFileName(r.key.c_str(), key) == 0)
      return it;
  }
  return items_.end();
}

ExecLinkInfo* AssociationList::Find(const char* key) const {
  const auto it = FindItem(key);
  return it == items_.end() ? nullptr : it->get();
}

ExecLinkInfo* AssociationList::FindAndMoveToFront(const char* key) {
  const auto it = FindItem(key);
  if (it == items_.end()) return nullptr;
  items_.splice(items_.begin(), items_, it);  // the record itself does not move
  return items_.front().get();
}

ExecLinkInfo& AssociationList::Append(std::unique_ptr<ExecLinkInfo> record) {
  record->plainKey = FoldPlain(record->key.c_str(), record->foldedKey);
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
