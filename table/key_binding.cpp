#include "table/key_binding.h"

#include <algorithm>
#include <cstdio>

#include "config/config_file.h"
#include "config/instance_paths.h"
#include "config/program_context.h"
#include "os/mbcs.h"
#include "os/services.h"
#include "table/profile_section.h"

namespace table {
namespace {

constexpr uint64_t kMaxFileBytes = 64ull << 20;
constexpr std::size_t kMaxPathBytes = 259;
constexpr std::size_t kReportedErrors = 16;

bool IsFieldBlank(char c) { return c == ' ' || c == '\t'; }

// The fields of a value: runs of bytes other than ";" (a run of ";" separates like one). The
// argument may hold blanks; ";" never occurs as a trail byte of a double-byte character.
std::vector<std::string_view> SplitFields(std::string_view value, std::size_t max) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < value.size() && fields.size() < max) {
    while (pos < value.size() && value[pos] == ';') ++pos;
    if (pos >= value.size()) break;
    std::size_t end = value.find(';', pos);
    if (end == std::string_view::npos) end = value.size();
    fields.push_back(value.substr(pos, end - pos));
    pos = end;
  }
  return fields;
}

}  // namespace

std::optional<int32_t> ParseDecimal(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && IsFieldBlank(field[i])) ++i;
  std::size_t end = field.size();
  while (end > i && IsFieldBlank(field[end - 1])) --end;
  bool negative = false;
  if (i < end && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  if (i >= end) return std::nullopt;
  int64_t v = 0;
  for (; i < end; ++i) {
    if (field[i] < '0' || field[i] > '9') return std::nullopt;
    v = v * 10 + (field[i] - '0');
    if (v > static_cast<int64_t>(INT32_MAX) + 1) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(v);
}

ParsedBinding ParseBinding(std::string_view value) {
  ParsedBinding r;
  if (value.size() >= kValueBufferBytes - 1) {
    // The value would be cut by the value buffer; a cut binding is not taken.
    r.error = BindError::kValueTooLong;
    return r;
  }
  const std::vector<std::string_view> fields = SplitFields(value, 4);
  if (fields.size() < 3) {
    r.error = BindError::kTooFewFields;
    return r;
  }
  std::optional<int32_t> key = ParseDecimal(fields[0]);
  std::optional<int32_t> mods = ParseDecimal(fields[1]);
  std::optional<int32_t> action = ParseDecimal(fields[2]);
  if (!key || !mods || !action) {
    r.error = BindError::kNotANumber;
    return r;
  }
  if (*key < 1 || *key > static_cast<int32_t>(kMaxKeyCode)) {
    r.error = BindError::kKeyOutOfRange;
    return r;
  }
  if (*mods < 0 || *mods > kModifierMask) {
    r.error = BindError::kModifiersOutOfRange;
    return r;
  }
  if (!IsKnownAction(*action)) {
    r.error = BindError::kUnknownAction;
    return r;
  }
  if (fields.size() > 3 && fields[3].size() > kMaxArgumentBytes) {
    r.error = BindError::kArgumentTooLong;
    return r;
  }
  r.bind.key = static_cast<uint32_t>(*key);
  r.bind.modifiers = static_cast<uint16_t>(*mods);
  r.bind.action = *action;
  if (fields.size() > 3) r.bind.argument.assign(fields[3]);
  return r;
}

KeyBindings::KeyBindings() : slots_((kModifierMask + 1) * (kMaxKeyCode + 1), 0) {
  Bind(KeyBind{kKeyTab, 0, kActionSwitchPane, std::string()});
}

void KeyBindings::Bind(const KeyBind& b) {
  if (b.key < 1 || b.key > kMaxKeyCode || b.modifiers > kModifierMask) return;
  uint16_t& slot = slots_[Slot(b.key, static_cast<uint8_t>(b.modifiers))];
  if (slot == 0) {
    entries_.push_back(Entry{made_++, b});
    slot = static_cast<uint16_t>(entries_.size());
    return;
  }
  Entry& e = entries_[slot - 1u];
  e.order = made_++;
  e.bind = b;
}

const KeyBind* KeyBindings::Find(uint32_t key, uint8_t modifiers) const {
  if (key < 1 || key > kMaxKeyCode || modifiers > kModifierMask) return nullptr;
  const uint16_t slot = slots_[Slot(key, modifiers)];
  return slot ? &entries_[slot - 1u].bind : nullptr;
}

std::vector<KeyBind> KeyBindings::All() const {
  std::vector<const Entry*> used;
  used.reserve(entries_.size());
  for (const Entry& e : entries_) used.push_back(&e);
  std::sort(used.begin(), used.end(),
            [](const Entry* a, const Entry* b) { return a->order < b->order; });
  std::vector<KeyBind> out;
  out.reserve(used.size());
  for (const Entry* e : used) out.push_back(e->bind);
  return out;
}

KeyBindings::LoadReport KeyBindings::LoadText(std::string_view text) {
  LoadReport report;
  report.readFile = true;
  const ProfileSection binds(text, "Keybind");
  for (uint32_t n = 0;; ++n) {
    char key[16];
    std::snprintf(key, sizeof(key), "%u", n);
    std::optional<std::string_view> value = binds.Value(key);
    if (!value || value->empty()) break;
    ++report.valuesRead;
    ParsedBinding p = ParseBinding(*value);
    if (p.error != BindError::kNone) {
      ++report.skipped;
      if (report.errors.size() < kReportedErrors) report.errors.emplace_back(n, p.error);
      continue;
    }
    Bind(p.bind);
  }
  const ProfileSection select(text, "SelectMode");
  if (std::optional<std::string_view> mode = select.Value("Mode")) {
    std::optional<int32_t> v =
        mode->size() < kValueBufferBytes - 1 ? ParseDecimal(*mode) : std::nullopt;
    if (v && *v >= 0) selectMode_ = static_cast<uint32_t>(*v);
  }
  return report;
}

KeyBindings::LoadReport KeyBindings::LoadFile(const std::string& path) {
  LoadReport none;
  if (path.empty() || path.size() > kMaxPathBytes) return none;
  std::unique_ptr<os::File> f =
      os::Fs().Open(path.c_str(), os::kGenericRead, os::kShareRead | os::kShareWrite,
                    os::kOpenExisting);
  uint64_t size = 0;
  if (!f || !f->Size(&size) || size > kMaxFileBytes) return none;
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  while (got < text.size()) {
    uint32_t done = 0;
    if (!f->Read(text.data() + got, static_cast<uint32_t>(text.size() - got), &done)) return none;
    if (done == 0) break;
    got += done;
  }
  text.resize(got);
  return LoadText(text);
}

std::string KeyBindingFilePath() {
  std::string name = config::ReadConfigString("Keybind", "File", "explorer.cfg");
  if (name.empty()) return std::string();
  std::string path = mbcs::FindChar(name.c_str(), '\\')
                         ? name
                         : config::DirectoryOf(config::Context().configFilePath) + name;
  return path.size() > kMaxPathBytes ? std::string() : path;
}

KeyBindings LoadProcessKeyBindings() {
  KeyBindings b;
  b.LoadFile(KeyBindingFilePath());
  return b;
}

}  // namespace table
