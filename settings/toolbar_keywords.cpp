#include "settings/toolbar_keywords.h"

#include <cstring>

#include "config/config_file.h"
#include "os/mbcs.h"
#include "resources/commands.h"

namespace settings {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool WordHoldsKeyword(const std::string& word, const char* keyword) {
  const std::size_t len = std::strlen(keyword);
  const char* s = word.c_str();
  for (const char* p = s; *p; p = mbcs::Next(p)) {
    if (static_cast<std::size_t>(word.size() - (p - s)) < len) return false;
    if (std::memcmp(p, keyword, len) == 0) return true;
  }
  return false;
}

std::vector<std::string> ToolbarWords(const char* value) {
  std::vector<std::string> words;
  if (!value) return words;
  const char* p = value;
  while (*p) {
    while (IsBlank(*p)) ++p;
    const char* start = p;
    while (*p && !IsBlank(*p)) ++p;  // a blank is never a trail byte
    if (p == start) break;
    words.emplace_back(start, p);
  }
  return words;
}

const std::vector<ToolbarKeyword>& ToolbarKeywords() {
  static const std::vector<ToolbarKeyword> keywords = {
      {"FWINOPEN", CMD_FWINOPEN},   {"FOPEN", CMD_FOPEN},
      {"FMOVE", CMD_FMOVE},         {"FCOPY", CMD_FCOPY},
      {"FDELETE", CMD_FDELETE},     {"FDUPLICATE", CMD_FDUPLICATE},
      {"FPROPERTY", CMD_FPROPERTY}, {"FMAKEDIR", CMD_FMAKEDIR},
      {"FLINK_EXT", CMD_FLINK_EXT}, {"FLINK_NAME", CMD_FLINK_NAME},
      {"FLINK_FULL", CMD_FLINK_FULL}, {"FMARKALL", CMD_FMARKALL},
      {"FUNMARKALL", CMD_FUNMARKALL}, {"FQUIT", CMD_FQUIT},
      {"FEXIT", CMD_FEXIT},         {"DKEYIN", CMD_DKEYIN},
      {"DNETADD", CMD_DNETADD},     {"DNETCANCEL", CMD_DNETCANCEL},
      {"MKEYIN", CMD_MKEYIN},       {"VICON", CMD_VICON},
      {"VLIST", CMD_VLIST},         {"VSNAME", CMD_VSNAME},
      {"VSEXT", CMD_VSEXT},         {"VSNEW", CMD_VSNEW},
      {"VSOLD", CMD_VSOLD},         {"VSLARGE", CMD_VSLARGE},
      {"VSSMALL", CMD_VSSMALL},     {"RKEYIN", CMD_RKEYIN},
      {"RREGIST", CMD_RREGIST},     {"VCOLOR", CMD_VCOLOR},
      {"VFONT", CMD_VFONT},         {"VBAR", CMD_VBAR},
      {"VDATA", CMD_VDATA},         {"OSAVEDEFAULT", CMD_OSAVEDEFAULT},
      {"BEDIT", CMD_BEDIT},         {"MEDIT", CMD_MEDIT},
      {"REDIT", CMD_REDIT},         {"HCONTENTS", CMD_HCONTENTS},
  };
  return keywords;
}

std::vector<ToolbarItem> ParseToolbarKeywords(const char* value) {
  std::vector<ToolbarItem> items;
  for (const std::string& word : ToolbarWords(value)) {
    if (mbcs::FindChar(word.c_str(), '/'))
      items.push_back({ToolbarItem::kSeparator, 0, kToolbarSeparatorSize});
    for (const ToolbarKeyword& k : ToolbarKeywords()) {
      if (!WordHoldsKeyword(word, k.word)) continue;
      ToolbarItem::Kind kind =
          k.command == CMD_DKEYIN ? ToolbarItem::kDriveButton : ToolbarItem::kButton;
      items.push_back({kind, k.command, 0});
    }
  }
  return items;
}

std::vector<ToolbarItem> ReadToolbarItems() {
  return ParseToolbarKeywords(
      config::ReadConfigString("BarSettings", "ToolBar", "", kToolbarValueBuffer).c_str());
}

}  // namespace settings
