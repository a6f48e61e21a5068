#include "exec/context_menu_rules.h"

#include "os/path_text.h"
#include "os/services.h"
#include "resources/commands.h"

namespace exec {
namespace {

constexpr ViewMenuItem kViewItems[] = {
    {0x7000, CMD_VICON}, {0x7001, CMD_VLIST}, {0x7002, CMD_VDATA}, {0x7003, CMD_VSPACING},
    {0x7004, CMD_VSNAME}, {0x7005, CMD_VSEXT}, {0x7006, CMD_VSNEW}, {0x7007, CMD_VSOLD},
    {0x7008, CMD_VSLARGE}, {0x7009, CMD_VSSMALL}, {0x700A, CMD_VCOLOR}, {0x700B, CMD_VFONT},
};
constexpr int kShellCommandKeepingSelection = 20;

}  // namespace

std::span<const ViewMenuItem> ViewModeItems() { return std::span(kViewItems).subspan(0, 4); }
std::span<const ViewMenuItem> SortItems() { return std::span(kViewItems).subspan(4, 6); }
std::span<const ViewMenuItem> AppearanceItems() { return std::span(kViewItems).subspan(10, 2); }

int MainCommandOfViewCommand(int number) {
  if (number < kFirstViewCommand || number > kLastViewCommand) return 0;
  return kViewItems[number - kFirstViewCommand].mainCommand;
}

bool IsSendToCaption(const char* caption) {
  return caption && (os::Sys().CompareNoCase(caption, "送る(&N)") == 0 ||
                     os::Sys().CompareNoCase(caption, "&Send To") == 0);
}

bool ClearsSelectionAfter(int chosen) {
  return chosen != 0 && chosen != kShellCommandKeepingSelection;
}

bool VerbActsOnFolder(const char* verb) {
  return os::Sys().CompareNoCase(verb, "find") == 0 ||
         os::Sys().CompareNoCase(verb, "paste") == 0;
}

std::optional<std::vector<std::string>> SelectedItemNames(const table::Sorm& t) {
  std::vector<std::string> names;
  for (const table::BINFO* e : t.Entries()) {
    const table::SM_DAT& d = *e->Data();
    if (!d.IsSelected()) continue;
    const char* name = d.AddressName();
    if (!name || !*name) return std::nullopt;
    names.emplace_back(name);
  }
  if (names.empty()) return std::nullopt;
  return names;
}

FolderAsItem FolderAsItemOf(const std::string& path) {
  FolderAsItem r;
  const char* name = os::FileNamePart(path.c_str());
  if (!*name) {
    // A drive root (or a path that ends in a separator): the whole path in My Computer.
    r.inMyComputer = true;
    r.item = path;
    return r;
  }
  std::string parent(path.c_str(), name);
  // The name begins after a separator: "C:\" keeps it, "C:\a\" loses it.
  const bool driveRoot = parent.size() == 3 && parent[1] == ':';
  if (parent.size() > 1 && parent.back() == '\\' && !driveRoot) parent.pop_back();
  r.parent = parent;
  r.item = name;
  return r;
}

}  // namespace exec
