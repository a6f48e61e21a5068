#include "fileops/engine_messages.h"

#include "fileops/engine_errors.h"
#include "fileops/engine_path.h"
#include "fileops/engine_state.h"
#include "fileops/engine_types.h"

namespace fileops {

const CommandMessage kMsgNoMemory{11, "メモリが確保できません"};
const CommandMessage kMsgCopyNameTooLong{13, "コピー先名が長すぎます"};
const CommandMessage kMsgCannotMakeDirectory{14, "ディレクトリを作成することができません"};
const CommandMessage kMsgCopyDiskFull{15, "コピー先ディスクの空き容量が足りません"};
const CommandMessage kMsgRecursiveCopy{16, "サブディレクトリに対して再帰的なコピーはできません"};
const CommandMessage kMsgCancelled{17, "処理はキャンセルされました"};
const CommandMessage kMsgMoveNameTooLong{18, "移動先名が長すぎます"};
const CommandMessage kMsgMoveDiskFull{20, "移動先ディスクの空き容量が足りません"};
const CommandMessage kMsgCannotMakeLink{21, "リンクを作成することができません"};
const CommandMessage kMsgSourceInaccessible{
    25, "ｺﾋﾟｰ元ﾌｧｲﾙにｱｸｾｽできません。属性及び他のﾌﾟﾛｾｽが使用していないかを確認して下さい"};
const CommandMessage kMsgDestinationInaccessible{
    26, "ｺﾋﾟｰ先ﾌｧｲﾙにｱｸｾｽできません。属性及び他のﾌﾟﾛｾｽが使用していないかを確認して下さい"};
const CommandMessage kMsgCopyDestinationInvalid{0, "コピー先名が正しくありません"};
const CommandMessage kMsgMoveDestinationInvalid{0, "移動先名が正しくありません"};

CommandMessage EngineResultMessage(EngineCommand command, int result, int lastCopyError) {
  const bool copy = command == EngineCommand::kCopy;
  switch (result) {
    case kEngineSameFile:
    case kEngineOk:
    case kEngineQuestionCancelled: return CommandMessage{};
    case kEngineDiskFull: return command == EngineCommand::kMove ? kMsgMoveDiskFull : kMsgCopyDiskFull;
    case kEngineInsideSource: return kMsgRecursiveCopy;
    case kEngineCancelled: return kMsgCancelled;
    case kEngineSourceDenied:
      if (copy) return kMsgSourceInaccessible;
      break;
    case kEngineDestinationDenied:
      if (copy) return kMsgDestinationInaccessible;
      break;
    default: break;
  }
  return CommandMessage{0, ErrorCodeMessage(lastCopyError)};
}

CommandMessage EngineFailureMessage(EngineCommand command, int result, const OperationUi& ui,
                                    std::string& storage) {
  if (result < 0 && LastCopyError() == kErrnoWrittenTwice && ui.written) {
    storage = WrittenTwiceMessage(ui.written->LastRefusal());
    return CommandMessage{0, storage.c_str()};
  }
  if (result < 0 && LastCopyError() == kErrnoDestinationLink) {
    storage = DestinationLinkMessage(RefusedLinkPath().c_str());
    return CommandMessage{0, storage.c_str()};
  }
  if (result < 0 && LastCopyError() == kErrnoFileLink) {
    storage = FileLinkMessage(RefusedLinkPath().c_str());
    return CommandMessage{0, storage.c_str()};
  }
  return EngineResultMessage(command, result, LastCopyError());
}

std::string DestinationLinkMessage(const char* path) {
  return std::string(path) +
         " はディレクトリへのリンクのため、その中へはコピー・移動しません。元のファイルはそのまま残しました";
}

std::string CannotDeleteMessage(const char* name) {
  return std::string(name) + " は削除できません。他のプロセスが使用していないか確認して下さい";
}

std::string FileLinkMessage(const char* path) {
  std::string name(path);
  const std::size_t cut = LastBackslash(name);
  if (cut != std::string::npos) name.erase(0, cut + 1);
  return name + " はファイルへのリンクです。リンク先のファイルに及ぶため、削除・移動はしませんでした";
}

std::string NoUsableNameMessage(const char* name) {
  return std::string(name) +
         " はこの名前のままでは扱えず、短い名前もないため操作できません";
}

}  // namespace fileops
