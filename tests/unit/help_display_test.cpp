#include "app/help_display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "os/services.h"

namespace {

// Records every request; the viewer and the shell answer as told.
class RecordingViewer final : public os::HelpViewer {
 public:
  struct Call {
    std::string what;  // "help" or "open"
    std::string target;
    uint32_t command;
    uintptr_t data;
  };
  bool viewerWorks = true;
  bool shellWorks = true;
  std::vector<Call> calls;

  bool WinHelp(uintptr_t, const char* file, uint32_t command, uintptr_t data) override {
    calls.push_back({"help", file, command, data});
    return viewerWorks;
  }
  bool ShellOpen(uintptr_t, const char* target) override {
    calls.push_back({"open", target, 0, 0});
    return shellWorks;
  }
};

class HelpDisplayTest : public ::testing::Test {
 protected:
  RecordingViewer viewer_;
  os::ScopedServices scoped_{Viewer(viewer_)};

 private:
  static os::Services Viewer(os::HelpViewer& v) {
    os::Services s;
    s.helpViewer = &v;
    return s;
  }
};

TEST_F(HelpDisplayTest, TheViewerShowsTheTopicAndTheShellIsNotAsked) {
  struct Case {
    app::HelpRequest request;
    int context;
    uint32_t command;
    uintptr_t data;
  } cases[] = {
      {app::HelpRequest::kContents, 0, os::HelpViewer::kFinder, 0},
      {app::HelpRequest::kContext, 184, os::HelpViewer::kContext, 184},
      {app::HelpRequest::kHelpOnHelp, 0, os::HelpViewer::kHelpOnHelp, 0},
      {app::HelpRequest::kQuit, 0, os::HelpViewer::kQuit, 0},
  };
  for (const Case& c : cases) {
    viewer_.calls.clear();
    EXPECT_EQ(app::ShowHelp(7, "C:\\Sorumo\\sorm32.hlp", c.request, c.context),
              app::HelpShown::kViewer);
    ASSERT_EQ(viewer_.calls.size(), 1u);
    EXPECT_EQ(viewer_.calls[0].what, "help");
    EXPECT_EQ(viewer_.calls[0].target, "C:\\Sorumo\\sorm32.hlp");
    EXPECT_EQ(viewer_.calls[0].command, c.command);
    EXPECT_EQ(viewer_.calls[0].data, c.data);
  }
}

TEST_F(HelpDisplayTest, WithoutAViewerThePageOpensAtTheSameTopic) {
  viewer_.viewerWorks = false;
  struct Case {
    std::string helpFile;
    app::HelpRequest request;
    int context;
    std::string opened;  // "" when nothing is opened
    app::HelpShown shown;
  } cases[] = {
      {"C:\\Sorumo\\sorm32.hlp", app::HelpRequest::kContext, 184,
       "file:///C:/Sorumo/sorm32.htm#184", app::HelpShown::kPage},
      {"C:\\Program Files\\Sorumo 32\\sorm32.hlp", app::HelpRequest::kContext, 24332,
       "file:///C:/Program%20Files/Sorumo%2032/sorm32.htm#24332", app::HelpShown::kPage},
      {"C:\\Sorumo\\sorm32.hlp", app::HelpRequest::kContents, 0, "file:///C:/Sorumo/sorm32.htm",
       app::HelpShown::kPage},
      {"C:\\Sorumo\\sorm32.hlp", app::HelpRequest::kHelpOnHelp, 0,
       "file:///C:/Sorumo/sorm32.htm#2002", app::HelpShown::kPage},
      {"D:\\a#b\\sorm32.hlp", app::HelpRequest::kContext, 1, "file:///D:/a%23b/sorm32.htm#1",
       app::HelpShown::kPage},
      // A URL has no code page: a path with Japanese names opens as the path (its trail bytes,
      // 0x5C in ソ, are not separators), at the page's start.
      {"C:\\ソフト\\表\\sorm32.hlp", app::HelpRequest::kContext, 184, "C:\\ソフト\\表\\sorm32.htm",
       app::HelpShown::kPage},
      // Nothing to open when closing.
      {"C:\\Sorumo\\sorm32.hlp", app::HelpRequest::kQuit, 0, "", app::HelpShown::kNothing},
  };
  for (const Case& c : cases) {
    viewer_.calls.clear();
    EXPECT_EQ(app::ShowHelp(7, c.helpFile, c.request, c.context), c.shown) << c.opened;
    ASSERT_FALSE(viewer_.calls.empty());
    EXPECT_EQ(viewer_.calls[0].what, "help");
    if (c.opened.empty()) {
      EXPECT_EQ(viewer_.calls.size(), 1u);
      continue;
    }
    ASSERT_EQ(viewer_.calls.size(), 2u) << c.opened;
    EXPECT_EQ(viewer_.calls[1].what, "open");
    EXPECT_EQ(viewer_.calls[1].target, c.opened);
  }
}

TEST_F(HelpDisplayTest, NeitherViewerNorShellShowsNothing) {
  viewer_.viewerWorks = false;
  viewer_.shellWorks = false;
  EXPECT_EQ(app::ShowHelp(0, "C:\\Sorumo\\sorm32.hlp", app::HelpRequest::kContents),
            app::HelpShown::kNothing);
  EXPECT_EQ(viewer_.calls.size(), 2u);
}

TEST(HelpPagePath, TheExtensionOfTheFileNameIsReplaced) {
  const struct {
    const char* help;
    const char* page;
  } cases[] = {
      {"C:\\Sorumo\\sorm32.hlp", "C:\\Sorumo\\sorm32.htm"},
      {"C:\\a.b\\sorm32.hlp", "C:\\a.b\\sorm32.htm"},
      {"C:\\a.b\\sorm32", "C:\\a.b\\sorm32.htm"},
      {"C:\\表.x\\ソ", "C:\\表.x\\ソ.htm"},  // 表 and ソ end in 0x5C
  };
  for (const auto& c : cases) EXPECT_EQ(app::HelpPagePath(c.help), c.page) << c.help;
}

}  // namespace
