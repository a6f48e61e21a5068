// Files whose names are given in UTF-16, for tests of names the program's code page cannot
// hold. Under Windows they are made and read with the wide calls; natively as the UTF-8 host
// names the posix emulation keeps (what Wine does with the same names).
#pragma once
#include <string>

namespace testutil {

// dir ends in a backslash (CP932 text); name is UTF-16.
bool WriteWideNamedFile(const std::string& dir, const std::u16string& name,
                        const std::string& bytes);
// The file's bytes into out; false when there is no such file or it cannot be read.
bool ReadWideNamedFile(const std::string& dir, const std::u16string& name, std::string& out);
bool WideNamedFileExists(const std::string& dir, const std::u16string& name);

}  // namespace testutil
