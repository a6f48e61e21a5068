#include "fileops/drop_run.h"

#include "fileops/engine.h"
#include "fileops/engine_path.h"
#include "fileops/link_create.h"
#include "os/path_text.h"
#include "os/services.h"

namespace fileops {
namespace {

// One file moved or copied: the engine's result.
int Transfer(const OperationUi& ui, DropMode mode, const std::string& source,
             const std::string& destination, bool directory, CopyBuffer& buffer) {
  if (mode == DropMode::kMove)
    return directory ? MoveTree(ui, source.c_str(), destination.c_str(), buffer.Data(),
                                buffer.Size())
                     : MoveOneFile(ui, source.c_str(), destination.c_str(), buffer.Data(),
                                   buffer.Size(), true);
  return directory ? CopyTree(ui, source.c_str(), destination.c_str(), buffer.Data(),
                              buffer.Size())
                   : CopyOneFile(ui, source.c_str(), destination.c_str(), buffer.Data(),
                                 buffer.Size());
}

}  // namespace

int RunDrop(const OperationUi& ui, DropMode mode, const std::string& target,
            const std::vector<std::string>& files, uint32_t windowsMajor,
            const ShowCommandMessage& show) {
  CopyBuffer buffer;
  if (!buffer) {
    show(kMsgNoMemory);
    return -2;
  }
  const std::string directory = WithTrailingBackslash(target);
  for (const std::string& file : files) {
    const uint32_t attributes = os::Fs().GetAttributes(file.c_str());
    const char* name = os::FileNamePart(file.c_str());
    if (attributes == os::kInvalidAttributes || !*name) {
      show({0, kMsgDroppedFileInaccessible});
      return -3;
    }
    const bool isDirectory = (attributes & 0x10) != 0;
    if (mode == DropMode::kLink) {
      const int r =
          windowsMajor >= 4
              ? CreateShortcut(file.c_str(), directory.c_str(), "",
                               ShortcutWorkingDirectory(file.c_str(), isDirectory).c_str())
              : CreateLinkFile(file.c_str(), directory.c_str(), nullptr);
      if (r != 0) show(kMsgCannotMakeLink);
      continue;
    }
    std::string destination;
    if (!EntryDestination(directory, name, destination)) {
      show(mode == DropMode::kMove ? kMsgMoveNameTooLong : kMsgCopyNameTooLong);
      return -1;
    }
    const int r = Transfer(ui, mode, file, destination, isDirectory, buffer);
    if (r >= 0) continue;
    std::string text;
    show(EngineFailureMessage(
        mode == DropMode::kMove ? EngineCommand::kMoveDrop : EngineCommand::kCopy, r, ui, text));
    return -1;
  }
  return 0;
}

}  // namespace fileops
