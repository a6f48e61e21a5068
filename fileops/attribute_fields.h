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

// The fields of the dialog that must fit, in the order OK checks them.
enum class AttributeField { kName, kDate, kTime, kTarget, kWorkingDirectory };

// What refuses a field's text read back whole: null when it fits kAttributeFieldBytes, else
// the message naming the field. A text that does not fit is refused, never cut: a cut name,
// target or working directory names another file.
const char* AttributeFieldRefusal(AttributeField field, const std::string& returned);

}  // namespace fileops
