// Key bindings: which action a key runs, read from the key-binding file ("explorer.cfg" beside
// the configuration file unless the configuration names another in [Keybind] File).
//
// The file is INI text. [Keybind] holds the keys "0", "1", "2", ... (read in that order until
// the first that is missing or empty), each "key code;modifiers;action[;argument]": decimal
// numbers, fields separated by ";" (a run of ";" counts as one), the argument ending at the next
// ";". [SelectMode] Mode holds the select mode. A later binding of the same key and modifiers
// replaces an earlier one. Before the file is read, Tab without modifiers switches panes.
//
// A value is skipped (and the rest still read) when it has fewer than three fields, a field
// that is not a decimal number, a key code outside 1..255, modifiers outside 0..7, an action
// the program does not have, an argument longer than 259 bytes, or when it does not fit the
// 1024-byte value buffer.
#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "table/action_numbers.h"

namespace table {

// Modifier set bits, as they were held when the key or click was input (GetKeyState).
enum ModifierBit : uint8_t { kModShift = 1, kModCtrl = 2, kModAlt = 4 };
constexpr uint8_t kModifierMask = 7;

// SelectMode bits (default 3): bit 0 makes Shift with a movement key extend a range; bit 1 makes
// a movement without modifiers clear the selection.
enum SelectModeBit : uint32_t { kSelectModeRange = 1, kSelectModeClearOnMove = 2 };
constexpr uint32_t kDefaultSelectMode = 3;

// Virtual-key codes the key handling treats specially.
enum KeyCode : uint32_t {
  kKeyTab = 9,
  kKeyEnter = 13,
  kKeyShift = 16,
  kKeyControl = 17,
  kKeyAlt = 18,
  kKeyInsert = 45,
  kKeyDelete = 46,
};
constexpr uint32_t kMaxKeyCode = 255;
constexpr std::size_t kMaxArgumentBytes = 259;  // the argument buffer holds 260 with its NUL
constexpr std::size_t kValueBufferBytes = 1024;

struct KeyBind {
  uint32_t key = 0;        // virtual-key code, or a control character's code 1 to 26
  uint16_t modifiers = 0;  // ModifierBit set
  int32_t action = 0;
  std::string argument;    // may be empty
  bool operator==(const KeyBind&) const = default;
};

// Why a binding value was not taken.
enum class BindError : uint8_t {
  kNone,
  kTooFewFields,
  kNotANumber,
  kKeyOutOfRange,
  kModifiersOutOfRange,
  kUnknownAction,
  kArgumentTooLong,
  kValueTooLong,
};

struct ParsedBinding {
  BindError error = BindError::kNone;
  KeyBind bind;  // valid when error is kNone
};

// One [Keybind] value.
ParsedBinding ParseBinding(std::string_view value);

// A decimal number: optional blanks, an optional sign, digits, optional blanks; nullopt for
// anything else or a value outside the 32-bit signed range.
std::optional<int32_t> ParseDecimal(std::string_view field);

class KeyBindings {
 public:
  // Only the built-in binding: Tab without modifiers switches panes; select mode 3.
  KeyBindings();

  // Adds a binding, replacing one of the same key and modifiers. Out-of-range keys or
  // modifiers are ignored.
  void Bind(const KeyBind& b);
  // The binding of key with modifiers, or null.
  const KeyBind* Find(uint32_t key, uint8_t modifiers) const;
  // Every binding in the order it was made (a replaced binding takes the place of the new).
  std::vector<KeyBind> All() const;
  std::size_t size() const { return entries_.size(); }

  uint32_t selectMode() const { return selectMode_; }
  void SetSelectMode(uint32_t mode) { selectMode_ = mode; }

  // What reading a file did.
  struct LoadReport {
    bool readFile = false;     // the file could be read
    uint32_t valuesRead = 0;   // numbered keys read before the first missing or empty one
    uint32_t skipped = 0;      // of those, values not taken
    std::vector<std::pair<uint32_t, BindError>> errors;  // the first few skipped keys
  };
  // Reads the bindings and the select mode of a key-binding file's text on top of the
  // bindings already made.
  LoadReport LoadText(std::string_view text);
  // Reads the file through the OS layer. A file that cannot be read, or of more than 64 MiB,
  // adds nothing.
  LoadReport LoadFile(const std::string& path);

 private:
  static std::size_t Slot(uint32_t key, uint8_t modifiers) {
    return static_cast<std::size_t>(modifiers) * (kMaxKeyCode + 1) + key;
  }
  struct Entry {
    uint64_t order = 0;
    KeyBind bind;
  };
  // (kModifierMask + 1) * (kMaxKeyCode + 1), by Slot(): 0 for no binding, else one more than
  // the binding's place in entries_ (a deque, so that what Find returned stays put).
  std::vector<uint16_t> slots_;
  std::deque<Entry> entries_;
  uint64_t made_ = 0;
  uint32_t selectMode_ = kDefaultSelectMode;
};

// The key-binding file of the configuration: [Keybind] File (default "explorer.cfg"); a name
// without a backslash is taken from the configuration file's directory. Empty when the path
// would not fit in 260 bytes.
std::string KeyBindingFilePath();

// Makes the process's bindings: the built-in one, then the key-binding file of the
// configuration.
KeyBindings LoadProcessKeyBindings();

}  // namespace table
