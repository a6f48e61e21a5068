#include "exec/input_dialogs_win.h"

#include "exec/browse_win.h"
#include "exec/input_text.h"
#include "os/path_text.h"
#include "resources/input_dialog_ids.h"

namespace {

constexpr const char* kAllFilesFilter = "すべてのﾌｧｲﾙ (*.*)|*.*|";

void ShowLockError() { ::MessageBoxA(nullptr, "Lock error", "Error", MB_OK); }

}  // namespace

void INPUT_D::SetupInput(const char* captionText, const char* promptText, char* answerBuffer,
                         std::size_t size, const char* sectionName, int capacity) {
  caption = captionText ? captionText : "";
  prompt = promptText ? promptText : "";
  answer = answerBuffer;
  answerSize = size;
  section = sectionName ? sectionName : "";
  history.SetCapacity(capacity);
}

bool INPUT_D::OnInit() {
  fw::Dialog::OnInit();
  history.Clear();
  if (!section.empty() && !exec::LoadHistory(history, section)) ShowLockError();
  for (const std::string& choice : choices) history.AddAnswer(choice.c_str());
  SetCaption(caption.c_str());
  SetItemText(IDC_INPUT_PROMPT, prompt.c_str());
  HWND combo = Item(IDC_INPUT_COMBO);
  // The limit counts characters, the buffer bytes: it only keeps typing near the buffer's
  // size (with room for the quotes of a browsed path); OK checks the bytes.
  if (answerSize > 0) ::SendMessageA(combo, CB_LIMITTEXT, answerSize + 1, 0);
  SetItemText(IDC_INPUT_COMBO, exec::BufferText(answer, answerSize).c_str());
  for (const std::string& choice : history.NewestFirst())
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
  FocusItem(IDC_INPUT_COMBO);
  return false;
}

void INPUT_D::OnOK() {
  // Read back whole: an answer that does not fit is refused and the dialog stays open, since
  // a cut path would name another file or folder.
  std::string text = ItemText(IDC_INPUT_COMBO);
  if (!exec::AnswerFits(text, answerSize)) {
    ::MessageBoxA(Handle(), tooLong.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
    FocusItem(IDC_INPUT_COMBO);
    return;
  }
  result = text;
  // The caller's buffer holds the answer only when it fits there as it stands (a quoted path
  // takes two bytes more); result always holds it.
  exec::CopyAnswer(os::FitsBuffer(text, answerSize) ? text : std::string(), answer, answerSize);
  if (!section.empty() && !exec::StoreAnswer(history, section, text.c_str())) ShowLockError();
  Close(IDOK);
}

bool INPUT_D::OnCommand(int id, int notifyCode, HWND control) {
  if (id != IDC_INPUT_BROWSE || notifyCode != BN_CLICKED) return false;
  std::string path = Browse();
  if (!path.empty()) SetItemText(IDC_INPUT_COMBO, path.c_str());
  FocusItem(IDC_INPUT_COMBO);
  return true;
}

void INPUT2_D::SetupInput(const char* captionText, const char* promptText, char* answerBuffer,
                          std::size_t size, const char* sectionName, int capacity,
                          const char* filterText) {
  INPUT_D::SetupInput(captionText, promptText, answerBuffer, size, sectionName, capacity);
  filter = filterText ? filterText : "";
}

std::string INPUT2_D::Browse() {
  std::string path = exec::BrowseForFile(Handle(), "参照", filter.c_str());
  return path.empty() || !quoteBlanks ? path : exec::QuoteIfBlank(path);
}

std::string INPUT3_D::Browse() {
  return exec::BrowseForFolder(Handle(), "フォルダを選択して下さい");
}

void KEYIN_D::SetTexts(const char* titleText, const char* valueText) {
  title = exec::CutToBytes(titleText ? titleText : "", kTextMax);
  value = exec::CutToBytes(valueText ? valueText : "", kTextMax);
}

bool KEYIN_D::OnInit() {
  fw::Dialog::OnInit();
  SetItemText(IDC_KEYIN_TITLE, title.c_str());
  SetItemText(IDC_KEYIN_VALUE, value.c_str());
  FocusItem(IDC_KEYIN_TITLE);
  return false;
}

void KEYIN_D::OnOK() {
  title = exec::CutToBytes(ItemText(IDC_KEYIN_TITLE), kTextMax - 1);
  value = exec::CutToBytes(ItemText(IDC_KEYIN_VALUE), kTextMax - 2);
  Close(IDOK);
}

bool KEYIN_D2::OnCommand(int id, int notifyCode, HWND control) {
  if (id != IDC_KEYIN_BROWSE || notifyCode != BN_CLICKED) return false;
  std::string path = exec::BrowseForFile(Handle(), nullptr, kAllFilesFilter);
  if (!path.empty()) SetItemText(IDC_KEYIN_VALUE, exec::QuoteIfBlank(path).c_str());
  FocusItem(IDC_KEYIN_VALUE);
  return true;
}
