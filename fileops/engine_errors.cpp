#include "fileops/engine_errors.h"

#include "os/types.h"

namespace fileops {

int CopyErrorFromWin32(uint32_t e) {
  switch (e) {
    case 0: return kErrnoNone;
    case 2: case 3: case 15: case 18: case 53: case 67: case 123: case 161: case 206:
      return kErrnoNoEnt;
    case 4: return kErrnoMFile;
    case 6: case 114: case 130: return kErrnoBadF;
    case 7: case 8: case 9: case 14: case 1816: return kErrnoNoMem;
    case 12: return kErrnoInvAcc;
    case 19: return kErrnoRoFs;
    case 20: case 21: case 55: return kErrnoNoDev;
    case 23: case 29: case 30: case 31: case 64: case 1006: case 1117: return kErrnoIo;
    case 39: case 112: return kErrnoNoSpc;
    case 109: case 232: return kErrnoPipe;
    case 80: case 183: return kErrnoExist;
    case 17: return kErrnoXDev;
    case 5: case 16: case 65: case 82: case 83: case 108: case 132: case 158: case 167:
      return kErrnoAcces;
    default:
      if (e >= 22 && e <= 36) return kErrnoAcces;
      return kErrnoInval;
  }
}

bool IsAccessError(uint32_t e) {
  return e == os::kErrAccessDenied || e == os::kErrSharingViolation || e == os::kErrLockViolation;
}
bool IsNotFoundError(uint32_t e) { return e == os::kErrFileNotFound || e == os::kErrPathNotFound; }
bool IsExistsError(uint32_t e) { return e == os::kErrFileExists || e == os::kErrAlreadyExists; }

const char* ErrorCodeMessage(int code) {
  switch (code) {
    case kErrnoAcces:
      return "ファイルにアクセスできません。属性及び他のプロセスが使用していないかを確認して下さい";
    case kErrnoInvAcc: return "アクセスコードが正しくありません";
    case kErrnoMFile: return "開かれてするファイルが多すぎます";
    case kErrnoNoEnt: return "パス名またはファイル名が見つかりません";
    case kErrnoBadF: return "ファイル番号が不正です";
    case kErrnoNoMem: return "メモリが足りません";
    case kErrnoNoDev: return "指定されたデバイスは存在しません";
    case kErrnoNoSpc: return "デバイスの空き領域がたりません";
    case kErrnoRoFs: return "指定デバイスは書き込み禁止です";
    case kErrnoPipe: return "パイプが破壊されました";
    case kErrnoWrittenTwice:
      return "コピー先には、このコマンドで既に同じ名前の別のファイルを書きました。このファイルは元の場所に残しました";
    case kErrnoFileLink:
      return "ファイルへのリンクは削除・移動できません。リンクとリンク先のファイルは元のままです";
    case kErrnoDestinationLink:
      return "コピー先・移動先のディレクトリがリンクのため、その中へは書き込めません。元のファイルはそのまま残しました";
    case kErrnoLinkLeft:
      return "ディレクトリへのリンクはコピー・移動できません。リンクは元の場所に残しました";
    default:
      return "エラーが発生しました。コピー元、コピー先のデバイスがアクセス可能か確認して下さい";
  }
}

}  // namespace fileops
