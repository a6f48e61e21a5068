// The policies of the two questions of a command. Each question dialog remembers its last
// answer for the rest of the command, and that answer decides what happens next:
//
//   remembered    next existing destination                next read-only entry
//   Yes (first)   ask                                      ask
//   No            ask                                      ask
//   NewerOnly     overwrite only a strictly older one      -
//   OverwriteAll  overwrite, no question                   -
//   DeleteAll     -                                        delete, no question
//   Cancel        the command ends                         the command ends
#pragma once
#include "fileops/engine_ui.h"
#include "os/types.h"

namespace fileops {

// Whether the existing destination is overwritten by source: Yes, OverwriteAll, No or Cancel
// (never NewerOnly, which answers Yes or No by the files' times), asked with the command's
// overwrite question. Without one the answer is Yes. Cancel disables the progress dialog's
// Cancel button, so every following engine call of the command stops.
int AskOverwrite(const OperationUi& ui, const char* source, const char* destination);

// Whether the read-only entry path is deleted: Yes, DeleteAll, No or Cancel. Yes and DeleteAll
// take the read-only attribute away; without a read-only dialog the answer is Yes and the
// entry is left as it is. Cancel disables the progress dialog's Cancel button. The question
// shows shown when given (the entry's name as the table lists it), else path.
int AskDeleteReadOnly(const OperationUi& ui, const char* path, const char* shown = nullptr);

// The newer-only rule on two last-write times: overwrite only when the source is newer in
// whole seconds (a destination of the same second is kept). A missing time never overwrites.
bool SourceIsNewer(const os::FileTime* source, const os::FileTime* destination);

}  // namespace fileops
