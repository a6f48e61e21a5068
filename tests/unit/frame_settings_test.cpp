// Placement, shrink state, pane settings and the client layout.
#include <gtest/gtest.h>

#include "frame/client_layout.h"
#include "frame/pane_settings.h"
#include "frame/placement_format.h"
#include "tests/unit/app_fixture.h"

namespace {

TEST(Placement, RoundTripAndDamage) {
  frame::Placement p{10, -20, 640, 480, -32000, -32000, -1, -1};
  std::string text = frame::FormatPlacement(p);
  EXPECT_EQ(text, "10;-20;640;480;-32000;-32000;-1;-1");
  frame::Placement q;
  ASSERT_TRUE(frame::ParsePlacement(text, q));
  EXPECT_EQ(frame::FormatPlacement(q), text);

  for (const char* bad : {"", "1;2;3;4;5;6;7", "1;2;3;x;5;6;7;8", ";;;;;;;", "a",
                          "1;2;3;4;5;6;7;99999999999"}) {
    frame::Placement keep{1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_FALSE(frame::ParsePlacement(bad, keep)) << bad;
    EXPECT_EQ(keep.left, 1) << bad;
  }
  frame::Placement extra;
  EXPECT_TRUE(frame::ParsePlacement("1;2;3;4;5;6;7;8;9", extra));
  EXPECT_EQ(extra.maxY, 8);
}

TEST(Shrink, KeepsWhatWasParsedBeforeDamage) {
  struct Case {
    const char* text;
    bool shrunk;
    int w, h;
  } cases[] = {{"1;300;200", true, 300, 200}, {"0", false, 50, 60},
               {"1;300", true, 300, 60},      {"1;x;200", true, 50, 60},
               {"", false, 50, 60},           {"junk", false, 50, 60}};
  for (const Case& c : cases) {
    frame::ShrinkState s{false, 50, 60};
    frame::ParseShrink(c.text, s);
    EXPECT_EQ(s.shrunk, c.shrunk) << c.text;
    EXPECT_EQ(s.width, c.w) << c.text;
    EXPECT_EQ(s.height, c.h) << c.text;
  }
  EXPECT_EQ(frame::FormatShrink({true, 300, 200}), "1;300;200");
}

TEST(FontData, RoundTripKeepsCharacterSet) {
  frame::FontData f;
  f.height = -16;
  f.weight = 700;
  f.italic = 1;
  f.charSet = 128;
  f.pitchAndFamily = 49;
  std::string text = frame::FormatFontData(f);
  EXPECT_EQ(text, "-16;0;0;0;700;1;0;0;128;4;0;0;49");
  frame::FontData g;
  g.charSet = 0;
  ASSERT_TRUE(frame::ParseFontData(text, g));
  g.faceName[0] = f.faceName[0] = 0;
  EXPECT_EQ(f, g);
}

TEST(FontData, SizesAnglesAndWeightOutOfRangeKeepTheirDefaults) {
  const frame::FontData d;
  struct Case {
    const char* text;
    long height, width, escapement, weight;
  } cases[] = {
      {"-16;8;900;0;700;0;0;0;128;4;0;0;49", -16, 8, 900, 700},
      {"-192;192;-3600;0;1000;0;0;0;128;4;0;0;49", -192, 192, -3600, 1000},
      {"-30000;0;0;0;400;0;0;0;128;4;0;0;49", d.height, 0, 0, 400},
      {"193;-193;3601;0;1001;0;0;0;128;4;0;0;49", d.height, d.width, d.escapement, d.weight},
      {"2147483647;-2147483648;0;0;-1;0;0;0;128;4;0;0;49", d.height, d.width, 0, d.weight},
  };
  for (const Case& c : cases) {
    frame::FontData f;
    ASSERT_TRUE(frame::ParseFontData(c.text, f)) << c.text;
    EXPECT_EQ(f.height, c.height) << c.text;
    EXPECT_EQ(f.width, c.width) << c.text;
    EXPECT_EQ(f.escapement, c.escapement) << c.text;
    EXPECT_EQ(f.weight, c.weight) << c.text;
  }
}

TEST(FontData, FewerThanTwelveSeparatorsKeepTheDefault) {
  frame::FontData f;
  EXPECT_FALSE(frame::ParseFontData("1;2;3;4;5;6;7;8;9;10;11", f));
  EXPECT_EQ(f.height, -12);
  EXPECT_EQ(f.charSet, 128);
  EXPECT_FALSE(frame::ParseFontData("1;2;3;4;5;6;7;8;999;10;11;12", f));
  EXPECT_TRUE(frame::ParseFontData("1;2;3;4;5;6;7;8;999;10;11;12;", f));  // 12 ";" suffice
  EXPECT_EQ(f.charSet, 999 & 0xFF);
  EXPECT_EQ(f.pitchAndFamily, 0);
}

TEST(FontData, FaceNameIsCutAtThirtyOneBytesWithoutSplittingCharacters) {
  frame::FontData f;
  frame::SetFaceName(f, std::string(100, 'A').c_str());
  EXPECT_EQ(std::string(f.faceName), std::string(31, 'A'));
  // 15 double-byte characters (30 bytes) then one more: the 16th does not fit in 31 bytes.
  std::string dbcs;
  for (int i = 0; i < 16; ++i) dbcs += "\x95\x5C";
  frame::SetFaceName(f, dbcs.c_str());
  EXPECT_EQ(std::string(f.faceName).size(), 30u);
}

using FramePaneSettingsTest = testutil::AppDirTest;

TEST_F(FramePaneSettingsTest, DefaultsAndRoundTrip) {
  frame::PaneSettings d = frame::ReadPaneSettings(1);
  EXPECT_EQ(d.background, (frame::Rgb{255, 255, 255}));
  EXPECT_EQ(d.system, (frame::Rgb{255, 0, 255}));
  EXPECT_EQ(d.focus, (frame::Rgb{0, 0, 192}));
  EXPECT_STREQ(d.font.faceName, frame::kDefaultFaceName);

  frame::PaneSettings p;
  p.x1 = 40;
  p.y1 = 80;
  p.readOnly = {1, 2, 3};
  p.font.height = -20;
  frame::SetFaceName(p.font, "\x82\x6C\x82\x72 \x96\xBE\x92\xA9");
  frame::WritePaneSettings(101, p);
  frame::PaneSettings r = frame::ReadPaneSettings(101);
  EXPECT_EQ(r.x1, 40);
  EXPECT_EQ(r.y1, 80);
  EXPECT_EQ(r.readOnly, (frame::Rgb{1, 2, 3}));
  EXPECT_EQ(r.font, p.font);
}

TEST_F(FramePaneSettingsTest, SectionWithoutX1TakesEverythingFromDefaults) {
  config::WriteConfigString("INST-1", "x1", "5");
  config::WriteConfigString("INST-1", "bkcol_r", "10");
  config::WriteConfigString("INST3", "bkcol_r", "200");  // ignored: INST3 has no x1
  frame::PaneSettings p = frame::ReadPaneSettings(3);
  EXPECT_EQ(p.x1, 5);
  EXPECT_EQ(p.background.r, 10);
  config::WriteConfigString("INST3", "x1", "0");
  EXPECT_EQ(frame::ReadPaneSettings(3).background.r, 200);
}

TEST_F(FramePaneSettingsTest, AbsurdColourValuesAreClamped) {
  config::WriteConfigString("INST2", "x1", "0");
  config::WriteConfigString("INST2", "textcol_r", "999999999999");
  config::WriteConfigString("INST2", "textcol_g", "-5");
  config::WriteConfigString("INST2", "fontname", std::string(1000, 'F').c_str());
  frame::PaneSettings p = frame::ReadPaneSettings(2);
  EXPECT_EQ(p.text.r, 255);
  EXPECT_EQ(p.text.g, 0);
  EXPECT_EQ(std::string(p.font.faceName).size(), 31u);
}

TEST(ClientLayout, OneAndTwoPanes) {
  frame::ClientLayout one = frame::ComputeClientLayout(640, 400, 1, 16);
  EXPECT_EQ(one.pane[0].w, 640);
  EXPECT_EQ(one.pane[0].h, 400);
  frame::ClientLayout two = frame::ComputeClientLayout(801, 400, 2, 16);
  EXPECT_EQ(two.pane[0].x, 0);
  EXPECT_EQ(two.pane[0].w, 400);
  EXPECT_EQ(two.pane[1].x, 400);
  EXPECT_EQ(two.pane[1].w, 401);
  EXPECT_EQ(two.pane[0].y, 16);
  EXPECT_EQ(two.pane[0].h, 384);
  EXPECT_EQ(two.title[1].w, 401);
  frame::ClientLayout tiny = frame::ComputeClientLayout(1, 10, 2, 16);
  EXPECT_EQ(tiny.pane[0].h, 0);
  EXPECT_EQ(tiny.pane[1].w, 1);
}

}  // namespace
