// Fuzzes the INI parser alone, fast: the input is a configuration file's text, parsed with and
// without hash indexes (edits and every buffer size are fuzz_ini's job).
// Checked: the document keeps its text; both forms list the same sections and keys and find
// the same values; a value found lies inside the text; a look-up through a buffer just large
// enough returns the value whole and terminated.
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
  std::fprintf(stderr, "fuzz_ini_parse: %s\n", what);
  std::abort();
}

bool Inside(const std::string& text, std::string_view part) {
  return part.empty() || (part.data() >= text.data() && part.data() + part.size() <= text.data() + text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const ini::Document plain(text, false);
  const ini::Document indexed(text, true);
  if (plain.Text() != text || indexed.Text() != text) Fail("the document does not keep its text");

  std::vector<std::string_view> sections, other;
  plain.SectionNames(&sections);
  indexed.SectionNames(&other);
  if (sections != other) Fail("section names differ");
  for (size_t s = 0; s < sections.size() && s < 8; ++s) {
    std::vector<std::string_view> keys, keys2;
    const bool has = plain.KeyNames(sections[s], &keys);
    if (has != indexed.KeyNames(sections[s], &keys2) || keys != keys2) Fail("key names differ");
    // (A name cut at a NUL may end in blanks, which every look-up trims away.)
    const bool whole = ini::Trim(sections[s]) == sections[s];
    if (whole && (!plain.HasSection(sections[s]) || !indexed.HasSection(sections[s])))
      Fail("a listed section is not found");
    for (size_t k = 0; k < keys.size() && k < 8; ++k) {
      std::string_view a, b;
      const bool fa = plain.Find(sections[s], keys[k], &a);
      const bool fb = indexed.Find(sections[s], keys[k], &b);
      if (fa != fb || a != b) Fail("indexed and plain look-ups differ");
      if (!fa && whole && ini::Trim(keys[k]) == keys[k]) Fail("a listed key is not found");
      if (!fa) continue;
      if (!Inside(plain.Text(), a)) Fail("a value outside the text");
      // The profile answer is the unquoted value cut at a NUL; a buffer one longer holds it.
      const std::string sec(sections[s]), key(keys[k]);
      std::string buf(a.size() + 1, '\x0C');
      const uint32_t n = ini::GetString(&indexed, sec.c_str(), key.c_str(), "", buf.data(),
                                        static_cast<uint32_t>(buf.size()));
      if (n >= buf.size() || buf[n] != '\0') Fail("result not terminated within the buffer");
    }
  }
  return 0;
}
