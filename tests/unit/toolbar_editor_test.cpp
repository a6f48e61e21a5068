#include "settings/toolbar_editor_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/toolbar_keywords.h"
#include "resources/commands.h"

namespace {

using settings::ToolbarEditorModel;

// The keywords of a list of choice indices, for readable expectations.
std::vector<std::string> Words(const std::vector<int>& choices) {
  std::vector<std::string> out;
  for (int c : choices) out.push_back(settings::ToolbarChoices()[static_cast<std::size_t>(c)].keyword);
  return out;
}

int IndexOf(const std::vector<int>& list, const char* keyword) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (Words({list[i]})[0] == keyword) return static_cast<int>(i);
  return -1;
}

TEST(ToolbarChoices, EveryButtonHasItsKeywordAndTheSeparatorComesFirst) {
  const auto& choices = settings::ToolbarChoices();
  ASSERT_EQ(choices.size(), 39u);
  EXPECT_STREQ(choices[0].keyword, "/");
  EXPECT_EQ(choices[0].command, 0);
  // Each keyword read alone gives exactly its own command, so the editor and the toolbar agree.
  for (std::size_t i = 1; i < choices.size(); ++i) {
    const std::vector<settings::ToolbarItem> items = settings::ParseToolbarKeywords(choices[i].keyword);
    ASSERT_EQ(items.size(), 1u) << choices[i].keyword;
    EXPECT_EQ(items[0].command, choices[i].command) << choices[i].keyword;
  }
}

TEST(ToolbarEditor, ReadingTheStoredList) {
  struct Case {
    const char* stored;
    std::vector<std::string> toolbar;
    std::string composed;
  } cases[] = {
      {"FOPEN / / FCOPY ", {"FOPEN", "/", "/", "FCOPY"}, "FOPEN / / FCOPY "},
      // Two keywords written together select both, in the editor's order of the choices (the
      // toolbar's own keyword order puts VCOLOR before VDATA).
      {"FCOPYFOPEN", {"FOPEN", "FCOPY"}, "FOPEN FCOPY "},
      {"VDATAVCOLOR", {"VDATA", "VCOLOR"}, "VDATA VCOLOR "},
      {"VCOLOR/VDATA\tFEXIT", {"/", "VDATA", "VCOLOR", "FEXIT"}, "/ VDATA VCOLOR FEXIT "},
      // Unknown words are dropped; a button listed twice is listed twice, as the toolbar shows
      // it, so an untouched list is written back as it was.
      {"XYZ FCOPY nothing FCOPY", {"FCOPY", "FCOPY"}, "FCOPY FCOPY "},
      {"FOPEN FCOPY FOPEN ", {"FOPEN", "FCOPY", "FOPEN"}, "FOPEN FCOPY FOPEN "},
      {"", {}, ""},
      {"   ", {}, ""},
  };
  for (const Case& c : cases) {
    const ToolbarEditorModel m(c.stored);
    EXPECT_EQ(Words(m.Toolbar()), c.toolbar) << c.stored;
    EXPECT_EQ(m.Compose(), c.composed) << c.stored;
    // The separator is always offered; a button on the toolbar is not.
    const std::vector<int> available = m.Available();
    EXPECT_EQ(IndexOf(available, "/"), 0) << c.stored;
    for (const std::string& w : c.toolbar) {
      if (w != "/") {
        EXPECT_EQ(IndexOf(available, w.c_str()), -1) << w;
      }
    }
    std::vector<std::string> buttons;
    for (const std::string& w : c.toolbar)
      if (w != "/" && std::find(buttons.begin(), buttons.end(), w) == buttons.end())
        buttons.push_back(w);
    EXPECT_EQ(available.size() + buttons.size(), settings::ToolbarChoices().size()) << c.stored;
  }
}

TEST(ToolbarEditor, AddPlacesAfterTheSelectionOrAtTheEnd) {
  struct Case {
    const char* name;
    const char* stored;
    const char* add;     // keyword of the available item to add
    int toolbarSel;      // -1: nothing selected on the toolbar
    std::vector<std::string> want;
    int wantToolbarSel;
  } cases[] = {
      {"after the selection", "FOPEN FCOPY", "FMOVE", 0, {"FOPEN", "FMOVE", "FCOPY"}, 1},
      {"no selection: at the end", "FOPEN FCOPY", "FMOVE", -1, {"FOPEN", "FCOPY", "FMOVE"}, 2},
      {"into an empty toolbar", "", "FQUIT", -1, {"FQUIT"}, 0},
      {"a separator stays offered", "FOPEN", "/", 0, {"FOPEN", "/"}, 1},
  };
  for (const Case& c : cases) {
    ToolbarEditorModel m(c.stored);
    const int from = IndexOf(m.Available(), c.add);
    const ToolbarEditorModel::Selection sel = m.Add({from, c.toolbarSel});
    EXPECT_EQ(Words(m.Toolbar()), c.want) << c.name;
    EXPECT_EQ(sel.toolbar, c.wantToolbarSel) << c.name;
    // The available list keeps the same index selected.
    EXPECT_EQ(sel.available, from) << c.name;
    EXPECT_EQ(IndexOf(m.Available(), c.add) >= 0, std::string(c.add) == "/") << c.name;
  }
  ToolbarEditorModel m("FOPEN");
  EXPECT_EQ(m.Add({-1, 0}).toolbar, 0) << "nothing selected among the available: nothing";
  EXPECT_EQ(Words(m.Toolbar()), std::vector<std::string>{"FOPEN"});
}

TEST(ToolbarEditor, RemoveReturnsTheButtonToItsPlaceInTableOrder) {
  ToolbarEditorModel m("FOPEN / FCOPY HCONTENTS");
  ToolbarEditorModel::Selection sel = m.Remove({5, 2});  // FCOPY
  EXPECT_EQ(Words(m.Toolbar()), (std::vector<std::string>{"FOPEN", "/", "HCONTENTS"}));
  EXPECT_EQ(sel.toolbar, 2);
  EXPECT_EQ(sel.available, 5);
  const std::vector<int> available = m.Available();
  EXPECT_EQ(IndexOf(available, "FCOPY"), IndexOf(available, "FMOVE") + 1);
  // The separator goes back to nothing: it was offered all along.
  const std::size_t before = m.Available().size();
  sel = m.Remove({-1, 1});
  EXPECT_EQ(m.Available().size(), before);
  EXPECT_EQ(sel.available, -1);
  // The last item removed: the new last one is selected; an empty list selects nothing.
  sel = m.Remove({0, 1});
  EXPECT_EQ(sel.toolbar, 0);
  sel = m.Remove({0, 0});
  EXPECT_EQ(sel.toolbar, -1);
  EXPECT_EQ(m.Compose(), "");
  EXPECT_EQ(m.Remove({0, -1}).toolbar, -1) << "nothing selected: nothing";
}

TEST(ToolbarEditor, UpAndDownStopAtTheEnds) {
  struct Case {
    int index;
    bool up;
    int want;
    std::vector<std::string> order;
  } cases[] = {
      {1, true, 0, {"FCOPY", "FOPEN", "/"}},  {0, true, 0, {"FOPEN", "FCOPY", "/"}},
      {1, false, 2, {"FOPEN", "/", "FCOPY"}}, {2, false, 2, {"FOPEN", "FCOPY", "/"}},
      {-1, true, -1, {"FOPEN", "FCOPY", "/"}},
  };
  for (const Case& c : cases) {
    ToolbarEditorModel m("FOPEN FCOPY /");
    EXPECT_EQ(c.up ? m.MoveUp(c.index) : m.MoveDown(c.index), c.want) << c.index << c.up;
    EXPECT_EQ(Words(m.Toolbar()), c.order) << c.index << c.up;
  }
}

}  // namespace
