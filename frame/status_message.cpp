#include "frame/status_message.h"

namespace frame {

bool StatusMessage::SetSelection(const std::string& text) {
  const std::string before = Shown();
  selection_ = text;
  return Shown() != before;
}

bool StatusMessage::SetHint(const std::string& text) {
  const std::string before = Shown();
  hint_ = text;
  return Shown() != before;
}

}  // namespace frame
