// Files whose names are given in UTF-16, for tests of names the program's code page cannot
// hold or its path calls would rewrite ("a.", "a ", "con"). Under Windows they are made and read
// with the wide calls under "\\?\", which take a name as it stands; natively as the UTF-8 host
// names the posix emulation keeps (what Wine does with the same names).
#pragma once
#include <string>

namespace testutil {

// dir ends in a backslash (CP932 text); name is UTF-16 and may name a path below dir
// ("d.\\inner.txt").
bool WriteWideNamedFile(const std::string& dir, const std::u16string& name,
                        const std::string& bytes);
// The file's bytes into out; false when there is no such file or it cannot be read.
bool ReadWideNamedFile(const std::string& dir, const std::u16string& name, std::string& out);
bool WideNamedFileExists(const std::string& dir, const std::u16string& name);
bool MakeWideNamedDirectory(const std::string& dir, const std::u16string& name);
// Removes such a file, or such a directory once it is empty.
bool RemoveWideNamed(const std::string& dir, const std::u16string& name);

// A file whose plain-ASCII name holds a control character ("a\nb"): the host makes it (the
// system's own calls refuse such a name, Wine's too). False where that cannot be done.
bool MakeHostNamedFile(const std::string& dir, const std::string& name);
bool RemoveHostNamedFile(const std::string& dir, const std::string& name);

}  // namespace testutil
