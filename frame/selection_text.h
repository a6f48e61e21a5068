// The status bar's selection text: how many entries are selected and how large they are.
#pragma once
#include <string>

namespace frame {

// "Selected %ld file(s) ( %lu bytes )." below 1024 bytes, else KB, MB or GB with two decimals
// that are cut, not rounded (1048575 bytes is 1023.99 KB).
std::string SelectionText(long count, double bytes);

}  // namespace frame
