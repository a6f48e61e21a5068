// Splitting a fuzz input into the texts a target needs.
#pragma once
#include <cstddef>
#include <string_view>

namespace fuzzparts {

// The text up to the next NUL byte (or the end), taken off the front of in.
inline std::string_view NextPart(std::string_view& in) {
  const std::size_t cut = in.find('\0');
  const std::string_view part = in.substr(0, cut);
  in = cut == std::string_view::npos ? std::string_view() : in.substr(cut + 1);
  return part;
}

}  // namespace fuzzparts
