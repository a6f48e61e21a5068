// lstrcmpiA's order for CP932 text in the Japanese locale, as multi-level sort keys:
//   1. primary weights of the characters, case ignored; the apostrophe, the hyphen, control
//      characters and voicing marks carry none ("co-op" sorts with "coop");
//      punctuation < digits < Latin < Greek < Cyrillic < kana < kanji; hiragana, katakana
//      and half-width katakana of one sound share a weight, as do voiced and plain kana;
//   2. the variant of each character (half-width < full-width, katakana < hiragana,
//      plain < voiced); a half-width kana followed by its voicing mark counts as the voiced
//      kana;
//   3. the weightless characters: a later position sorts first, then by character.
// Not emulated: the long vowel mark "ー" taking the vowel of the kana before it, and
// Windows' separate comparison of voicing before kana type.
#pragma once
#include <string>
#include <string_view>

namespace os::posix {

// A key whose byte order (memcmp, then length) is the order of CompareCollated.
std::string CollationKey(std::string_view text);
// -1, 0 or 1; null sorts before "".
int CompareCollated(const char* a, const char* b);

}  // namespace os::posix
