#include "exec/open_entries.h"

#include "os/mbcs.h"
#include "os/path_text.h"
#include "os/services.h"
#include "table/selection.h"

namespace exec {
namespace {

constexpr int kFirstWindowOffset = 48;
constexpr int kWindowOffsetStep = 32;

bool IsDirectoryEntry(const table::SM_DAT& d) { return d.ListsAsDirectory(); }

// Opens the selected entries: each directory in a new window, each file by its association.
void OpenSelected(table::Sorm& t, OpenHandler& handler) {
  table::PaneSurface* surface = handler.Surface();
  for (table::BINFO* e : t.Entries()) {
    table::SM_DAT& d = *e->Data();
    if (d.IsSelected())
      d.state |= table::kOpenMark;
    else
      d.state &= static_cast<uint8_t>(~table::kOpenMark);
  }
  table::DeselectAll(t, surface);
  int offset = kFirstWindowOffset;
  // Opening may not change the list (a new window, a started program), but walk a copy: the
  // entries stay owned by the table.
  const std::vector<table::BINFO*> entries = t.Entries();
  for (table::BINFO* e : entries) {
    table::SM_DAT& d = *e->Data();
    if (!(d.state & table::kOpenMark)) continue;
    if (d.IsParentEntry() || d.name == ".") {
      d.state &= static_cast<uint8_t>(~table::kOpenMark);
      continue;
    }
    const std::string path = EntryPath(t, d);
    if (path.empty()) {
      handler.Unreachable(d);
    } else if (IsDirectoryEntry(d)) {
      // The new window starts in the process's current directory.
      if (os::Fs().SetCurrentDir(path.c_str())) {
        handler.OpenNewWindow(offset, offset);
        offset += kWindowOffsetStep;
      }
      os::Fs().SetCurrentDir(t.path().c_str());
    } else {
      handler.OpenFile(t, e, path);
    }
    d.state &= static_cast<uint8_t>(~table::kOpenMark);
  }
  os::Fs().SetCurrentDir(t.path().c_str());
  if (surface) surface->RepaintAll();
}

}  // namespace

table::BINFO* EntryOfNode(const table::Sorm& t, table::BINFO* node) {
  if (!node) return nullptr;
  if (node->kind >= table::kNameLine && node->kind <= table::kAttrLine)
    node = static_cast<table::BINFO*>(node->parent);
  if (!node || node->kind != table::kEntryNode || !t.IsEntry(node)) return nullptr;
  return node;
}

std::string EntryPath(const table::Sorm& t, const table::SM_DAT& d) {
  if (d.link && (d.linkFlags & table::kTargetIsDirectory) && !d.IsDirectory())
    return d.link->target;
  const char* name = d.AddressName();
  if (!name || !*name) return std::string();
  return t.DirectoryString() + name;
}

std::string LastComponent(const std::string& path) {
  std::string p = path;
  // A trailing "\" of a directory path other than a root ("C:\") ends no component.
  while (p.size() > 3 && p.back() == '\\' && !mbcs::IsTrailByteAt(p.c_str(), p.size() - 1))
    p.pop_back();
  return os::FileNamePart(p.c_str());
}

bool EnterEntryDirectory(table::Sorm& t, const table::SM_DAT& d, OpenHandler& handler) {
  const std::string path = EntryPath(t, d);
  if (path.empty()) {
    handler.Unreachable(d);
    return false;
  }
  const std::string left = d.IsParentEntry() ? LastComponent(t.path()) : std::string();
  if (t.ChangePath(path.c_str()) != 0) return false;
  t.SetCursor(nullptr);
  if (t.Reload() == -1) return true;
  if (!left.empty()) {
    // A folder entered by its alias is found again by it.
    if (table::BINFO* e = t.FindEntryByAddressName(left.c_str())) {
      t.SetCursor(e);
      t.SetOrigin(t.listMode() ? table::Point{e->x, 0} : table::Point{0, e->y});
      t.Layout();
    }
  }
  handler.DirectoryEntered(t);
  return true;
}

void OpenEntries(table::Sorm& t, table::BINFO* node, OpenHandler& handler) {
  table::BINFO* entry = EntryOfNode(t, node);
  if (!entry) return;
  table::SM_DAT& d = *entry->Data();
  if (d.name == "." || (d.link && d.link->target == ".")) return;
  if (t.selectedCount() != 0) {
    OpenSelected(t, handler);
    return;
  }
  if (IsDirectoryEntry(d)) {
    EnterEntryDirectory(t, d, handler);
    return;
  }
  const std::string path = EntryPath(t, d);
  if (path.empty()) {
    handler.Unreachable(d);
    return;
  }
  d.state |= table::kOpenMark;
  handler.OpenFile(t, entry, path);
  // The handler may have reloaded the table; touch the entry only while it is still listed.
  for (table::BINFO* e : t.Entries()) {
    if (e == entry) {
      e->Data()->state &= static_cast<uint8_t>(~table::kOpenMark);
      break;
    }
  }
}

std::vector<SelectedFile> SelectedFilesOf(const table::Sorm& t) {
  std::vector<SelectedFile> files;
  for (table::BINFO* e : t.Entries()) {
    const table::SM_DAT& d = *e->Data();
    if (!d.IsSelected()) continue;
    const char* name = d.AddressName();
    if (!name || !*name) continue;
    SelectedFile f;
    f.name = name;
    if (d.link && (d.linkFlags & table::kIsLink)) {
      f.isLink = true;
      f.target = d.link->target;
    }
    files.push_back(std::move(f));
  }
  return files;
}

std::string RunDialogAnswer(const table::Sorm& t) {
  const table::BINFO* e = table::TargetEntry(t);
  if (!e) return std::string();
  const table::SM_DAT& d = *e->Data();
  // A shortcut offers its target as a command line: the path and its arguments.
  if (d.link) return d.link->TargetLine();
  // A look-alike is offered by its alias (its listed name may be a neighbour's); an entry no
  // name reaches offers nothing.
  const char* name = d.AddressName();
  return name ? name : std::string();
}

}  // namespace exec
