// The 8.3 alias ("short name") a long host file name (UTF-8) gets, generated the way Wine
// generates it on a Unix file system: the first four valid characters, "~" padding, three characters of a
// hash of the name, and up to three characters of the extension, upper case ("foo.html" is
// "FOO~~VKR.HTM"). A name that is already a legal 8.3 name has no alias.
//
// Directory searches and path lookups retry a long name that fails against this alias, which
// is why "*.htm" finds "foo.html" and "*." finds ".aaa" (alias "AAA~~XYZ") on Windows.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace os::posix {

bool IsLegal83Name(std::string_view name);
// The alias of name, or "" when name is a legal 8.3 name.
std::string ShortAlias(std::string_view name);
// The same written to out (at least kShortAliasBuffer bytes, NUL-terminated) without
// allocating; returns its length, 0 when name is a legal 8.3 name.
constexpr std::size_t kShortAliasBuffer = 13;
std::size_t ShortAliasInto(std::string_view name, char* out);

}  // namespace os::posix
