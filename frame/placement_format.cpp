#include "frame/placement_format.h"

#include <climits>
#include <cstdio>
#include <vector>

namespace frame {
namespace {

// Splits at ";" and reads each piece as a whole decimal number (optional sign, digits, blanks
// around). Stops at the first piece that is not one.
std::vector<int> Numbers(const std::string& text) {
  std::vector<int> out;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(';', pos);
    if (end == std::string::npos) end = text.size();
    std::string piece = text.substr(pos, end - pos);
    size_t i = 0;
    while (i < piece.size() && piece[i] == ' ') ++i;
    bool neg = false;
    if (i < piece.size() && (piece[i] == '-' || piece[i] == '+')) neg = piece[i++] == '-';
    size_t digitsStart = i;
    long long v = 0;
    while (i < piece.size() && piece[i] >= '0' && piece[i] <= '9') {
      v = v * 10 + (piece[i++] - '0');
      if (v > INT_MAX) return out;  // absurd size: damaged
    }
    while (i < piece.size() && piece[i] == ' ') ++i;
    if (i == digitsStart || i != piece.size()) return out;
    out.push_back(static_cast<int>(neg ? -v : v));
    if (end == text.size()) break;
    pos = end + 1;
  }
  return out;
}

}  // namespace

std::string FormatPlacement(const Placement& p) {
  char buf[128];
  std::snprintf(buf, sizeof(buf), "%d;%d;%d;%d;%d;%d;%d;%d", p.left, p.top, p.width, p.height,
                p.minX, p.minY, p.maxX, p.maxY);
  return buf;
}

bool ParsePlacement(const std::string& text, Placement& p) {
  std::vector<int> v = Numbers(text);
  if (v.size() < 8) return false;
  p = Placement{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
  return true;
}

std::string FormatShrink(const ShrinkState& s) {
  char buf[64];
  std::snprintf(buf, sizeof(buf), "%d;%d;%d", s.shrunk ? 1 : 0, s.width, s.height);
  return buf;
}

void ParseShrink(const std::string& text, ShrinkState& s) {
  std::vector<int> v = Numbers(text);
  if (v.size() >= 1) s.shrunk = v[0] != 0;
  if (v.size() >= 2) s.width = v[1];
  if (v.size() >= 3) s.height = v[2];
}

}  // namespace frame
