// The messages the file commands show for the engine's results and their own checks, with the
// string-table ids they come from (0 for texts that have no id).
#pragma once
#include <string>

#include "fileops/engine_ui.h"

namespace fileops {

struct CommandMessage {
  int stringId = 0;
  const char* text = nullptr;  // null: no message at all
};

// Fixed texts of the string table.
extern const CommandMessage kMsgNoMemory;               // 11
extern const CommandMessage kMsgCopyNameTooLong;        // 13
extern const CommandMessage kMsgCannotMakeDirectory;    // 14
extern const CommandMessage kMsgCopyDiskFull;           // 15
extern const CommandMessage kMsgRecursiveCopy;          // 16
extern const CommandMessage kMsgCancelled;              // 17
extern const CommandMessage kMsgMoveNameTooLong;        // 18
extern const CommandMessage kMsgMoveDiskFull;           // 20
extern const CommandMessage kMsgCannotMakeLink;         // 21
extern const CommandMessage kMsgSourceInaccessible;     // 25
extern const CommandMessage kMsgDestinationInaccessible;  // 26
// A destination typed with a leading ":" names no drive or directory.
extern const CommandMessage kMsgCopyDestinationInvalid;
extern const CommandMessage kMsgMoveDestinationInvalid;

// Which command ran the engine: the messages differ for a full disk and inaccessible files.
enum class EngineCommand {
  kCopy,      // copy, copy under another name, copy by drop
  kMove,      // the move command
  kMoveDrop,  // a move by drop
};

// The message for an engine result (EngineResult) given the error code of the last copy step.
// Results 0 and 1, and -6 (Cancel at the overwrite question), show nothing.
CommandMessage EngineResultMessage(EngineCommand command, int result, int lastCopyError);
// The same for the command's last engine call (LastCopyError); a second write to one
// destination refused by the command's ledger names both sources, a destination directory
// refused for being a link names it (the text is kept in storage).
CommandMessage EngineFailureMessage(EngineCommand command, int result, const OperationUi& ui,
                                    std::string& storage);

// "%s はディレクトリへのリンクのため…": a tree copy or move refused to merge into a destination
// directory that is a link, whose files belong to the directory it leads to.
std::string DestinationLinkMessage(const char* path);

// "%s は削除できません。他のプロセスが使用していないか確認して下さい" for an entry name.
std::string CannotDeleteMessage(const char* name);

// The refusal for an entry whose listed name does not lead back to it (a look-alike, a name
// the path calls rewrite) and that has no 8.3 alias either (table::SM_DAT::AddressName() is
// null): "%s はこの名前のままでは扱えず、短い名前もないため操作できません".
std::string NoUsableNameMessage(const char* name);
// A link to a file that was neither deleted nor moved, by its path's last component.
std::string FileLinkMessage(const char* path);

}  // namespace fileops
