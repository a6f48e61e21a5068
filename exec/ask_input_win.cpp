#include "exec/ask_input_win.h"

#include <memory>
#include <vector>

#include "config/program_context.h"
#include "exec/input_dialogs_win.h"
#include "exec/input_text.h"

namespace exec {

bool AskInput(HWND owner, InputQuestion question, std::string& answer,
              const AskOptions& options) {
  const InputUse& use = UseOf(question);
  const InputBrowse browse = BrowseOn(use, config::Context().windowsMajorVersion);
  const int layout = LayoutFor(browse);
  const char* prompt = options.prompt ? options.prompt : (use.prompt ? use.prompt : "");
  const int capacity = options.capacity > 0 ? options.capacity
                                            : (use.capacity > 0 ? use.capacity : 1);

  std::vector<char> buffer(use.answerSize, '\0');
  CopyAnswer(answer, buffer.data(), buffer.size());

  std::unique_ptr<INPUT_D> dialog;
  if (browse == InputBrowse::kFile) {
    auto d = std::make_unique<INPUT2_D>(owner, layout);
    d->SetupInput(use.caption, prompt, buffer.data(), buffer.size(), use.section, capacity,
                  use.filter);
    d->quoteBlanks = !use.plainPath;
    dialog = std::move(d);
  } else {
    if (browse == InputBrowse::kFolder)
      dialog = std::make_unique<INPUT3_D>(owner, layout);
    else
      dialog = std::make_unique<INPUT_D>(owner, layout);
    dialog->SetupInput(use.caption, prompt, buffer.data(), buffer.size(), use.section, capacity);
  }
  if (options.choices) dialog->choices = *options.choices;
  if (use.tooLong) dialog->tooLong = use.tooLong;
  if (dialog->Execute() != IDOK) return false;
  answer = AnswerAfterOk(answer, dialog->result, buffer.size());
  return true;
}

}  // namespace exec
