// What the actions of the key bindings do. The table's own actions (selection, cursor
// movement, reload) are carried out here; everything that belongs to the application or to
// another subsystem (menu commands, opening, command lines, shell verbs, the context menu, the
// folder browser, pane and frame commands) comes back as an ActionRequest that the
// application carries out.
//
// OnKey is the key handling the application's pre-dispatch runs for WM_KEYDOWN and
// WM_SYSKEYDOWN (the virtual-key code) and for WM_CHAR with codes 1 to 26 (the character code),
// with the modifiers held when the key arrived.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "table/action_numbers.h"
#include "table/key_binding.h"
#include "table/pane_surface.h"
#include "table/selection.h"
#include "table/sorm.h"

namespace table {

// The menu command an action runs (actions 1 to 44 and 139), else 0.
int CommandOfAction(int32_t action);

// What the application does after an action.
struct ActionRequest {
  enum Kind : uint8_t {
    kNone,            // nothing, or done in the table
    kCommand,         // run menu command `command` through the command table
    kRunCommandLine,  // run `argument` as a command line
    kOpenEntry,       // open `entry` (the ".." entry)
    kShellVerb,       // the shell verb `verb` on the pane, then frame to the foreground and
                      // the pane to the top
    kContextMenu,     // ContextMenuAtCursor
    kBrowseFolder,    // browse for a folder with `text` as prompt; on success enter it in the
                      // table (ChangePath, reload, title, change monitor), otherwise show
                      // `failure` in the table's error box
    kSwitchPane,      // in two-pane mode make the other pane the active pane
    kShrinkFrame,
    kRestoreFrame,
  };
  Kind kind = kNone;
  int command = 0;
  std::string argument;
  const char* verb = nullptr;  // "cut", "copy", "paste", "find"
  const char* text = nullptr;
  const char* failure = nullptr;
  BINFO* entry = nullptr;
};

// The keyboard's state of one process.
struct KeyboardState {
  RangeState range;
};

// Carries out action on the active table (null when there is none; the table's actions then
// do nothing). Actions 100 to 102, 127 and 128 do nothing without a cursor entry.
ActionRequest RunAction(Sorm* table, PaneSurface* surface, const KeyboardState& keyboard,
                        int32_t action, const std::string& argument);

struct KeyResult {
  bool consumed = false;  // a binding took the key
  ActionRequest request;
};

// One key: Shift, Ctrl and Alt alone are ignored; with select mode bit 0, Shift and a key other
// than Enter, Insert and Delete begins a range at the cursor (a range under way goes on), a key
// without Shift ends the range unless the cursor stays where it was; the key's binding runs;
// with select mode bit 1, a key without modifiers that moved the cursor clears the selection.
KeyResult OnKey(const KeyBindings& bindings, KeyboardState& keyboard, Sorm* table,
                PaneSurface* surface, uint32_t key, uint8_t modifiers);

// The context menu of action 129 (platform major version 4 or later): the target entry, when
// nothing is selected, is selected for the length of the menu; show(point) shows the menu at
// the centre of its rectangle in client coordinates, clamped to the client area, or at
// (-1, -1) when there is no target; afterwards the entry is deselected again when it was
// selected only for the menu.
void ContextMenuAtCursor(Sorm& t, PaneSurface* surface, ClientSize client,
                         const std::function<void(Point)>& show);

// The point ContextMenuAtCursor shows the menu at for an entry (null: (-1, -1)).
Point MenuPointFor(const Sorm& t, const BINFO* entry, ClientSize client);

}  // namespace table
