#include "settings/bar_settings.h"

#include <cstring>

namespace settings {
namespace {
bool EqualNoCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}
}  // namespace

ToolBarEdge ParseToolBarEdge(const std::string& text) {
  if (EqualNoCase(text, "Bottom")) return ToolBarEdge::kBottom;
  if (EqualNoCase(text, "Left")) return ToolBarEdge::kLeft;
  if (EqualNoCase(text, "Right")) return ToolBarEdge::kRight;
  return ToolBarEdge::kTop;
}

const char* ToolBarEdgeText(ToolBarEdge edge) {
  switch (edge) {
    case ToolBarEdge::kBottom: return "Bottom";
    case ToolBarEdge::kLeft: return "Left";
    case ToolBarEdge::kRight: return "Right";
    case ToolBarEdge::kTop: break;
  }
  return "Top";
}

}  // namespace settings
