// The little state the engine keeps for the running command: the error code of the last failed
// copy step and the recycle-bin switch of the delete command. (The cancel test belongs to the
// command's OperationUi.)
#pragma once
#include <string>

namespace fileops {

// The error code saved when an open, create, read or write of a copy fails (CopyErrorCode
// values, see engine_errors.h); 0 when the last copy had no such failure. Each copy and move
// operation sets it to 0 when it starts. Callers pass it to ErrorCodeMessage.
int LastCopyError();
void SetLastCopyError(int code);
// Saves the error code of the OS call that just failed (os::LastError) as LastCopyError and
// returns result.
int FailWithOsError(int result);

// The destination directory a tree copy refused because it is a link (LastCopyError
// kErrnoDestinationLink), for the message to name it.
const std::string& RefusedLinkPath();
void SetRefusedLinkPath(const std::string& path);

// A delete or move of a link to a file would reach the file it leads to (Wine resolves such
// a link whenever it opens the path): it is refused. RefuseFileLink sets LastCopyError to
// kErrnoFileLink, remembers the path as RefusedLinkPath, and returns kEngineFailed.
int RefuseFileLink(const char* path);

// Set by the delete command before it starts: true sends deleted files to the recycle bin.
bool RecycleDeletes();
void SetRecycleDeletes(bool toRecycleBin);


}  // namespace fileops
