// Values shared by the copy, move and delete engine and the dialogs and commands that drive it:
// result codes, the answers of the two questions, the progress dialog's controls.
#pragma once
#include <cstdint>

namespace fileops {

// Every command that copies or moves allocates one buffer of this size for its whole run; it
// is also the size from which the progress dialog shows a file's total size.
constexpr uint32_t kCopyBufferSize = 48000;

// What an engine operation returns.
enum EngineResult : int {
  kEngineSameFile = 1,            // source and destination are one file or directory
  kEngineOk = 0,                  // done, or skipped by the user's answer
  kEngineFailed = -1,             // open, create, read or delete failed (see LastCopyError)
  kEngineDiskFull = -2,           // a write wrote fewer bytes than asked
  kEnginePathTooLong = -3,        // a path built in a tree walk does not fit
  kEngineInsideSource = -4,       // the destination lies inside the source directory
  kEngineCancelled = -5,          // the progress dialog's Cancel
  kEngineQuestionCancelled = -6,  // Cancel at the overwrite question (no message)
  kEngineSourceDenied = -7,       // the source cannot be accessed
  kEngineDestinationDenied = -8,  // the destination cannot be accessed
};

// The overwrite question's buttons (CPCHK_D), which are also its remembered answers.
enum OverwriteAnswer : int {
  kOverwriteYes = 1,
  kOverwriteCancel = 2,
  kOverwriteNewerOnly = 601,
  kOverwriteAll = 602,
  kOverwriteNo = 603,
};

// The read-only delete question's buttons (DCHK_DLG).
enum ReadOnlyAnswer : int {
  kReadOnlyYes = 1,
  kReadOnlyCancel = 2,
  kReadOnlyDeleteAll = 501,
  kReadOnlyNo = 502,
};

// Controls of the progress dialog (PROC_DLG). The command sets the labels and the destination;
// the engine writes the path, the sizes and the gauge.
enum ProgressControl : int {
  kProgressFirstLabel = 10001,   // "ファイル" or "削除"
  kProgressSecondLabel = 10002,  // "コピー先 " or "移動先"
  kProgressPath = 10003,         // the file being worked on
  kProgressDestination = 10004,  // the destination directory or name
  kProgressDone = 10005,         // bytes done so far
  kProgressTotal = 10006,        // the file's total size
  kProgressSlash = 10007,        // "/" while a total is shown
  kProgressGauge = 101,
  kProgressCancel = 2,
};
constexpr int kGaugeMax = 10000;

}  // namespace fileops
