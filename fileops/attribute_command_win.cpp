// The name, date and attribute change: the one-entry form on the target entry, the
// several-entries form on the selection. Every step that fails is reported and the others
// still run.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fileops/attribute_change.h"
#include "fileops/attribute_dialogs_win.h"
#include "fileops/attribute_fields.h"
#include "fileops/command_support_win.h"
#include "fileops/date_time_parse.h"
#include "fileops/file_commands_win.h"
#include "fileops/full_path.h"
#include "fileops/link_create.h"
#include "links/link_file.h"
#include "frame/winfo_win.h"
#include "os/services.h"
#include "table/selection.h"
#include "table/size_text.h"

namespace fileops {
namespace {

constexpr const char* kMsgAttributes = "属性を変更することができません";
constexpr const char* kMsgOpenForDate = "日時を変更することができません";
constexpr const char* kMsgSetDate = "日時を設定することができません";
constexpr const char* kMsgLinkTarget = "リンク先を変更することができません";
constexpr const char* kMsgLinkCurrent = "実行時ディレクトリを変更することができません";
constexpr const char* kMsgLinkTitle = "名称を変更することができません";
constexpr const char* kMsgRename = "ﾌｧｲﾙ名を変更することができません";
constexpr const char* kMsgSomeDates = "日時を設定することができないファイルがありました";
constexpr const char* kMsgSomeAttributes = "属性を変更することができないファイルがありました";

constexpr uint32_t kBoxBits = 0x01 | 0x02 | 0x04 | 0x20;

// Opens name for reading and writing (directories too) and sets its last-write time from a
// packed local date and time. 0, -1 the open failed, -2 the time could not be set.
int SetDosDateTime(const char* name, uint16_t date, uint16_t time) {
  std::unique_ptr<os::File> file = os::Fs().OpenForTimes(name);
  if (!file) return -1;
  os::FileTime utc = 0;
  if (!DosDateTimeToUtc(date, time, os::Sys().TimeZoneBiasMinutes(), utc) ||
      !file->SetTimes(nullptr, nullptr, &utc))
    return -2;
  return 0;
}

void ChangeOne(WINFO& pane, table::Sorm& t, table::BINFO* entry) {
  const table::SM_DAT& d = *entry->Data();
  const bool linkFile = (d.linkFlags & table::kIsLink) && !(d.linkFlags & table::kIsShortcut);
  AttributeDialog dialog;
  dialog.name = d.DisplayName();
  dialog.size = table::SizeText(static_cast<double>(d.size));
  dialog.date = FormatDialogDate(d.date);
  dialog.time = FormatDialogTime(d.time);
  dialog.attributes = d.attributes;
  dialog.linkFile = linkFile;
  const char* name = CommandName(pane, d);
  if (!name) return;
  // Full paths: the dialog pumps messages, and the other pane may be activated meanwhile.
  const std::string file = t.DirectoryString() + name;
  if (linkFile) {
    dialog.target = d.Target();
    links::ReadLinkWorkingDirectory(file.c_str(), dialog.current);
  }
  if (dialog.DoModal(pane.Handle()) != IDOK) return;

  // Put back as they were when a step below cannot finish the change.
  AttributeChange change(file, d.attributes);
  if (!change.Cleared()) ShowMessage(pane, kMsgAttributes);
  if (!dialog.date.empty() && !dialog.time.empty()) {
    const DateTimeFields fields = ParseDateTimeFields(dialog.date.c_str(), dialog.time.c_str());
    if (fields.message) {
      ShowMessage(pane, fields.message);
    } else if (fields.present && (fields.date != d.date || fields.time != d.time)) {
      const int r = SetDosDateTime(file.c_str(), fields.date, fields.time);
      if (r == -1) ShowMessage(pane, kMsgOpenForDate);
      if (r == -2) ShowMessage(pane, kMsgSetDate);
    }
  }
  if (linkFile) {
    if (AttributeFieldChanged(d.Target(), dialog.target) && WriteLinkTarget(file.c_str(), dialog.target.c_str()) != 0)
      ShowMessage(pane, kMsgLinkTarget);
    std::string current;
    links::ReadLinkWorkingDirectory(file.c_str(), current);
    if (AttributeFieldChanged(current, dialog.current) &&
        WriteLinkWorkingDirectory(file.c_str(), dialog.current.c_str()) != 0)
      ShowMessage(pane, kMsgLinkCurrent);
  }
  if (!change.Finish((d.attributes & ~kBoxBits) | (dialog.attributes & kBoxBits)))
    ShowMessage(pane, kMsgAttributes);
  if (AttributeFieldChanged(d.DisplayName(), dialog.name)) {
    if (linkFile) {
      if (WriteLinkTitle(file.c_str(), dialog.name.c_str()) != 0) ShowMessage(pane, kMsgLinkTitle);
    } else if (os::Fs().IsFileLink(file.c_str())) {
      // Renaming a link to a file would rename the file it leads to.
      ShowMessage(pane, FileLinkMessage(file.c_str()).c_str());
    } else if (dialog.name.empty() ||
               !os::Fs().MoveFile(file.c_str(), FullPathIn(t.path(), dialog.name).c_str())) {
      ShowMessage(pane, kMsgRename);
    }
  }
  ReloadKeepingPosition(pane);
}

void ChangeMany(WINFO& pane, table::Sorm& t, const std::vector<table::BINFO*>& entries) {
  AttributeManyDialog dialog;
  dialog.count = static_cast<long>(entries.size());
  for (int i = 0; i < 4; ++i) {
    std::size_t with = 0;
    for (table::BINFO* e : entries)
      if (e->Data()->attributes & kAttributeBoxes[i].bit) ++with;
    dialog.state[i] = with == entries.size() ? BST_CHECKED
                      : with == 0            ? BST_UNCHECKED
                                             : BST_INDETERMINATE;
  }
  if (dialog.DoModal(pane.Handle()) != IDOK) return;
  // Every entry is changed through the name that reaches it; one without such a name is left.
  std::vector<std::pair<table::BINFO*, std::string>> targets;
  for (table::BINFO* e : entries)
    if (const char* name = CommandName(pane, *e->Data()))
      targets.emplace_back(e, t.DirectoryString() + name);

  // Each entry's attributes are put back as they were when its change cannot be finished.
  std::vector<AttributeChange> changes;
  changes.reserve(targets.size());
  bool failed = false;
  for (const auto& [e, file] : targets) {
    changes.emplace_back(file, e->Data()->attributes);
    if (!changes.back().Cleared()) failed = true;
  }
  if (failed) ShowMessage(pane, kMsgSomeAttributes);

  if (!dialog.date.empty() && !dialog.time.empty()) {
    const DateTimeFields fields = ParseDateTimeFields(dialog.date.c_str(), dialog.time.c_str());
    if (fields.message) {
      ShowMessage(pane, fields.message);
    } else if (fields.present) {
      bool dateFailed = false;
      for (const auto& [e, file] : targets)
        if (SetDosDateTime(file.c_str(), fields.date, fields.time) != 0) dateFailed = true;
      if (dateFailed) ShowMessage(pane, kMsgSomeDates);
    }
  }

  failed = false;
  for (std::size_t k = 0; k < targets.size(); ++k) {
    uint32_t attributes = targets[k].first->Data()->attributes;
    for (int i = 0; i < 4; ++i) {
      if (dialog.state[i] == BST_CHECKED) attributes |= kAttributeBoxes[i].bit;
      if (dialog.state[i] == BST_UNCHECKED) attributes &= ~kAttributeBoxes[i].bit;
    }
    if (!changes[k].Finish(attributes)) failed = true;
  }
  if (failed) ShowMessage(pane, kMsgSomeAttributes);
  ReloadKeepingPosition(pane);
}

}  // namespace

void ChangeAttributesCommand(WINFO& pane) {
  table::Sorm* t = pane.Table();
  if (!t) return;
  std::vector<table::BINFO*> selected = SelectedEntries(*t);
  std::erase_if(selected, [](table::BINFO* e) { return !table::IsSelectable(*e->Data()); });
  if (selected.size() >= 2) {
    ChangeMany(pane, *t, selected);
    return;
  }
  if (table::BINFO* target = table::TargetEntry(*t)) ChangeOne(pane, *t, target);
}

}  // namespace fileops
