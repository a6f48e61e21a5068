#include "exec/association_dialog_win.h"

#include <cstdio>
#include <string>
#include <vector>

#include "config/program_context.h"
#include "exec/ask_input_win.h"
#include "exec/association_edit.h"
#include "exec/association_registry.h"
#include "exec/table_associations.h"
#include "fw/lazy_api.h"
#include "os/path_text.h"
#include "table/icon_cache.h"
#include "table/selection.h"

namespace exec {
namespace {
constexpr UINT kBroadcastTimeoutMs = 5000;
}  // namespace

void AnnounceAssociationChange() {
  using Fn = void(WINAPI*)(LONG, UINT, LPCVOID, LPCVOID);
  static const Fn notify = reinterpret_cast<Fn>(lazy::Proc("shell32.dll", "SHChangeNotify"));
  if (notify) notify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
  DWORD_PTR unused = 0;
  ::SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0,
                        reinterpret_cast<LPARAM>("Extensions"), SMTO_ABORTIFHUNG,
                        kBroadcastTimeoutMs, &unused);
}


void EditAssociation(HWND owner, table::Sorm& t, AssociationKind kind, table::TableView& view) {
  table::BINFO* target = table::TargetEntry(t);
  if (!target) return;
  // A link file or shortcut is associated by the name it points to, a look-alike by its alias
  // (the name its look-ups use); the caller refuses an entry no name reaches.
  const std::string name = AssociationNameOf(*target->Data());
  if (name.empty()) return;
  std::string key;
  if (!AssociationKeyFor(name.c_str(), kind, key)) {
    std::vector<char> text(std::string(kNoExtensionText).size() + name.size() + 1, '\0');
    std::snprintf(text.data(), text.size(), kNoExtensionText, name.c_str());
    view.ErrorBox(text.data());
    return;
  }
  const FileTypeList types = RegisteredFileTypes();
  std::string answer;
  {
    const AssociationsLock hold(t.lock());
    Associations& lists = TableAssociations(t);
    if (kind == AssociationKind::kByExtension) EnsureExtensionRecord(lists, key);
    answer = InitialAnswer(lists, types, key, kind);
  }
  std::vector<std::string> choices;
  for (const auto& type : types) choices.push_back(type->description);
  AskOptions options;
  options.prompt = key.c_str();
  options.capacity = static_cast<int>(types.size()) + 1;
  options.choices = &choices;
  const std::string first = answer;
  if (!AskInput(owner, InputQuestion::kAssociation, answer, options)) return;
  // OK on the answer as it was offered changes nothing: storing it again could move the
  // extension from its registered file type to a bare command taken from WIN.INI.
  if (answer == first) return;
  const StoredAnswer stored = StoreAssociationAnswer(config::Context().configFilePath, key, kind,
                                                     answer.c_str(), types);
  if (!stored.announce) return;
  {
    // The entry's cached icons are its old association's (a shortcut's are cached under its
    // path, which the reload that follows keeps): it gives them back.
    const AssociationsLock hold(t.lock());
    if (t.IsEntry(target) && (target->Data()->iconFlags & table::kFromCache))
      table::IconCache::InvalidateCached(*target->Data());
  }
  AnnounceAssociationChange();
}

}  // namespace exec
