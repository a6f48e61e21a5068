// Wide paths the shell hands over (dropped files, the folder browser's choice) as the ANSI
// paths the program's calls take, in code page 932.
#pragma once
#include <string>

namespace os {

// The exact conversion of a wide path, else its short (8.3) form's conversion: also where a
// name of the path would be rewritten by the path calls ("a." read as "a"). False when neither
// leads back to the file; a best-fit look-alike ("cafe" for "café") is never an answer.
bool WidePathToAnsi(const std::wstring& wide, std::string& out);

}  // namespace os
