// The text fields of the name, date and attribute dialog: what a field shows for a value, and
// whether the user changed it.
#pragma once
#include <cstddef>
#include <string>

namespace fileops {

// Every field holds at most this many bytes.
constexpr std::size_t kAttributeFieldBytes = 255;

// The text a field shows for a value: cut to the field's size, never inside a double-byte
// character.
std::string AttributeFieldText(const std::string& value);

// Whether a field came back changed. A value longer than its field is shown cut; coming back
// as shown, it was not changed and must not be written back in its cut form (a link's target
// or title, or a file's name, would lose its end).
bool AttributeFieldChanged(const std::string& value, const std::string& returned);

}  // namespace fileops
