#include "table/key_actions.h"

#include <algorithm>

#include "resources/commands.h"
#include "table/cursor_move.h"

namespace table {
namespace {

// Menu commands of actions 1 to 44, by action.
constexpr int kActionCommands[kActionLastCommand + 1] = {
    0,
    CMD_FOPEN,       CMD_FMOVE,      CMD_FCOPY,      CMD_FDELETE,    CMD_FDUPLICATE,
    CMD_FPROPERTY,   CMD_FMAKEDIR,   CMD_FLINK_EXT,  CMD_FLINK_NAME, CMD_FLINK_FULL,
    CMD_FMARKALL,    CMD_FUNMARKALL, CMD_FWINOPEN,   CMD_FEXIT,      CMD_FQUIT,
    CMD_DKEYIN,      CMD_DNETADD,    CMD_DNETCANCEL, CMD_MKEYIN,     CMD_VICON,
    CMD_VLIST,       CMD_VDATA,      CMD_VSPACING,   CMD_VSNAME,     CMD_VSEXT,
    CMD_VSNEW,       CMD_VSOLD,      CMD_VSLARGE,    CMD_VSSMALL,    CMD_VCOLOR,
    CMD_VFONT,       CMD_RKEYIN,     CMD_RREGIST,    CMD_OSAVEDEFAULT, CMD_CLICKSCROLL,
    CMD_HIDEMENU,    CMD_VBAR,       CMD_BEDIT,      CMD_MEDIT,      CMD_REDIT,
    CMD_CONFIGPATH,  CMD_HCONTENTS,  CMD_HHELPONHELP, CMD_ABOUT,
};

constexpr const char kBrowsePrompt[] = "カレントパスを変更します。フォルダを選択して下さい";
constexpr const char kBrowseFailure[] = "カレントパスを変更できません。";

ActionRequest Command(int command) {
  ActionRequest r;
  r.kind = ActionRequest::kCommand;
  r.command = command;
  return r;
}

ActionRequest Kind(ActionRequest::Kind kind) {
  ActionRequest r;
  r.kind = kind;
  return r;
}

ActionRequest Verb(const char* verb) {
  ActionRequest r = Kind(ActionRequest::kShellVerb);
  r.verb = verb;
  return r;
}

ActionRequest CommandLine(const std::string& argument) {
  if (argument.empty()) return ActionRequest();
  ActionRequest r = Kind(ActionRequest::kRunCommandLine);
  r.argument = argument;
  return r;
}

// The ".." entry of a table, or null.
BINFO* ParentEntry(const Sorm& t) {
  for (BINFO* e : t.Entries()) {
    if (e->Data()->IsParentEntry()) return e;
    // ".." sorts first; after the first directory it can no longer come.
    if (!e->Data()->ListsAsDirectory() && e->Data()->name != ".") break;
  }
  return nullptr;
}

// The table's actions that need a cursor entry.
void CursorAction(Sorm& t, PaneSurface* surface, const KeyboardState& keyboard, int32_t action) {
  if (!t.HasCursor()) return;
  BINFO* c = t.cursor();
  switch (action) {
    case kActionToggle:
      Toggle(t, c, surface);
      break;
    case kActionSelect:
      Select(t, c, surface);
      break;
    case kActionDeselect:
      Deselect(t, c, surface);
      break;
    case kActionToggleAndNext:
      Toggle(t, c, surface);
      MoveCursor(t, 13, keyboard.range, surface);
      break;
    case kActionBackAndDeselect:
      MoveCursor(t, 12, keyboard.range, surface);
      Deselect(t, t.cursor(), surface);
      break;
    default:
      break;
  }
}

}  // namespace

int CommandOfAction(int32_t action) {
  if (action >= kActionFirstCommand && action <= kActionLastCommand) return kActionCommands[action];
  if (action == kActionTwoPane) return CMD_TWOPANE;
  return 0;
}

ActionRequest RunAction(Sorm* table, PaneSurface* surface, const KeyboardState& keyboard,
                        int32_t action, const std::string& argument) {
  switch (action) {
    case kActionRunCommandLine:
      return CommandLine(argument);
    case kActionSelectAll:
      if (table) SelectAll(*table, surface);
      return ActionRequest();
    case kActionDeselectAll:
      if (table) DeselectAll(*table, surface);
      return ActionRequest();
    case kActionToggle:
    case kActionSelect:
    case kActionDeselect:
    case kActionToggleAndNext:
    case kActionBackAndDeselect:
      if (table) CursorAction(*table, surface, keyboard, action);
      return ActionRequest();
    case kActionContextMenu:
      return Kind(ActionRequest::kContextMenu);
    case kActionParentDirectory: {
      if (!table) return ActionRequest();
      DeselectAll(*table, surface);
      BINFO* parent = ParentEntry(*table);
      if (!parent) return ActionRequest();
      ActionRequest r = Kind(ActionRequest::kOpenEntry);
      r.entry = parent;
      return r;
    }
    case kActionReload:
      if (table) {
        table->Reload();
        table->TitleText();
      }
      return ActionRequest();
    case kActionVerbCut:
      return Verb("cut");
    case kActionVerbCopy:
      return Verb("copy");
    case kActionVerbPaste:
      return Verb("paste");
    case kActionVerbFind:
      return Verb("find");
    case kActionRunWithCursor:
      if (table && table->selectedCount() == 0 && table->HasCursor())
        Select(*table, table->cursor(), surface);
      return CommandLine(argument);
    case kActionBrowseFolder: {
      ActionRequest r = Kind(ActionRequest::kBrowseFolder);
      r.text = kBrowsePrompt;
      r.failure = kBrowseFailure;
      return r;
    }
    case kActionSwitchPane:
      return Kind(ActionRequest::kSwitchPane);
    case kActionShrinkFrame:
      return Kind(ActionRequest::kShrinkFrame);
    case kActionRestoreFrame:
      return Kind(ActionRequest::kRestoreFrame);
    default:
      break;
  }
  if (action >= kActionFirstMove && action <= kActionLastMove) {
    if (table) MoveCursor(*table, action - kActionFirstMove, keyboard.range, surface);
    return ActionRequest();
  }
  if (int command = CommandOfAction(action)) return Command(command);
  return ActionRequest();
}

KeyResult OnKey(const KeyBindings& bindings, KeyboardState& keyboard, Sorm* table,
                PaneSurface* surface, uint32_t key, uint8_t modifiers) {
  KeyResult result;
  if (key == kKeyShift || key == kKeyControl || key == kKeyAlt) return result;
  modifiers &= kModifierMask;
  const bool shift = (modifiers & kModShift) != 0;
  const bool ranges = (bindings.selectMode() & kSelectModeRange) != 0;
  const BINFO* before = table && table->HasCursor() ? table->cursor() : nullptr;

  RangeState& range = keyboard.range;
  RangeState saved = range;
  if (ranges && table) {
    if (shift) {
      const bool commandKey = key == kKeyEnter || key == kKeyInsert || key == kKeyDelete;
      // A range belongs to its table; Enter, Insert and Delete with Shift begin none.
      if (!range.ActiveIn(*table) && !commandKey) range.Begin(*table);
    } else {
      range.Clear();
    }
  }

  if (const KeyBind* b = bindings.Find(key, modifiers)) {
    result.consumed = true;
    result.request = RunAction(table, surface, keyboard, b->action, b->argument);
  }

  // The action may have reloaded the list: compare entries only through the table.
  const BINFO* after = table && table->HasCursor() ? table->cursor() : nullptr;
  const bool moved = before != after;
  if (ranges && !shift && !moved) range = saved;
  if ((bindings.selectMode() & kSelectModeClearOnMove) && modifiers == 0 && moved && table)
    DeselectAll(*table, surface);
  return result;
}

Point MenuPointFor(const Sorm& t, const BINFO* entry, ClientSize client) {
  if (!t.IsEntry(entry)) return Point{-1, -1};
  const Point o = t.origin();
  int64_t x = static_cast<int64_t>(entry->x) + entry->width / 2 - o.x;
  int64_t y = static_cast<int64_t>(entry->y) + entry->height / 2 - o.y;
  x = std::clamp<int64_t>(x, 0, std::max<int32_t>(client.width - 1, 0));
  y = std::clamp<int64_t>(y, 0, std::max<int32_t>(client.height - 1, 0));
  return Point{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

void ContextMenuAtCursor(Sorm& t, PaneSurface* surface, ClientSize client,
                         const std::function<void(Point)>& show) {
  BINFO* target = TargetEntry(t);
  const bool selectedForMenu = target && t.selectedCount() == 0 && Select(t, target, surface);
  const int32_t index = target ? target->index : 0;
  const std::string name = target ? target->Data()->name : std::string();
  show(MenuPointFor(t, target, client));
  if (!selectedForMenu) return;
  // The menu's command may have rescanned the table and freed the entry: it is found again by
  // its index and name, never through the old pointer.
  BINFO* again = t.EntryAt(index);
  if (again && again == target && again->Data()->name == name) Deselect(t, again, surface);
}

}  // namespace table
