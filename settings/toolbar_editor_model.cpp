#include "settings/toolbar_editor_model.h"

#include <algorithm>
#include <utility>

#include "settings/toolbar_keywords.h"
#include "resources/commands.h"

namespace settings {

namespace {

int Last(std::size_t size) { return static_cast<int>(size) - 1; }

// The index to select in a list of `size` items after a change: the same, or the last one.
int Reselect(int index, std::size_t size) {
  if (size == 0 || index < 0) return -1;
  return std::min(index, Last(size));
}

}  // namespace

const std::vector<ToolbarChoice>& ToolbarChoices() {
  static const std::vector<ToolbarChoice> choices = {
      {"-- ｾﾊﾟﾚｰﾀ --", "/", 0},
      {"ｿﾙﾓの起動", "FWINOPEN", CMD_FWINOPEN},
      {"ﾌｧｲﾙのｵｰﾌﾟﾝ", "FOPEN", CMD_FOPEN},
      {"ﾌｧｲﾙの移動", "FMOVE", CMD_FMOVE},
      {"ﾌｧｲﾙのコピー", "FCOPY", CMD_FCOPY},
      {"ﾌｧｲﾙの削除", "FDELETE", CMD_FDELETE},
      {"ﾌｧｲﾙの別名コピー", "FDUPLICATE", CMD_FDUPLICATE},
      {"ﾌｧｲﾙの情報変更", "FPROPERTY", CMD_FPROPERTY},
      {"新規ﾃﾞｨﾚｸﾄﾘの作成", "FMAKEDIR", CMD_FMAKEDIR},
      {"拡張子の関連付け", "FLINK_EXT", CMD_FLINK_EXT},
      {"ﾌｧｲﾙ名の関連付け", "FLINK_NAME", CMD_FLINK_NAME},
      {"ﾌｧｲﾙ名+拡張子の関連付け", "FLINK_FULL", CMD_FLINK_FULL},
      {"全ﾌｧｲﾙの選択", "FMARKALL", CMD_FMARKALL},
      {"全ﾌｧｲﾙの選択解除", "FUNMARKALL", CMD_FUNMARKALL},
      {"全てのｿﾙﾓの終了", "FQUIT", CMD_FQUIT},
      {"ｿﾙﾓの終了", "FEXIT", CMD_FEXIT},
      {"ｶﾚﾝﾄﾊﾟｽの変更", "DKEYIN", CMD_DKEYIN},
      {"ﾈｯﾄﾜｰｸﾄﾞﾗｲﾌﾞの接続", "DNETADD", CMD_DNETADD},
      {"ﾈｯﾄﾜｰｸﾄﾞﾗｲﾌﾞの切断", "DNETCANCEL", CMD_DNETCANCEL},
      {"表示ﾌｧｲﾙﾏｽｸの指定", "MKEYIN", CMD_MKEYIN},
      {"大きいｱｲｺﾝで表示", "VICON", CMD_VICON},
      {"一覧で表示", "VLIST", CMD_VLIST},
      {"表示ﾃﾞｰﾀ設定", "VDATA", CMD_VDATA},
      {"名前順に表示", "VSNAME", CMD_VSNAME},
      {"拡張子順に表示", "VSEXT", CMD_VSEXT},
      {"新しい順に表示", "VSNEW", CMD_VSNEW},
      {"旧い順に表示", "VSOLD", CMD_VSOLD},
      {"大きい順に表示", "VSLARGE", CMD_VSLARGE},
      {"小さい順に表示", "VSSMALL", CMD_VSSMALL},
      {"配色設定", "VCOLOR", CMD_VCOLOR},
      {"ﾌｫﾝﾄ設定", "VFONT", CMD_VFONT},
      {"ﾌﾟﾛｸﾞﾗﾑ実行", "RKEYIN", CMD_RKEYIN},
      {"実行ﾒﾆｭｰに登録", "RREGIST", CMD_RREGIST},
      {"ﾃﾞﾌｫﾙﾄ設定として保存", "OSAVEDEFAULT", CMD_OSAVEDEFAULT},
      {"ﾂｰﾙﾊﾞｰの表示", "VBAR", CMD_VBAR},
      {"ﾂｰﾙﾊﾞｰ編集", "BEDIT", CMD_BEDIT},
      {"ﾏｽｸﾒﾆｭｰ編集", "MEDIT", CMD_MEDIT},
      {"実行ﾒﾆｭｰ編集", "REDIT", CMD_REDIT},
      {"ﾍﾙﾌﾟ目次", "HCONTENTS", CMD_HCONTENTS},
  };
  return choices;
}

ToolbarEditorModel::ToolbarEditorModel(const std::string& stored)
    : used_(ToolbarChoices().size(), false) {
  // Each word selects every choice whose keyword it holds, in the editor's order (the toolbar
  // itself tests the keywords in its own order, so glued words may show in another order there).
  const std::vector<ToolbarChoice>& choices = ToolbarChoices();
  for (const std::string& word : ToolbarWords(stored.c_str())) {
    for (std::size_t i = 0; i < choices.size(); ++i) {
      if (!WordHoldsKeyword(word, choices[i].keyword)) continue;
      if (i != 0) used_[i] = true;
      toolbar_.push_back(static_cast<int>(i));
    }
  }
}

std::vector<int> ToolbarEditorModel::Available() const {
  std::vector<int> out;
  for (std::size_t i = 0; i < used_.size(); ++i)
    if (!used_[i]) out.push_back(static_cast<int>(i));
  return out;
}

ToolbarEditorModel::Selection ToolbarEditorModel::Add(Selection sel) {
  const std::vector<int> available = Available();
  if (sel.available < 0 || sel.available > Last(available.size())) return sel;
  const int choice = available[static_cast<std::size_t>(sel.available)];
  if (choice != 0) used_[static_cast<std::size_t>(choice)] = true;
  const bool hasToolbarSelection = sel.toolbar >= 0 && sel.toolbar <= Last(toolbar_.size());
  const int at = hasToolbarSelection ? sel.toolbar + 1 : static_cast<int>(toolbar_.size());
  toolbar_.insert(toolbar_.begin() + at, choice);
  return {Reselect(sel.available, Available().size()), at};
}

ToolbarEditorModel::Selection ToolbarEditorModel::Remove(Selection sel) {
  if (sel.toolbar < 0 || sel.toolbar > Last(toolbar_.size())) return sel;
  const int choice = toolbar_[static_cast<std::size_t>(sel.toolbar)];
  toolbar_.erase(toolbar_.begin() + sel.toolbar);
  if (choice != 0) used_[static_cast<std::size_t>(choice)] = false;
  return {Reselect(sel.available, Available().size()), Reselect(sel.toolbar, toolbar_.size())};
}

int ToolbarEditorModel::MoveUp(int index) {
  if (index <= 0 || index > Last(toolbar_.size())) return index;
  std::swap(toolbar_[static_cast<std::size_t>(index)], toolbar_[static_cast<std::size_t>(index - 1)]);
  return index - 1;
}

int ToolbarEditorModel::MoveDown(int index) {
  if (index < 0 || index >= Last(toolbar_.size())) return index;
  std::swap(toolbar_[static_cast<std::size_t>(index)], toolbar_[static_cast<std::size_t>(index + 1)]);
  return index + 1;
}

std::string ToolbarEditorModel::Compose() const {
  std::string out;
  for (int choice : toolbar_) {
    out += ToolbarChoices()[static_cast<std::size_t>(choice)].keyword;
    out += ' ';
  }
  return out;
}

}  // namespace settings
