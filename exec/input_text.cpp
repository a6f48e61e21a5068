#include "exec/input_text.h"

#include <cstring>

#include "os/mbcs.h"
#include "os/path_text.h"

namespace exec {

std::string CutToBytes(const std::string& text, std::size_t maxBytes) {
  const char* s = text.c_str();
  std::size_t n = 0;
  while (n < text.size()) {
    std::size_t step = static_cast<std::size_t>(mbcs::Next(s + n) - (s + n));
    if (step == 0) break;  // an embedded NUL ends the text
    if (n + step > maxBytes) break;
    n += step;
  }
  return text.substr(0, n);
}

std::size_t CopyAnswer(const std::string& text, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return 0;
  return mbcs::CopyBounded(buffer, size, text.c_str());
}

std::string BufferText(const char* buffer, std::size_t size) {
  if (!buffer) return std::string();
  const void* end = std::memchr(buffer, '\0', size);
  std::size_t n = end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer) : size;
  return std::string(buffer, n);
}

std::string AnswerAfterOk(const std::string& initial, const std::string& returned,
                          std::size_t answerSize) {
  if (answerSize > 0 && initial.size() >= answerSize &&
      returned == CutToBytes(initial, answerSize - 1))
    return initial;
  return returned;
}

bool AnswerFits(const std::string& text, std::size_t answerSize) {
  if (os::FitsBuffer(text, answerSize)) return true;
  const bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"' &&
                      text.find('"', 1) == text.size() - 1;
  return quoted && os::FitsBuffer(text.substr(1, text.size() - 2), answerSize);
}

std::string QuoteIfBlank(const std::string& path) {
  if (path.find(' ') == std::string::npos) return path;
  return '"' + path + '"';
}

std::string FileDialogFilter(const char* filter) {
  std::string out;
  if (filter) {
    for (const char* p = filter; *p;) {
      const char* next = mbcs::Next(p);
      if (next == p + 1 && *p == '|')
        out.push_back('\0');
      else
        out.append(p, static_cast<std::size_t>(next - p));
      p = next;
    }
  }
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

}  // namespace exec
