// Fuzzes the key-binding file reader: the input is a key-binding file's text (and, split at its
// first NUL, a second text read on top of the first).
// Checked: every binding taken has a key code 1 to 255, modifiers 0 to 7, a known action and an
// argument of at most 259 bytes; each can be found by its key and modifiers; reading the same
// text again changes nothing; each value parses the same on its own.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "table/key_binding.h"
#include "table/profile_section.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_key_binding: %s\n", what);
  std::abort();
}

// Checks the bindings and returns them.
std::vector<table::KeyBind> Check(const table::KeyBindings& b) {
  std::vector<table::KeyBind> all = b.All();
  std::size_t n = 0;
  for (const table::KeyBind& k : all) {
    ++n;
    if (k.key < 1 || k.key > 255) Fail("key code out of range");
    if (k.modifiers > 7) Fail("modifiers out of range");
    if (!table::IsKnownAction(k.action)) Fail("unknown action");
    if (k.argument.size() > table::kMaxArgumentBytes) Fail("argument too long");
    const table::KeyBind* found = b.Find(k.key, static_cast<uint8_t>(k.modifiers));
    if (!found || !(*found == k)) Fail("binding not found by its key");
  }
  if (n != b.size()) Fail("count differs from the list");
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view all(reinterpret_cast<const char*>(data), size);
  std::size_t split = all.find('\0');
  std::string_view first = all.substr(0, split);
  std::string_view second =
      split == std::string_view::npos ? std::string_view() : all.substr(split + 1);

  table::KeyBindings b;
  b.LoadText(first);
  const std::vector<table::KeyBind> once = Check(b);
  const uint32_t mode = b.selectMode();
  b.LoadText(first);
  if (b.size() != once.size() || b.selectMode() != mode)
    Fail("reading twice changed the bindings");
  for (const table::KeyBind& k : once) {
    const table::KeyBind* again = b.Find(k.key, static_cast<uint8_t>(k.modifiers));
    if (!again || !(*again == k)) Fail("reading twice changed a binding");
  }
  b.LoadText(second);
  Check(b);

  table::ProfileSection section(first, "Keybind");
  for (uint32_t i = 0; i < 64; ++i) {
    std::optional<std::string_view> v = section.Value(std::to_string(i));
    if (!v) break;
    table::ParsedBinding p = table::ParseBinding(*v);
    if (p.error == table::BindError::kNone && !table::IsKnownAction(p.bind.action))
      Fail("a value parsed to an unknown action");
  }
  return 0;
}
