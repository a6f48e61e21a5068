// Showing the program's help: the topic in the system's help viewer (sorm32.hlp), or, where
// the system has none (Windows since Vista ships none, and WinHelpA fails), the same topic of
// the HTML page generated beside it (sorm32.htm, one anchor a topic) through the shell.
#pragma once
#include <cstdint>
#include <string>

namespace app {

enum class HelpRequest {
  kContents,    // F1, command 2001: the contents topic
  kContext,     // F1 in a menu, context help: the topic of a command number
  kHelpOnHelp,  // command 2002: the viewer's own help (the page: the program's topic 2002)
  kQuit,        // at exit: close the viewer when this process opened it
};

enum class HelpShown { kNothing, kViewer, kPage };

// The HTML page that goes with a help file: the same name with ".htm" for its extension.
std::string HelpPagePath(const std::string& helpFilePath);

// What the shell is asked to open for a request: a file URL with the topic's anchor when the
// page's path is plain ASCII ("file:///C:/Sorumo/sorm32.htm#184"); otherwise the page's path
// itself (its contents topic comes first), since a URL carries no code page. Empty for kQuit.
std::string HelpPageTarget(const std::string& helpFilePath, HelpRequest request, int context);

// WinHelpA first; when it fails, the page through the shell. kViewer only when the viewer took
// the request (the program then closes it at exit).
HelpShown ShowHelp(uintptr_t owner, const std::string& helpFilePath, HelpRequest request,
                   int context = 0);

}  // namespace app
