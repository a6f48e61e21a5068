// The text fields of the name, date and attribute dialog: a value longer than its field is
// shown cut, and comes back unchanged when the user left it as shown, so OK never writes a
// link's target or title, or a file's name, back without its end.
#include <gtest/gtest.h>

#include <string>

#include "fileops/attribute_fields.h"

namespace {

using fileops::AttributeFieldChanged;
using fileops::AttributeFieldText;
using fileops::kAttributeFieldBytes;

const std::string kDoubleByte = "\x82\xa0";  // one double-byte character

TEST(AttributeFieldsTest, AFieldShowsTheValueCutAtACharacter) {
  const std::string straddling = std::string(kAttributeFieldBytes - 1, 'a') + kDoubleByte + "b";
  struct Case {
    std::string value;
    std::size_t shown;
  } cases[] = {
      {"", 0},
      {"short.txt", 9},
      {std::string(kAttributeFieldBytes, 'x'), kAttributeFieldBytes},
      {std::string(300, 'x'), kAttributeFieldBytes},
      {straddling, kAttributeFieldBytes - 1},  // the double-byte character is not split
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value.size());
    EXPECT_EQ(AttributeFieldText(c.value), c.value.substr(0, c.shown));
  }
}

TEST(AttributeFieldsTest, OnlyAFieldTheUserEditedCountsAsChanged) {
  const std::string path = "C:\\" + std::string(256, 'p');  // a 259-byte link target
  const std::string title = std::string(200, 't') + kDoubleByte + std::string(100, 'u');
  const std::string straddling = std::string(kAttributeFieldBytes - 1, 'a') + kDoubleByte;
  struct Case {
    const char* what;
    std::string value;
    std::string returned;
    bool changed;
  } cases[] = {
      {"short, as shown", "a.txt", "a.txt", false},
      {"short, edited", "a.txt", "b.txt", true},
      {"short, emptied", "a.txt", "", true},
      {"long, as shown", path, path.substr(0, kAttributeFieldBytes), false},
      {"long, end deleted", path, path.substr(0, kAttributeFieldBytes - 1), true},
      {"long, start edited", path, "D" + path.substr(1, kAttributeFieldBytes - 1), true},
      {"long title, as shown", title, title.substr(0, kAttributeFieldBytes), false},
      {"cut before a double-byte character", straddling, straddling.substr(0, 254), false},
      {"double-byte character cut to its lead byte", straddling, straddling.substr(0, 255), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(AttributeFieldChanged(c.value, c.returned), c.changed);
  }
}

TEST(AttributeFieldsTest, AFieldThatDoesNotFitIsRefusedNamingIt) {
  using fileops::AttributeField;
  using fileops::AttributeFieldRefusal;
  struct Case {
    AttributeField field;
    std::string returned;
    const char* refusal;  // null: taken
  } cases[] = {
      {AttributeField::kName, "a.txt", nullptr},
      {AttributeField::kName, std::string(kAttributeFieldBytes, 'n'), nullptr},
      {AttributeField::kName, std::string(kAttributeFieldBytes + 1, 'n'), "名前が長すぎます"},
      {AttributeField::kTarget, std::string(kAttributeFieldBytes - 1, 't') + kDoubleByte,
       "リンク先名が長すぎます"},  // a double-byte character straddling the limit
      {AttributeField::kTarget, std::string(kAttributeFieldBytes - 2, 't') + kDoubleByte,
       nullptr},
      {AttributeField::kWorkingDirectory, "C:\\" + std::string(253, 'w'),
       "作業ディレクトリ名が長すぎます"},
      {AttributeField::kWorkingDirectory, "", nullptr},
      {AttributeField::kDate, std::string(300, '1'), "日付が長すぎます"},
      {AttributeField::kTime, std::string(300, '1'), "時刻が長すぎます"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.returned.size());
    const char* got = AttributeFieldRefusal(c.field, c.returned);
    if (c.refusal)
      EXPECT_STREQ(got, c.refusal);
    else
      EXPECT_EQ(got, nullptr);
  }
}

}  // namespace

