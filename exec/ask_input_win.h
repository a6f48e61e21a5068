// One call per question of the program: picks the input dialog, caption, prompt, history and
// browse button the question uses and asks it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "exec/input_use.h"

namespace exec {

struct AskOptions {
  const char* prompt = nullptr;  // replaces the question's prompt (associations: the key)
  int capacity = 0;              // replaces the question's history capacity when above 0
  // Choices added to the drop-down in this order (so the last one shows first), after the
  // stored history; equal ones appear once, empty ones not at all.
  const std::vector<std::string>* choices = nullptr;
};

// answer: in, the initial text; out, the answer on OK, whole (the dialog refuses one that does
// not fit the question's answer size). True on OK.
bool AskInput(HWND owner, InputQuestion question, std::string& answer,
              const AskOptions& options = AskOptions());

}  // namespace exec
