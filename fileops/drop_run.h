// The work of a drop onto a table, after its question: every dropped file copied, moved or
// linked into the target directory through the engine, in the order dropped. Portable: the
// window side supplies the dialogs (in ui) and where messages go.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fileops/drop_policy.h"
#include "fileops/engine_messages.h"
#include "fileops/engine_ui.h"

namespace fileops {

constexpr const char* kMsgDroppedFileInaccessible =
    "ドロップファイルのアクセス中に異常が発生しました";

using ShowCommandMessage = std::function<void(const CommandMessage&)>;

// files: full paths as the drop block gave them (already checked). target: the directory the
// drop lands in. 0 done; -1 stopped by an engine error (or a cancel), -2 no memory, -3 a
// dropped file could not be examined. A copy or move error stops at that file, files already
// handled stay handled; a link error is shown and the next file is tried.
int RunDrop(const OperationUi& ui, DropMode mode, const std::string& target,
            const std::vector<std::string>& files, uint32_t windowsMajor,
            const ShowCommandMessage& show);

}  // namespace fileops
