// The display mask as typed in the mask input: its words joined by single blanks; nothing but
// blanks means every file.
#pragma once
#include <string>

namespace settings {

// Leading, trailing and repeated blanks (spaces and tabs) are dropped and the words joined with
// one space; an empty result becomes "*.*".
std::string NormalizeMaskInput(const char* text);

}  // namespace settings
