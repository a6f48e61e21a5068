#include "exec/input_use.h"

namespace exec {
namespace {

constexpr const char* kAllFiles = "すべてのﾌｧｲﾙ (*.*)|*.*|";

const InputUse kUses[] = {
    // kCopy
    {"ファイルのコピー", "コピー先名を入力して下さい", "HistCopy", 40, 260, InputBrowse::kFolder,
     nullptr, false, "コピー先名が長すぎます"},
    // kMove
    {"ファイルの移動", "移動先名を入力して下さい", "HistCopy", 40, 260, InputBrowse::kFolder,
     nullptr, false, "移動先名が長すぎます"},
    // kDuplicate
    {"ファイルを別名でコピー", "コピー先名を入力して下さい", "HistRename", 40, 260,
     InputBrowse::kFile, kAllFiles, true, "コピー先名が長すぎます"},
    // kMakeDir
    {"ディレクトリの作成", "ディレクトリ名を入力して下さい", "HistMkdir", 40, 260,
     InputBrowse::kNone, nullptr, false, "ディレクトリ名が長すぎます"},
    // kChangePath
    {"カレントパスの変更", "変更先ドライブ・ディレクトリを入力して下さい", "HistChdir", 40, 260,
     InputBrowse::kFolder, nullptr, false, "パス名が長すぎます"},
    // kMask
    {"表示ファイルの種類を指定", "表示するファイルの名前や拡張子を入力して下さい", "HistMask",
     40, 1024, InputBrowse::kNone, nullptr, false, "表示ファイルの種類が長すぎます"},
    // kRun
    {"キー入力しプログラムを実行", "開きたいファイルやプログラムの名前を入力して下さい",
     "HistRun", 40, 1024, InputBrowse::kFile,
     "実行可能ﾌｧｲﾙ (*.EXE...)|*.EXE;*.PIF;*.BAT;*.COM|すべてのﾌｧｲﾙ (*.*)|*.*|", false,
     "パス名が長すぎます"},
    // kConfigPath
    {"コンフィグレーションファイル", "フルパス名を入力して下さい", "HistConfigPath", 20, 260,
     InputBrowse::kFile, "ｺﾝﾌｨｸﾞﾚｰｼｮﾝ (*.cfg)|*.cfg|すべてのﾌｧｲﾙ (*.*)|*.*|", false,
     "パス名が長すぎます"},
    // kHiddenTypes
    {"非表示ﾌｧｲﾙﾀｲﾌﾟ指定", "表示しないﾌｧｲﾙのﾀｲﾌﾟ(拡張子)を指定して下さい", "HistHidden", 40,
     1024, InputBrowse::kNone, nullptr, false, "ファイルタイプの指定が長すぎます"},
    // kAssociation
    {"ファイルのプログラムとの関連づけ", nullptr, nullptr, 0, 260, InputBrowse::kFile,
     "ｱﾌﾟﾘｹｰｼｮﾝ (*.EXE)|*.EXE|すべてのﾌｧｲﾙ (*.*)|*.*|", false, "プログラム名が長すぎます"},
};
static_assert(sizeof(kUses) / sizeof(kUses[0]) ==
              static_cast<int>(InputQuestion::kAssociation) + 1);

}  // namespace

const InputUse& UseOf(InputQuestion question) {
  return kUses[static_cast<int>(question)];
}

InputBrowse BrowseOn(const InputUse& use, uint32_t windowsMajorVersion) {
  if (use.browse == InputBrowse::kFolder && windowsMajorVersion < 4) return InputBrowse::kNone;
  return use.browse;
}

int LayoutFor(InputBrowse browse) {
  return browse == InputBrowse::kNone ? kInputLayout : kInputBrowseLayout;
}

}  // namespace exec
