#include "app/help_display.h"

#include <cstdio>

#include "os/mbcs.h"
#include "os/path_text.h"
#include "os/services.h"

namespace app {
namespace {

bool PlainAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c < 0x20 || c >= 0x7F) return false;
  return true;
}

uint32_t ViewerCommand(HelpRequest request) {
  switch (request) {
    case HelpRequest::kContents: return os::HelpViewer::kFinder;
    case HelpRequest::kContext: return os::HelpViewer::kContext;
    case HelpRequest::kHelpOnHelp: return os::HelpViewer::kHelpOnHelp;
    case HelpRequest::kQuit: break;
  }
  return os::HelpViewer::kQuit;
}

}  // namespace

std::string HelpPagePath(const std::string& helpFilePath) {
  const char* path = helpFilePath.c_str();
  const char* dot = mbcs::FindLastChar(os::FileNamePart(path), '.');
  return helpFilePath.substr(0, dot ? static_cast<size_t>(dot - path) : helpFilePath.size()) +
         ".htm";
}

std::string HelpPageTarget(const std::string& helpFilePath, HelpRequest request, int context) {
  if (request == HelpRequest::kQuit) return std::string();
  const std::string page = HelpPagePath(helpFilePath);
  if (!PlainAscii(page)) return page;
  std::string url = "file:///";
  for (char c : page) {
    if (c == '\\')
      url += '/';
    else if (c == ' ' || c == '#' || c == '%' || c == '"') {
      char escaped[4];
      std::snprintf(escaped, sizeof(escaped), "%%%02X", static_cast<unsigned char>(c));
      url.append(escaped);
    } else {
      url += c;
    }
  }
  // The page's anchors are the topics' context numbers (2002 is its help on help).
  if (request == HelpRequest::kContext) url.append("#").append(std::to_string(context));
  if (request == HelpRequest::kHelpOnHelp) url.append("#2002");
  return url;
}

HelpShown ShowHelp(uintptr_t owner, const std::string& helpFilePath, HelpRequest request,
                   int context) {
  os::HelpViewer& viewer = os::Help();
  const uintptr_t data = request == HelpRequest::kContext ? static_cast<uintptr_t>(context) : 0;
  if (viewer.WinHelp(owner, helpFilePath.c_str(), ViewerCommand(request), data))
    return HelpShown::kViewer;
  const std::string target = HelpPageTarget(helpFilePath, request, context);
  if (target.empty()) return HelpShown::kNothing;
  return viewer.ShellOpen(owner, target.c_str()) ? HelpShown::kPage : HelpShown::kNothing;
}

}  // namespace app
