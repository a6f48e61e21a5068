#include "os/posix/host_names.h"

#include <iconv.h>

namespace os::posix {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// One conversion descriptor per direction and thread, reset before each use.
iconv_t Converter(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  return cd;
}

bool Run(iconv_t cd, std::string_view in, std::string& out) {
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out.resize(in.size() * 4 + 4);
  char* inp = const_cast<char*>(in.data());  // iconv does not write through it
  size_t inLeft = in.size();
  char* outp = out.data();
  size_t outLeft = out.size();
  if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) return false;
  out.resize(out.size() - outLeft);
  return true;
}

// Decodes one UTF-8 character at text[i]; *length gets its byte count. A byte that does not
// start a valid sequence decodes as kReplacement of length 1.
uint32_t DecodeUtf8(std::string_view text, std::size_t i, std::size_t* length) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  *length = 1;
  if (c < 0x80) return c;
  std::size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
  if (n == 0 || i + n > text.size()) return kReplacement;
  uint32_t cp = c & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    const unsigned char t = static_cast<unsigned char>(text[i + k]);
    if ((t & 0xC0) != 0x80) return kReplacement;
    cp = cp << 6 | (t & 0x3F);
  }
  static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  *length = n;
  return cp;
}

// The exact CP932 form of one character (one or two bytes), or "" when it has none or its
// form converts back to another character.
std::string ExactCp932(uint32_t cp) {
  thread_local iconv_t toCp932 = Converter("CP932", "UTF-32LE");
  thread_local iconv_t fromCp932 = Converter("UTF-32LE", "CP932");
  const char in[4] = {static_cast<char>(cp), static_cast<char>(cp >> 8),
                      static_cast<char>(cp >> 16), 0};
  std::string bytes, back;
  if (!Run(toCp932, std::string_view(in, 4), bytes) || bytes.empty()) return std::string();
  if (!Run(fromCp932, bytes, back) || back != std::string_view(in, 4)) return std::string();
  return bytes;
}

}  // namespace

char BestFitCharacter(uint32_t cp) {
  // Latin-1 letters with marks fall back to their base letter.
  static const char kLatin1[] =
      "AAAAAAACEEEEIIII"   // U+00C0..U+00CF (U+00C6 AE as A)
      "DNOOOOO\0OUUUUY\0s"  // U+00D0..U+00DF (U+00D7 multiplication, U+00DE thorn: none)
      "aaaaaaaceeeeiiii"   // U+00E0..U+00EF
      "dnooooo\0ouuuuy\0y";  // U+00F0..U+00FF
  if (cp >= 0xC0 && cp <= 0xFF) return kLatin1[cp - 0xC0];
  return 0;
}

std::string HostFromWinName(std::string_view cp932) {
  if (IsAscii(cp932)) return std::string(cp932);
  thread_local iconv_t cd = Converter("UTF-8", "CP932");
  std::string out;
  if (!Run(cd, cp932, out)) return std::string(cp932);
  return out;
}

bool WinFromHostName(std::string_view host, std::string& out) {
  if (IsAscii(host)) {
    out.assign(host);
    return true;
  }
  out.clear();
  bool exact = true;
  for (std::size_t i = 0; i < host.size();) {
    std::size_t length = 0;
    const uint32_t cp = DecodeUtf8(host, i, &length);
    const bool decoded = cp != kReplacement || length > 1;
    i += length;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    if (decoded) {
      std::string bytes = ExactCp932(cp);
      if (!bytes.empty()) {
        out += bytes;
        continue;
      }
    }
    exact = false;
    const char fit = BestFitCharacter(cp);
    // A character outside the first plane is two UTF-16 units, each without a form.
    out += fit ? std::string(1, fit) : cp > 0xFFFF ? std::string("??") : std::string("?");
  }
  return exact;
}

std::size_t Utf16FromHostName(std::string_view host, uint16_t* out, std::size_t maxUnits) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < host.size() && n < maxUnits;) {
    std::size_t length = 0;
    const uint32_t cp = DecodeUtf8(host, i, &length);
    i += length;
    if (cp > 0xFFFF) {
      if (n + 2 > maxUnits) break;
      out[n++] = static_cast<uint16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out[n++] = static_cast<uint16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out[n++] = static_cast<uint16_t>(cp);
    }
  }
  return n;
}

}  // namespace os::posix
