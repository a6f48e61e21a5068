#include "fileops/attribute_dialogs_win.h"

#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "resources/fileops_dialog_ids.h"

namespace fileops {

const AttributeBox kAttributeBoxes[4] = {{IDC_ATTR_HIDDEN, 0x02},
                                         {IDC_ATTR_READONLY, 0x01},
                                         {IDC_ATTR_ARCHIVE, 0x20},
                                         {IDC_ATTR_SYSTEM, 0x04}};

namespace {

// Reads the fields back whole; false, with the field refused and focused, when one of them
// does not fit (the dialog then stays open).
bool ReadFields(const fw::Dialog& d, std::initializer_list<std::pair<int, AttributeField>> ids,
                std::initializer_list<std::string*> into) {
  std::vector<std::string> texts;
  for (const auto& [id, field] : ids) {
    texts.push_back(d.ItemText(id));
    if (const char* refusal = AttributeFieldRefusal(field, texts.back())) {
      char caption[128] = {};
      ::GetWindowTextA(d.Handle(), caption, sizeof(caption));
      ::MessageBoxA(d.Handle(), refusal, caption, MB_OK | MB_ICONEXCLAMATION);
      d.FocusItem(id);
      return false;
    }
  }
  std::size_t i = 0;
  for (std::string* out : into) *out = std::move(texts[i++]);
  return true;
}

void LimitField(const fw::Dialog& d, int id) {
  ::SendMessageA(d.Item(id), EM_LIMITTEXT, kAttributeFieldBytes, 0);
}

}  // namespace

AttributeDialog::AttributeDialog() : fw::Dialog(IDD_ATTRIBUTES) {}

bool AttributeDialog::OnInit() {
  PlaceByOwnerChain();
  for (int id : {IDC_ATTR_NAME, IDC_ATTR_DATE, IDC_ATTR_TIME, IDC_ATTR_TARGET, IDC_ATTR_CURRENT})
    LimitField(*this, id);
  SetItemText(IDC_ATTR_NAME, AttributeFieldText(name).c_str());
  SetItemText(IDC_ATTR_SIZE, size.c_str(), kAttributeFieldBytes);
  SetItemText(IDC_ATTR_DATE, date.c_str(), kAttributeFieldBytes);
  SetItemText(IDC_ATTR_TIME, time.c_str(), kAttributeFieldBytes);
  for (const AttributeBox& box : kAttributeBoxes)
    ::CheckDlgButton(Handle(), box.control, (attributes & box.bit) ? BST_CHECKED : BST_UNCHECKED);
  if (linkFile) {
    SetItemText(IDC_ATTR_TARGET, AttributeFieldText(target).c_str());
    SetItemText(IDC_ATTR_CURRENT, AttributeFieldText(current).c_str());
  } else {
    // The link rows sit below the buttons: cut the dialog off above them.
    ::EnableWindow(Item(IDC_ATTR_TARGET), FALSE);
    ::EnableWindow(Item(IDC_ATTR_CURRENT), FALSE);
    RECT field{}, window{}, client{};
    ::GetWindowRect(Item(IDC_ATTR_TARGET), &field);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&field), 2);
    ::GetWindowRect(Handle(), &window);
    ::GetClientRect(Handle(), &client);
    const int frame = (window.bottom - window.top) - client.bottom;
    ::SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left, field.top - 4 + frame,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

void AttributeDialog::OnOK() {
  if (linkFile) {
    if (!ReadFields(*this,
                    {{IDC_ATTR_NAME, AttributeField::kName},
                     {IDC_ATTR_DATE, AttributeField::kDate},
                     {IDC_ATTR_TIME, AttributeField::kTime},
                     {IDC_ATTR_TARGET, AttributeField::kTarget},
                     {IDC_ATTR_CURRENT, AttributeField::kWorkingDirectory}},
                    {&name, &date, &time, &target, &current}))
      return;
  } else if (!ReadFields(*this,
                         {{IDC_ATTR_NAME, AttributeField::kName},
                          {IDC_ATTR_DATE, AttributeField::kDate},
                          {IDC_ATTR_TIME, AttributeField::kTime}},
                         {&name, &date, &time})) {
    return;
  }
  for (const AttributeBox& box : kAttributeBoxes) {
    if (::IsDlgButtonChecked(Handle(), box.control) == BST_CHECKED)
      attributes |= box.bit;
    else
      attributes &= ~box.bit;
  }
  Close(IDOK);
}

AttributeManyDialog::AttributeManyDialog() : fw::Dialog(IDD_ATTRIBUTES_MANY) {}

int AttributeManyDialog::NextState(int current, bool startedIndeterminate) {
  if (!startedIndeterminate) return current == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  switch (current) {
    case BST_INDETERMINATE: return BST_CHECKED;
    case BST_CHECKED: return BST_UNCHECKED;
    default: return BST_INDETERMINATE;
  }
}

bool AttributeManyDialog::OnInit() {
  PlaceByOwnerChain();
  char text[64];
  std::snprintf(text, sizeof(text), "%ld 個のﾌｧｲﾙが選択されました", count);
  SetItemText(IDC_ATTR_NAME, text);
  LimitField(*this, IDC_ATTR_DATE);
  LimitField(*this, IDC_ATTR_TIME);
  for (int i = 0; i < 4; ++i) {
    startedIndeterminate_[i] = state[i] == BST_INDETERMINATE;
    ::CheckDlgButton(Handle(), kAttributeBoxes[i].control, state[i]);
  }
  return true;
}

bool AttributeManyDialog::OnCommand(int id, int notifyCode, HWND) {
  if (notifyCode != BN_CLICKED) return false;
  for (int i = 0; i < 4; ++i) {
    if (kAttributeBoxes[i].control != id) continue;
    const int now = static_cast<int>(::IsDlgButtonChecked(Handle(), id));
    ::CheckDlgButton(Handle(), id, NextState(now, startedIndeterminate_[i]));
    return true;
  }
  return false;
}

void AttributeManyDialog::OnOK() {
  if (!ReadFields(*this,
                  {{IDC_ATTR_DATE, AttributeField::kDate}, {IDC_ATTR_TIME, AttributeField::kTime}},
                  {&date, &time}))
    return;
  for (int i = 0; i < 4; ++i)
    state[i] = static_cast<int>(::IsDlgButtonChecked(Handle(), kAttributeBoxes[i].control));
  Close(IDOK);
}

}  // namespace fileops
