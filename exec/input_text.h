// Small text rules of the input dialogs: byte limits that never split a double-byte character,
// quoting of browsed paths, and the filter strings of the file-open dialog.
#pragma once
#include <cstddef>
#include <string>

namespace exec {

// The longest prefix of text of at most maxBytes bytes that ends on a character boundary
// (code page 932).
std::string CutToBytes(const std::string& text, std::size_t maxBytes);

// Copies text into a caller's buffer of size bytes: at most size-1 bytes, never half a
// double-byte character, always terminated (nothing is written when size is 0). Returns the
// bytes copied.
std::size_t CopyAnswer(const std::string& text, char* buffer, std::size_t size);

// The text of a caller's buffer: up to its terminator, but never past size bytes.
std::string BufferText(const char* buffer, std::size_t size);

// The answer of a dialog whose buffer holds answerSize bytes, given the initial answer and the
// text that came back on OK. An initial answer longer than the buffer is shown cut; coming back
// as shown, it was not changed and stays whole instead of being taken in its cut form.
std::string AnswerAfterOk(const std::string& initial, const std::string& returned,
                          std::size_t answerSize);

// Whether an answer, read back whole, fits a buffer of answerSize bytes (terminator included).
// One that does not is refused, never cut: a cut path names another file or folder. A path in
// one pair of double quotes fits when the path inside does: the quotes are how a browsed path
// with a blank is written for a command line, not part of the path.
bool AnswerFits(const std::string& text, std::size_t answerSize);

// A browsed path as it goes into an entry field: inside double quotes when it holds a blank.
std::string QuoteIfBlank(const std::string& path);

// "name|pattern|name|pattern|" as the file-open dialog wants it: each "|" a NUL, ended by two
// NULs. A "|" that is the trail byte of a double-byte character stays.
std::string FileDialogFilter(const char* filter);

}  // namespace exec
