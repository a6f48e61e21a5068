// Which role a process plays: 0 launcher, -1 new window, n numbered instance.
#pragma once
#include <string>
#include <vector>

namespace app {

// args are the arguments after the program name. "-CFGID" (case-sensitive) as the first
// argument followed by a number selects instance n; the number is read like atol, and junk
// reads as 0 and makes the process the launcher. Any other first argument gives -1. No argument
// gives -1 when a window of the program exists, else 0. "-CFGID" with nothing after it, or with
// a number that names no window (outside -1..65), counts as no argument, so it never restores
// the saved windows a second time while one is open.
int ChooseInstanceNumber(const std::vector<std::string>& args, bool windowExists);

}  // namespace app
