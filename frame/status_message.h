// The message text of a one-pane status bar. It is shared by the pane's selection text and the
// hint of the highlighted menu item or of the toolbar button under the mouse: a hint shows while
// it lasts; when it ends, the selection text is back as it is by then.
#pragma once
#include <string>

namespace frame {

class StatusMessage {
 public:
  // The pane's selection text changed. True when the text shown changed.
  bool SetSelection(const std::string& text);
  // A hint begins; an empty text (no hint, or a command without one) ends the hint. True when
  // the text shown changed.
  bool SetHint(const std::string& text);
  // The text the bar shows.
  const std::string& Shown() const { return hint_.empty() ? selection_ : hint_; }

 private:
  std::string selection_;
  std::string hint_;
};

}  // namespace frame
