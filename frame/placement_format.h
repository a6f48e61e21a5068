// The frame's saved placement: "Placement" = left;top;width;height;minX;minY;maxX;maxY,
// "Show" = 0 normal / 1 maximised / 2 minimised, "Shrink" = flag;width;height.
#pragma once
#include <string>

namespace frame {

struct Placement {
  int left = 0, top = 0, width = 0, height = 0;
  int minX = 0, minY = 0, maxX = 0, maxY = 0;
};

struct ShrinkState {
  bool shrunk = false;
  int width = 0, height = 0;  // the size to restore
};

std::string FormatPlacement(const Placement& p);
// False (p untouched) when the text is empty or holds fewer than 8 numbers.
bool ParsePlacement(const std::string& text, Placement& p);

std::string FormatShrink(const ShrinkState& s);
// Fills what the text holds, in order; what follows damage keeps its value in s.
void ParseShrink(const std::string& text, ShrinkState& s);

}  // namespace frame
