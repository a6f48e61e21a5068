// The decisions of the shell's context menu and verbs that need no shell: the view submenu's
// command numbers, which items go, which entries the shell object stands for, and where the
// current directory is found as an item of its parent folder.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "table/sorm.h"

namespace exec {

// Command numbers inside the menu: the shell's are 1 to 0x6FFF, the window's view commands
// 0x7000 to 0x700B.
constexpr int kFirstShellCommand = 1;
constexpr int kLastShellCommand = 0x7FFF;
constexpr int kFirstViewCommand = 0x7000;
constexpr int kLastViewCommand = 0x700B;

// One item of the view submenu: its number in the menu and the main-menu command whose caption
// it shows and whose handler it runs.
struct ViewMenuItem {
  int number;
  int mainCommand;
};
// The "表示(&V)" group (icons, list, display data, spacing), the "表示順(&S)" group (by name,
// extension, newest, oldest, largest, smallest) and the colour and font items, in menu order.
std::span<const ViewMenuItem> ViewModeItems();
std::span<const ViewMenuItem> SortItems();
std::span<const ViewMenuItem> AppearanceItems();
// The main-menu command of a view command number; 0 for any other number.
int MainCommandOfViewCommand(int number);
// Captions copied from the main menu hold at most this many bytes with the terminator.
constexpr int kCaptionBuffer = 128;

// The shell's "Send To" item, which the menu never shows ("送る(&N)" or "&Send To", any case).
bool IsSendToCaption(const char* caption);

// After a chosen command the selection is cleared, except after shell command 20.
bool ClearsSelectionAfter(int chosen);

// Verbs that act on the current directory itself, not on the selection: "find" and "paste".
bool VerbActsOnFolder(const char* verb);

// The names the shell parses in the table's directory for the selected entries, in list order
// (each entry's address name: its alias where the long name does not lead back to it). None
// when a selected entry has no name that reaches it, or when nothing is selected.
std::optional<std::vector<std::string>> SelectedItemNames(const table::Sorm& t);

// The current directory as an item of its parent: C:\WINDOWS is "WINDOWS" in "C:\"; a drive
// root such as D:\ is the item "D:\" of My Computer.
struct FolderAsItem {
  bool inMyComputer = false;
  std::string parent;  // empty when inMyComputer
  std::string item;
};
FolderAsItem FolderAsItemOf(const std::string& path);

}  // namespace exec
