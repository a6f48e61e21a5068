// Fuzzes the INI engine in memory: the input (after one control byte) is a configuration
// file's text, parsed with and without hash indexes, read through every kind of call with
// buffers of many sizes, then edited and parsed again.
// Checked: the indexed and the plain document answer alike; nothing is written past a buffer's
// size, every result is terminated and shorter than the buffer, a list ends with two NULs; a
// value written reads back and writing it again changes nothing, an edit changes no other key's
// value; deleting takes bytes away and never adds any.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "os/ini_file.h"
#include "os/ini_profile.h"

namespace {

namespace ini = os::ini;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_ini: %s\n", what);
  std::abort();
}

// Calls GetString with a heap buffer of exactly size bytes (so that the sanitizer sees any
// write past it) and checks the buffer rules. Returns what the call produced.
std::string Get(const ini::Document* doc, const char* section, const char* key, const char* def,
                uint32_t size) {
  std::vector<char> storage(size, '\x0C');
  uint32_t n = ini::GetString(doc, section, key, def, storage.data(), size);
  // Section names always come as a list; key names only when the section has keys (else the
  // default comes back).
  std::vector<std::string_view> keys;
  const bool list = !section || (!key && doc && doc->KeyNames(section, &keys) && !keys.empty());
  if (n >= size) Fail("result not shorter than the buffer");
  if (storage[n] != '\0') Fail("result not terminated");
  if (list && n > 0) {
    const bool ended = storage[n - 1] == '\0' || (n + 1 < size && storage[n + 1] == '\0');
    if (!ended) Fail("list not ended by two NULs");
  }
  return std::string(storage.data(), n);
}

const uint32_t kSizes[] = {1, 2, 5, 16};

// Reads through every buffer size; a result from a small buffer is a prefix of the whole one.
void ReadEverything(const ini::Document& doc, const char* section, const char* key) {
  // No answer is longer than the text (a list adds one NUL per name, each after a "[]" pair).
  const uint32_t room = static_cast<uint32_t>(doc.Text().size()) + 16;
  const std::string whole = Get(&doc, section, key, "default  ", room);
  for (uint32_t size : kSizes) {
    const std::string part = Get(&doc, section, key, "default  ", size);
    if (whole.compare(0, part.size(), part) != 0) Fail("a cut result is no prefix of the whole");
  }
  ini::GetInt(&doc, section, key, -7);
}

struct Pair {
  std::string section, key;
  bool found;
  std::string value;
};

// The names of the first sections and keys, with what a look-up of each finds.
std::vector<Pair> Snapshot(const ini::Document& doc) {
  std::vector<std::string_view> sections;
  doc.SectionNames(&sections);
  std::vector<Pair> out;
  for (size_t s = 0; s < sections.size() && s < 6; ++s) {
    std::vector<std::string_view> keys;
    doc.KeyNames(sections[s], &keys);
    if (keys.size() > 5) keys.resize(5);
    keys.push_back("absent key");
    for (size_t k = 0; k < keys.size(); ++k) {
      Pair p{std::string(sections[s]), std::string(keys[k]), false, {}};
      std::string_view v;
      p.found = doc.Find(p.section, p.key, &v);
      if (p.found) p.value = v;
      out.push_back(std::move(p));
    }
  }
  return out;
}

// b answers as a did in before.
void SameAnswers(const ini::Document& a, const std::vector<Pair>& before, const ini::Document& b) {
  std::vector<std::string_view> sa, sb;
  a.SectionNames(&sa);
  b.SectionNames(&sb);
  if (sa != sb) Fail("section names differ");
  for (size_t i = 0; i < before.size(); ++i) {
    const Pair& p = before[i];
    std::string_view v;
    if (b.Find(p.section, p.key, &v) != p.found || (p.found && v != p.value))
      Fail("indexed and plain look-ups differ");
    if (i > 0 && before[i - 1].section == p.section) continue;  // keys once per section
    std::vector<std::string_view> ka, kb;
    if (a.KeyNames(p.section, &ka) != b.KeyNames(p.section, &kb) || ka != kb)
      Fail("key names differ");
  }
}

bool SameFolded(std::string_view a, std::string_view b) {
  return ini::Fold(ini::Trim(a)) == ini::Fold(ini::Trim(b));
}

// Every pair but the edited one reads as it did.
void OthersUnchanged(const std::vector<Pair>& before, const ini::Document& after,
                     const std::string& section, const std::string& key) {
  for (const Pair& p : before) {
    if (SameFolded(p.section, section) && (key.empty() || SameFolded(p.key, key))) continue;
    std::string_view v;
    if (after.Find(p.section, p.key, &v) != p.found || (p.found && v != p.value))
      Fail("an edit changed another value");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 2048) return 0;  // longer texts only repeat what shorter ones hold
  const uint8_t control = data[0];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const ini::Document plain(text, false);
  const ini::Document indexed(text, true);
  if (plain.Text() != text) Fail("the document does not keep its text");
  const std::vector<Pair> before = Snapshot(indexed);
  SameAnswers(indexed, before, plain);

  // Lists and values, each through buffers of every size, for a pair the control byte picks.
  ReadEverything(indexed, nullptr, nullptr);
  if (!before.empty()) {
    const Pair& p = before[control % before.size()];
    ReadEverything(indexed, p.section.c_str(), nullptr);
    ReadEverything(indexed, p.section.c_str(), p.key.c_str());
  }
  char empty[1] = {'\x0C'};
  if (ini::GetString(nullptr, "s", "k", "d", empty, 1) != 0 || empty[0] != '\0')
    Fail("a one-byte buffer not emptied");

  // A value taken from the input, without line ends and NULs, written and read back.
  std::string value;
  for (size_t i = 1; i < size && value.size() < 64; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c != '\r' && c != '\n' && c != '\0') value.push_back(c);
  }
  const std::string section = before.empty() ? std::string("s") : before[control % before.size()].section;
  const std::string key = "fz" + std::to_string(control);
  std::string edited;
  if (ini::Edit(plain, section.c_str(), key.c_str(), value.c_str(), &edited)) {
    const ini::Document after(edited, control & 1);
    std::string_view expect = ini::Unquote(ini::Trim(value));
    if (Get(&after, section.c_str(), key.c_str(), "", static_cast<uint32_t>(edited.size()) + 1) !=
        expect)
      Fail("value not read back");
    OthersUnchanged(before, after, section, key);
    std::string_view v;
    if (!plain.Find(section, key, &v) && edited.size() <= text.size())
      Fail("a new key took no room");
    // Writing the same again changes nothing (a value is stored trimmed, so only a trimmed
    // one compares equal).
    std::string again;
    if (ini::Trim(value) == value &&
        ini::Edit(after, section.c_str(), key.c_str(), value.c_str(), &again))
      Fail("writing the same value twice changed the text");
    ReadEverything(after, section.c_str(), nullptr);
  } else {
    std::string_view v;
    if (!plain.Find(section, key, &v) || v != value) Fail("a set that changed nothing");
  }

  // Deletions take bytes away, and leave the other keys alone.
  if (!before.empty()) {
    const Pair& p = before[(control >> 1) % before.size()];
    std::string out;
    if (ini::Edit(plain, p.section.c_str(), p.key.c_str(), nullptr, &out)) {
      if (out.size() >= text.size()) Fail("deleting a key added bytes");
      OthersUnchanged(before, ini::Document(out, true), p.section, p.key);
    } else if (p.found) {
      Fail("a key that was found was not deleted");
    }
    if (ini::Edit(plain, p.section.c_str(), nullptr, nullptr, &out)) {
      if (out.size() >= text.size()) Fail("deleting a section added bytes");
    } else if (ini::Trim(p.section) == p.section) {
      // (A name cut at a NUL may end in blanks, which every look-up trims away.)
      Fail("a listed section was not deleted");
    }
  }
  return 0;
}
