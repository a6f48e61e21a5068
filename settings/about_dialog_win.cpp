#include "settings/about_dialog_win.h"

#include <cstring>
#include <string>

#include "settings/version_text.h"
#include "resources/about_dialog_ids.h"

namespace {
constexpr std::size_t kFileNameMax = 255;
}

ProjectRCVersion::ProjectRCVersion() {
  char name[kFileNameMax + 1] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, name, kFileNameMax);
  if (n == 0 || n >= kFileNameMax) return;
  Load(name);
}

void ProjectRCVersion::Load(const char* fileName) {
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(fileName, &handle);
  if (size == 0) return;
  block_.resize(size);
  void* entry = nullptr;
  UINT entrySize = 0;
  if (!::GetFileVersionInfoA(fileName, 0, size, block_.data()) ||
      !::VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation", &entry, &entrySize) ||
      !entry || entrySize < sizeof(uint32_t)) {
    block_.clear();  // no translation: every query fails
    return;
  }
  uint32_t stored = 0;
  std::memcpy(&stored, entry, sizeof(stored));
  translation_ = settings::SwapTranslation(stored);
}

bool ProjectRCVersion::Query(const char* field, std::string& text) const {
  if (block_.empty()) return false;
  const std::string path = settings::VersionFieldPath(translation_, field);
  void* value = nullptr;
  UINT length = 0;
  // VerQueryValueA takes a non-const block; it does not change it.
  if (!::VerQueryValueA(const_cast<char*>(block_.data()), path.c_str(), &value, &length) ||
      !value)
    return false;
  const char* s = static_cast<const char*>(value);
  std::size_t n = 0;
  while (n < length && s[n]) ++n;  // the length counts the terminator
  text.assign(s, n);
  return true;
}

fwsAboutDlg::fwsAboutDlg() : fw::Dialog(IDD_ABOUT) {}

bool fwsAboutDlg::OnInit() {
  fw::Dialog::OnInit();
  const ProjectRCVersion version;
  std::string name, number, text;
  if (version.Query("ProductName", name) && version.Query("ProductVersion", number))
    SetItemText(IDC_ABOUT_VERSION, settings::VersionLine(ItemText(IDC_ABOUT_VERSION), number).c_str());
  if (version.Query("LegalCopyright", text)) SetItemText(IDC_ABOUT_COPYRIGHT, text.c_str());
  if (version.Query("SpecialBuild", text)) SetItemText(IDC_ABOUT_BUILD, text.c_str());
  return true;
}
