// The bars' settings of a window (keys of its INST<n> section): whether the toolbar and the
// status bar are shown, and the edge the toolbar sits on.
#pragma once
#include <string>

namespace settings {

enum class ToolBarEdge { kTop, kBottom, kLeft, kRight };

ToolBarEdge ParseToolBarEdge(const std::string& text);  // any case; unknown text is the top
const char* ToolBarEdgeText(ToolBarEdge edge);          // "Top", "Bottom", "Left", "Right"

}  // namespace settings
