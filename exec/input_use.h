// Which question is asked with which input dialog: caption, prompt, history section and its
// capacity, the size of the answer and the browse button.
#pragma once
#include <cstdint>

namespace exec {

enum class InputQuestion {
  kCopy,          // command 184
  kMove,          // command 182
  kDuplicate,     // command 178, copy under another name
  kMakeDir,       // command 176
  kChangePath,    // command 132
  kMask,          // command 146
  kRun,           // command 148
  kConfigPath,    // command 104
  kHiddenTypes,   // the view-data dialog's hidden file types
  kAssociation,   // commands 160, 150, 158; the prompt is the associated key
};

enum class InputBrowse { kNone, kFile, kFolder };

struct InputUse {
  const char* caption;
  const char* prompt;   // null: given by the caller (associations)
  const char* section;  // history section; null: no stored history
  int capacity;         // 0: given by the caller (associations: registered types + 1)
  uint32_t answerSize;  // bytes of the answer buffer, terminator included
  InputBrowse browse;
  const char* filter;   // file-open filter ("name|pattern|..."), for kFile
  // A browsed path is the answer as it stands: the answer is a file's name, where quotes
  // would be part of the name. Otherwise a path with a blank is quoted for a command line.
  bool plainPath = false;
  // Shown when the answer does not fit answerSize; the dialog stays open.
  const char* tooLong = "入力が長すぎます";
};

const InputUse& UseOf(InputQuestion question);

// Dialog layouts: the plain one, and the one with a browse button.
constexpr int kInputLayout = 31050;
constexpr int kInputBrowseLayout = 30080;

// The browse button a question gets on this system: folder browsing needs the newer shell
// (major version 4 or above); below it those questions use the plain dialog.
InputBrowse BrowseOn(const InputUse& use, uint32_t windowsMajorVersion);
int LayoutFor(InputBrowse browse);

}  // namespace exec
