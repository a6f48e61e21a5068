// The profile functions (GetPrivateProfileStringA, GetPrivateProfileIntA,
// WritePrivateProfileStringA, GetProfileStringA, WriteProfileStringA) through os::Ini().
// The same expectations hold for the system's own functions and for the posix emulation.
// A few cases check the system's own behaviour where the compatibility layer the Windows build
// is tested under behaves otherwise; they are compiled out of Windows builds, each with a note.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "os/last_error.h"
#include "os/services.h"
#include "tests/unit/test_util.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace std::string_view_literals;

namespace {

constexpr char kMarker = 0x0C;  // fills buffers, to see which bytes a call wrote
constexpr size_t kGuard = 16;   // bytes past the buffer that must stay untouched

// Text written with "\n" line ends, given each line end the profile functions accept.
std::string WithLineEnds(std::string_view text, std::string_view eol) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out.append(eol);
    else out.push_back(c);
  }
  return out;
}

struct Result {
  uint32_t ret = 0;
  std::string buf;  // size bytes as the call left them, then the guard
};

Result GetString(const char* section, const char* key, const char* def, uint32_t size,
                 const std::string& file) {
  Result r;
  r.buf.assign(size + kGuard, kMarker);
  r.ret = os::Ini().GetString(section, key, def, r.buf.data(), size, file.c_str());
  return r;
}

std::string Value(const char* section, const char* key, const std::string& file,
                  const char* def = "<default>") {
  char buf[512];
  uint32_t n = os::Ini().GetString(section, key, def, buf, sizeof(buf), file.c_str());
  return std::string(buf, n < sizeof(buf) ? n : sizeof(buf) - 1);
}

// Checks the buffer rules every call must keep: nothing written past size, and a terminated
// result shorter than size.
void ExpectBounded(const Result& r, uint32_t size, const std::string& what) {
  EXPECT_EQ(r.buf.substr(size), std::string(kGuard, kMarker)) << what << ": wrote past size";
  if (size == 0) {
    EXPECT_EQ(r.ret, 0u) << what;
    EXPECT_EQ(r.buf.substr(0, size), std::string()) << what;
    return;
  }
  ASSERT_LT(r.ret, size) << what;
  EXPECT_EQ(r.buf[r.ret], '\0') << what << ": not terminated";
}

class ProfileTest : public ::testing::Test {
 protected:
  std::string Ini(const char* name = "test.ini") const { return tmp_.Path(name); }
  void Put(const std::string& file, std::string_view bytes) const {
    ASSERT_TRUE(testutil::WriteFileBytes(file, std::string(bytes))) << file;
  }
  testutil::TempDir tmp_;
};

// ---------------------------------------------------------------------------------------------
// GetPrivateProfileStringA

const char kSample[] =
    "[section1]\n"
    "name1=val1\n"
    "name2=\"val2\"\n"
    "name3\n"
    "name4=a\n"
    "[section2]\n";

struct ReadCase {
  const char* what;
  const char* content;
  const char* section;
  const char* key;
  const char* def;
  uint32_t size;
  uint32_t ret;
  std::string_view expect;  // the first bytes of the buffer
  // Bytes after expect that the system's own function writes (the second NUL ending a cut
  // list) but the compatibility layer's narrow-character version leaves unwritten.
  std::string_view systemTail;
};

const ReadCase kReadCases[] = {
    {"value", kSample, "section1", "name1", "default", 260, 4, "val1\0"sv, ""},
    {"name case ignored", kSample, "section1", "NaMe1", "default", 260, 4, "val1\0"sv, ""},
    {"section case ignored", kSample, "SECTION1", "name4", "default", 260, 1, "a\0"sv, ""},
    {"one pair of quotes stripped", kSample, "section1", "name2", "default", 260, 4, "val2\0"sv,
     ""},
    {"cut to size-1", kSample, "section1", "name1", "default", 4, 3, "val\0"sv, ""},
    {"exact room", kSample, "section1", "name1", "default", 5, 4, "val1\0"sv, ""},
    {"size 1", kSample, "section1", "name4", "default", 1, 0, "\0"sv, ""},
    {"size 0 writes nothing", kSample, "section1", "name1", "default", 0, 0, ""sv, ""},
    {"missing key", kSample, "section1", "notakey", "default", 260, 7, "default\0"sv, ""},
    {"missing section", kSample, "notasection", "name1", "default", 260, 7, "default\0"sv, ""},
    {"empty section name", kSample, "", "name1", "default", 260, 7, "default\0"sv, ""},
    {"empty key name", kSample, "section1", "", "default", 260, 7, "default\0"sv, ""},
    {"line without = is no key", kSample, "section1", "name3", "default", 260, 7,
     "default\0"sv, ""},
    {"null default is empty", kSample, "section1", "notakey", nullptr, 260, 0, "\0"sv, ""},
    {"empty default", kSample, "section1", "notakey", "", 260, 0, "\0"sv, ""},
    {"trailing blanks of default cut", kSample, "section1", "notakey", "default  ", 260, 7,
     "default\0"sv, ""},
    {"inner blanks of default kept", kSample, "section1", "notakey", "one two  ", 260, 7,
     "one two\0"sv, ""},
    {"default cut to size-1", kSample, "section1", "notakey", "default", 4, 3, "def\0"sv, ""},
    {"section without keys", kSample, "section2", "DoesntExist", "", 260, 0, "\0"sv, ""},
    {"section names", kSample, nullptr, "name1", "default", 260, 18,
     "section1\0section2\0\0"sv, ""},
    {"section names cut", kSample, nullptr, "name1", "default", 16, 14, "section1\0secti\0"sv,
     "\0"sv},
    {"key names", kSample, "section1", nullptr, "default", 260, 18,
     "name1\0name2\0name4\0\0"sv, ""},
    {"key names cut", kSample, "section1", nullptr, "default", 16, 14, "name1\0name2\0na\0"sv,
     "\0"sv},
    {"key names of another case", kSample, "Section1", nullptr, "", 260, 18,
     "name1\0name2\0name4\0\0"sv, ""},

    {"header name trimmed", "[ section1 ]\n[section2]\n[section3]\n", nullptr, nullptr, "", 29,
     27, "section1\0section2\0section3\0\0"sv, ""},
    {"list exact fit", "[ section1 ]\n[section2]\n[section3]\n", nullptr, nullptr, "", 28, 26,
     "section1\0section2\0section3\0"sv, "\0"sv},
    {"list one short", "[ section1 ]\n[section2]\n[section3]\n", nullptr, nullptr, "", 27, 25,
     "section1\0section2\0section\0"sv, "\0"sv},
    {"text after the last ] ignored", "[ sec ] junk\nkey=v\n", "sec", "key", "", 260, 1,
     "v\0"sv, ""},
    {"header up to the last ]", "[a]b]\nk=1\n", nullptr, nullptr, "", 260, 4, "a]b\0\0"sv, ""},
    {"[ without ] is no header", "[s]\n[ab\nk=1\n", "s", nullptr, "", 260, 2, "k\0\0"sv, ""},
    {"blanks around = dropped", "[s]\n  key \t=\t value  \n", "s", "key", "", 260, 5,
     "value\0"sv, ""},
    {"split at the first =", "[s]\na=b=c\n", "s", "a", "", 260, 3, "b=c\0"sv, ""},
    {"no inline comments", "[s]\nk=v ;c\n", "s", "k", "", 260, 4, "v ;c\0"sv, ""},
    {"# is no comment", "[s]\n#k=v\n", "s", "#k", "", 260, 1, "v\0"sv, ""},
    {"; lines are not listed", "[s]\n;c=1\nk=2\n", "s", nullptr, "", 260, 2, "k\0\0"sv, ""},
    {"empty key name found", "[s]\n=val5\n", "s", "", "default", 260, 4, "val5\0"sv, ""},
    {"empty value is no default", "[s]\nk=\n", "s", "k", "default", 260, 0, "\0"sv, ""},
    {"single quotes stripped", "[s]\nk='v w'\n", "s", "k", "", 260, 3, "v w\0"sv, ""},
    {"unmatched quotes kept", "[s]\nk=\"v'\n", "s", "k", "", 260, 3, "\"v'\0"sv, ""},
    {"lone quote kept", "[s]\nk=\"\n", "s", "k", "", 260, 1, "\"\0"sv, ""},
    {"empty quotes", "[s]\nk=\"\"\n", "s", "k", "default", 260, 0, "\0"sv, ""},
    {"only the outer pair stripped", "[s]\nk=\"a\"b\"\n", "s", "k", "", 260, 3, "a\"b\0"sv, ""},
    {"inner quotes kept", "[s]\nk=a\"b\"\n", "s", "k", "", 260, 4, "a\"b\"\0"sv, ""},
    {"first section wins", "[a]\nk=1\n[b]\nk=2\n[A]\nk=3\nj=4\n", "a", "k", "", 260, 1,
     "1\0"sv, ""},
    {"keys of a later same section unseen", "[a]\nk=1\n[b]\nk=2\n[A]\nk=3\nj=4\n", "a", "j",
     "none", 260, 4, "none\0"sv, ""},
    {"every header listed", "[a]\nk=1\n[b]\nk=2\n[A]\nk=3\n", nullptr, nullptr, "", 260, 6,
     "a\0b\0A\0\0"sv, ""},
    {"first key wins", "[a]\nk=1\nK=2\n", "a", "k", "", 260, 1, "1\0"sv, ""},
    {"duplicate keys listed", "[a]\nk=1\nK=2\n", "a", nullptr, "", 260, 4, "k\0K\0\0"sv, ""},
    {"keys before any header belong to no section", "k=0\n[a]\nj=1\n", "a", "k", "none", 260, 4,
     "none\0"sv, ""},
    {"blank lines and indentation", "\n\n   [a]   \n\n\t k=v\n\n", "a", "k", "", 260, 1, "v\0"sv,
     ""},
    {"DOS end-of-file byte trimmed", "[a]\nk=v\x1a\n\x1a", "a", "k", "", 260, 1, "v\0"sv, ""},
    {"no line end at the end", "[a]\nk=v", "a", "k", "", 260, 1, "v\0"sv, ""},
    {"double-byte names and value", "[表]\nキー=値\n", "表", "キー", "", 260, 2, "値\0"sv, ""},
    {"double-byte value with a trail 0x5C", "[s]\nk=表示\\\n", "s", "k", "", 260, 5,
     "表示\\\0"sv, ""},
    {"trail byte ] is no bracket", "[ゾ]\nk=1\n", "ゾ", "k", "", 260, 1, "1\0"sv, ""},
    {"header ending in a trail byte ] has no ]", "[a]\n[ゾ\n", nullptr, nullptr, "", 260, 2,
     "a\0\0"sv, ""},
    {"trail bytes are no letters", "[ア]\nk=1\n", "ヂ", "k", "none", 260, 4, "none\0"sv, ""},
};

class ProfileReadTest : public ProfileTest,
                        public ::testing::WithParamInterface<std::string_view> {};

TEST_P(ProfileReadTest, GetString) {
  const std::string file = Ini();
  for (const ReadCase& c : kReadCases) {
    SCOPED_TRACE(c.what);
    Put(file, WithLineEnds(c.content, GetParam()));
    Result r = GetString(c.section, c.key, c.def, c.size, file);
    EXPECT_EQ(r.ret, c.ret);
    EXPECT_EQ(r.buf.substr(0, c.expect.size()), c.expect);
#ifndef _WIN32
    // The compatibility layer's narrow version stops writing after the first NUL of a cut
    // list; the system's own function, and this emulation, end it with two.
    EXPECT_EQ(r.buf.substr(c.expect.size(), c.systemTail.size()), c.systemTail);
#endif
    EXPECT_EQ(r.buf.substr(c.size), std::string(kGuard, kMarker)) << "wrote past size";
  }
}

INSTANTIATE_TEST_SUITE_P(LineEnds, ProfileReadTest, ::testing::Values("\r\n"sv, "\n"sv, "\r"sv),
                         [](const ::testing::TestParamInfo<std::string_view>& info) {
                           return info.param == "\r\n" ? std::string("CRLF")
                                  : info.param == "\n" ? std::string("LF")
                                                       : std::string("CR");
                         });

TEST_F(ProfileTest, MissingOrUnnamedFileGivesDefaults) {
  struct Case {
    const char* what;
    std::string file;
  } cases[] = {
      {"missing file", Ini("missing.ini")},
      {"missing directory", tmp_.Path("nodir\\missing.ini")},
      {"empty file name", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Result r = GetString("s", "k", "default", 260, c.file);
    EXPECT_EQ(r.ret, 7u);
    EXPECT_EQ(r.buf.substr(0, 8), "default\0"sv);
    // A list from a missing file is a single NUL.
    r = GetString(nullptr, nullptr, "default", 10, c.file);
    EXPECT_EQ(r.ret, 0u);
    EXPECT_EQ(r.buf[0], '\0');
    EXPECT_NE(r.buf[1], '\0');
  }
}

TEST_F(ProfileTest, EmptyFileGivesDefaults) {
  const std::string file = Ini();
  Put(file, "");
  EXPECT_EQ(Value("s", "k", file), "<default>");
  Result r = GetString(nullptr, nullptr, "", 10, file);
  EXPECT_EQ(r.ret, 0u);
  EXPECT_EQ(r.buf[0], '\0');
}

// Only the ASCII letters compare without regard to case; double-byte letters compare as they
// are.
TEST_F(ProfileTest, DoubleByteLettersKeepTheirCase) {
  const std::string file = Ini();
  Put(file, "[ＡＢＣ]\r\nΑΩ=1\r\nАЯ=2\r\n");
  EXPECT_EQ(Value("ＡＢＣ", "ΑΩ", file), "1");
  EXPECT_EQ(Value("ＡＢＣ", "АЯ", file), "2");
  EXPECT_EQ(Value("ａｂｃ", "ΑΩ", file), "<default>");
  EXPECT_EQ(Value("ＡＢＣ", "αω", file), "<default>");
  EXPECT_EQ(Value("ＡＢＣ", "ая", file), "<default>");
  EXPECT_EQ(Value("ABC", "ΑΩ", file), "<default>");  // full width is not half width
}

// ---------------------------------------------------------------------------------------------
// GetPrivateProfileIntA

struct IntCase {
  const char* what;
  const char* value;  // written as the value of Test/ProfileInt; nullptr: no key
  int32_t def;
  uint32_t expect;
};

const IntCase kIntCases[] = {
    {"missing key", nullptr, -1, 4294967295u},
    {"missing key, positive default", nullptr, 1, 1},
    {"empty value", "", 7, 7},
    {"minus one", "-1", 1, 4294967295u},
    {"one", "1", -1, 1},
    {"plus sign", "+1", -1, 1},
    {"2^32 wraps", "4294967296", -1, 0},
    {"2^32+1 wraps", "4294967297", 1, 1},
    {"negative wraps", "-4294967297", 1, 4294967295u},
    {"stops at the first other character", "42A94967297", -1, 42},
    {"letter first gives 0, not the default", "B4294967297", -1, 0},
    {"digits then text", "102abc", 5, 102},
    {"quotes stripped first", "\"12\"", 5, 12},
    {"blank only after the sign", "- 5", 9, 0},
    {"zero", "0", 9, 0},
};

TEST_F(ProfileTest, GetInt) {
  const std::string file = Ini();
  for (const IntCase& c : kIntCases) {
    SCOPED_TRACE(c.what);
    Put(file, c.value ? "[Test]\r\nProfileInt=" + std::string(c.value) + "\r\n"
                      : std::string("[Test]\r\nOther=3\r\n"));
    EXPECT_EQ(os::Ini().GetInt("Test", "ProfileInt", c.def, file.c_str()), c.expect);
  }
}

TEST_F(ProfileTest, GetIntWithoutNamesReadsTheFirstListedName) {
  const std::string file = Ini();
  EXPECT_EQ(os::Ini().GetInt(nullptr, nullptr, 70, file.c_str()), 70u);  // missing file
  EXPECT_EQ(os::Ini().GetInt("Test", nullptr, -1, file.c_str()), 4294967295u);
  Put(file, "[12ab]\r\n34=x\r\n");
  EXPECT_EQ(os::Ini().GetInt(nullptr, "34", 70, file.c_str()), 12u);
  EXPECT_EQ(os::Ini().GetInt("12ab", nullptr, 70, file.c_str()), 34u);
  EXPECT_EQ(os::Ini().GetInt("other", nullptr, 70, file.c_str()), 70u);
}

// ---------------------------------------------------------------------------------------------
// WritePrivateProfileStringA

struct Op {
  const char* section;
  const char* key;
  const char* value;
};

struct WriteCase {
  const char* what;
  bool exists;            // whether the file exists before the writes
  std::string_view before;
  std::vector<Op> ops;    // each must succeed
  std::string_view after;
  bool systemOnly;        // in-place editing the compatibility layer does not do
};

const WriteCase kWriteCases[] = {
    {"build up a file", false, "",
     {{"App1", "key1", "string1"},
      {"App1", "key2", "string2"},
      {"App1", "key3", "string3"},
      {"App2", "key4", "string4"},
      {"App3", "key5", "string5"}},
     "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n"
     "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n",
     false},
    {"delete a key", true,
     "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n",
     {{"App1", "key2", nullptr}},
     "[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n",
     false},
    {"delete a missing key", true, "[App1]\r\nkey1=string1\r\n",
     {{"App1", "key2", nullptr}, {"App9", "key2", nullptr}},
     "[App1]\r\nkey1=string1\r\n",
     false},
    {"delete a section, value ignored", true,
     "[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=s\r\n",
     {{"App1", nullptr, "string1"}, {"App2", nullptr, nullptr}},
     "[App3]\r\nkey5=s\r\n",
     false},
    {"delete a missing section", true, "[App1]\r\nkey1=string1\r\n",
     {{"App9", nullptr, nullptr}},
     "[App1]\r\nkey1=string1\r\n",
     false},
    {"deleting the last key leaves the header", true, "[App3]\r\nkey5=string5\r\n",
     {{"App3", "key5", nullptr}},
     "[App3]\r\n",
     false},
    {"empty value", false, "", {{"App", "key", ""}}, "[App]\r\nkey=\r\n", false},
    {"replace a value", true, "[s]\r\nk=old\r\nj=2\r\n", {{"s", "k", "new"}},
     "[s]\r\nk=new\r\nj=2\r\n", false},
    {"replace keeps the file's spelling of the name", true, "[S]\r\nKey=1\r\n",
     {{"s", "KEY", "2"}}, "[S]\r\nKey=2\r\n", false},
    {"new key at the end of its section", true, "[a]\r\nx=1\r\n[b]\r\ny=2\r\n",
     {{"a", "z", "3"}}, "[a]\r\nx=1\r\nz=3\r\n[b]\r\ny=2\r\n", false},
    {"new key in a section without keys", true, "[a]\r\n[b]\r\ny=2\r\n", {{"a", "z", "3"}},
     "[a]\r\nz=3\r\n[b]\r\ny=2\r\n", false},
    {"new key after a last line without line end", true, "[s]\r\nk=v", {{"s", "j", "w"}},
     "[s]\r\nk=v\r\nj=w\r\n", false},
    {"values written verbatim", false, "", {{"s", "k", "\"q\""}, {"s", "j", "a=b;c"}},
     "[s]\r\nk=\"q\"\r\nj=a=b;c\r\n", false},
    {"the first of two same sections is edited", true, "[a]\r\nx=1\r\n[a]\r\ny=2\r\n",
     {{"a", "y", "3"}}, "[a]\r\nx=1\r\ny=3\r\n[a]\r\ny=2\r\n", false},
    {"the first of two same sections is deleted", true, "[a]\r\nx=1\r\n[A]\r\ny=2\r\n",
     {{"a", nullptr, nullptr}}, "[A]\r\ny=2\r\n", false},
    {"double-byte names and values kept byte for byte", false, "",
     {{"表", "キー", "値\\表"}}, "[表]\r\nキー=値\\表\r\n", false},
    {"writing the same value changes nothing", true, "[s]\r\nk=v\r\n", {{"s", "k", "v"}},
     "[s]\r\nk=v\r\n", false},

    {"bytes before the first section kept", true, "Data \0 before \0 first \0 section"sv,
     {{"section1", "key1", "string1"}},
     "Data \0 before \0 first \0 section\r\n[section1]\r\nkey1=string1\r\n"sv, true},
    {"untouched lines kept as they are", true,
     "; comment\r\n[s]\r\n\r\n  k = v  \r\n\r\n[t]\nx=1\n",
     {{"t", "y", "2"}, {"s", "k", "w"}},
     "; comment\r\n[s]\r\n\r\n  k=w  \r\n\r\n[t]\nx=1\ny=2\r\n", true},
    {"line feed file edited in place", true, "[s]\nk=1\nj=2\n", {{"s", "k", "3"}},
     "[s]\nk=3\nj=2\n", true},
    {"new section after blank lines", true, "[a]\r\nx=1\r\n\r\n", {{"b", "y", "2"}},
     "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", true},
    {"deleting in a missing file leaves an empty file", false, "", {{"s", "k", nullptr}}, "",
     true},
    {"deleting a section of a missing file leaves an empty file", false, "",
     {{"s", nullptr, nullptr}}, "", true},
};

TEST_F(ProfileTest, WriteString) {
  for (const WriteCase& c : kWriteCases) {
    SCOPED_TRACE(c.what);
#ifdef _WIN32
    // The compatibility layer rewrites the whole file from what it parsed and creates no file
    // for a deletion; the system's own function edits in place, as the emulation does.
    if (c.systemOnly) continue;
#endif
    const std::string file = Ini("write.ini");
    testutil::RemoveTree(file);
    if (c.exists) Put(file, c.before);
    for (const Op& op : c.ops)
      EXPECT_TRUE(os::Ini().WriteString(op.section, op.key, op.value, file.c_str()));
    EXPECT_TRUE(testutil::FileExists(file));
    EXPECT_EQ(testutil::ReadFileBytes(file), c.after);
  }
}

TEST_F(ProfileTest, WrittenValuesReadBack) {
  const std::string file = Ini();
  struct Case {
    const char* key;
    const char* value;
    const char* read;
  } cases[] = {
      {"plain", "value", "value"},
      {"quoted", "\"quoted\"", "quoted"},
      {"inner", "a \"b\" c", "a \"b\" c"},
      {"empty", "", ""},
      {"dbcs", "表示ソ能", "表示ソ能"},
      {"equals", "a=b", "a=b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    ASSERT_TRUE(os::Ini().WriteString("s", c.key, c.value, file.c_str()));
    EXPECT_EQ(Value("s", c.key, file), c.read);
  }
  // A value holding the quote character comes back whole when wrapped in one more pair.
  ASSERT_TRUE(os::Ini().WriteString("s", "wrapped", "\"\"q\"\"", file.c_str()));
  EXPECT_EQ(Value("s", "wrapped", file), "\"q\"");
  EXPECT_EQ(Value("s", "WRAPPED", file), "\"q\"");
}

TEST_F(ProfileTest, WriteFailures) {
  const std::string file = Ini();
  struct Case {
    const char* what;
    std::string file;
    const char* section;
    uint32_t error;
  } cases[] = {
      {"null section", file, nullptr, os::kErrFileNotFound},
      {"empty file name", "", "s", os::kErrAccessDenied},
      {"missing directory", tmp_.Path("nodir\\x.ini"), "s", os::kErrPathNotFound},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    os::SetLastError(0xdeadbeef);
    EXPECT_FALSE(os::Ini().WriteString(c.section, "key", "string", c.file.c_str()));
    EXPECT_EQ(os::LastError(), c.error);
    if (!c.file.empty()) {
      EXPECT_FALSE(testutil::FileExists(c.file));
    }
  }
  // A null section leaves an existing file as it was.
  Put(file, "");
  EXPECT_FALSE(os::Ini().WriteString(nullptr, "key", "string", file.c_str()));
  EXPECT_EQ(testutil::ReadFileBytes(file), "");
  // All three null asks to flush and reports failure.
  EXPECT_FALSE(os::Ini().WriteString(nullptr, nullptr, nullptr, file.c_str()));
}

TEST_F(ProfileTest, ReadOnlyFileIsNotWritten) {
#ifdef _WIN32
  // The compatibility layer maps the attribute to permission bits, which the superuser the
  // tests may run as is not held to; the system's own function refuses the write.
  GTEST_SKIP() << "read-only files are writable by the superuser under the compatibility layer";
#endif
  const std::string file = Ini();
  Put(file, "[s]\r\nk=1\r\n");
  uint32_t attrs = os::Fs().GetAttributes(file.c_str());
  ASSERT_NE(attrs, os::kInvalidAttributes);
  ASSERT_TRUE(os::Fs().SetAttributes(file.c_str(), os::kAttrReadOnly));
  os::SetLastError(0);
  EXPECT_FALSE(os::Ini().WriteString("s", "k", "2", file.c_str()));
  EXPECT_EQ(os::LastError(), os::kErrAccessDenied);
  EXPECT_EQ(Value("s", "k", file), "1");
  ASSERT_TRUE(os::Fs().SetAttributes(file.c_str(), os::kAttrNormal));
  EXPECT_TRUE(os::Ini().WriteString("s", "k", "2", file.c_str()));
  EXPECT_EQ(Value("s", "k", file), "2");
}

// ---------------------------------------------------------------------------------------------
// The Windows directory and WIN.INI

// The Windows directory, with a trailing backslash. The emulation is pointed at a scratch
// directory for the test.
class WindowsDirTest : public ProfileTest {
 protected:
  void SetUp() override {
#ifdef _WIN32
    const char* w = std::getenv("WINDIR");
    ASSERT_NE(w, nullptr);
    windir_ = std::string(w) + "\\";
#else
    const char* old = std::getenv("SORM_WINDIR");
    hadOld_ = old != nullptr;
    if (old) old_ = old;
    windir_ = tmp_.Path("windows\\");
    ASSERT_TRUE(os::Fs().CreateDir(tmp_.Path("windows").c_str()));
    setenv("SORM_WINDIR", windir_.c_str(), 1);
#endif
  }
  void TearDown() override {
    for (const std::string& f : created_) testutil::RemoveTree(f);
#ifndef _WIN32
    if (hadOld_) setenv("SORM_WINDIR", old_.c_str(), 1);
    else unsetenv("SORM_WINDIR");
#endif
  }
  // A file name unique to this run.
  std::string Unique(const char* stem) {
    char name[96];
    std::snprintf(name, sizeof(name), "%s%u.ini", stem, os::Sys().TickCount());
    created_.push_back(windir_ + name);
    return name;
  }

  std::string windir_;
  std::vector<std::string> created_;
  bool hadOld_ = false;
  std::string old_;
};

TEST_F(WindowsDirTest, NameWithoutSeparatorLivesInTheWindowsDirectory) {
  for (std::string name : {Unique("sormtest_"), Unique("表")}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(os::Ini().WriteString("App", "key", "string", name.c_str()));
    EXPECT_EQ(testutil::ReadFileBytes(windir_ + name), "[App]\r\nkey=string\r\n");
    EXPECT_EQ(Value("App", "key", name), "string");
    EXPECT_EQ(Value("App", "key", windir_ + name), "string");
  }
}

TEST_F(WindowsDirTest, WinIni) {
  // Other programs may keep WIN.INI; the test only adds and removes a section of its own.
  char section[64];
  std::snprintf(section, sizeof(section), "SormTest%u", os::Sys().TickCount());
  ASSERT_TRUE(os::Ini().WriteWinIniString(section, "key", "value"));
  char buf[64];
  EXPECT_EQ(os::Ini().GetWinIniString(section, "key", "def", buf, sizeof(buf)), 5u);
  EXPECT_STREQ(buf, "value");
  EXPECT_EQ(Value(section, "KEY", "win.ini"), "value");
  EXPECT_EQ(os::Ini().GetString(section, "key", "def", buf, sizeof(buf), nullptr), 5u);
  EXPECT_STREQ(buf, "value");
  EXPECT_EQ(Value(section, "key", windir_ + "win.ini"), "value");
  ASSERT_TRUE(os::Ini().WriteWinIniString(section, nullptr, nullptr));
  EXPECT_EQ(os::Ini().GetWinIniString(section, "key", "def", buf, sizeof(buf)), 3u);
  EXPECT_STREQ(buf, "def");
}

// ---------------------------------------------------------------------------------------------
// Sharing one file

TEST_F(ProfileTest, ThreadsWritingOneFileLoseNothing) {
  const std::string file = Ini();
  constexpr int kThreads = 4, kKeys = 40;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&file, t] {
      for (int k = 0; k < kKeys; ++k) {
        std::string key = "k" + std::to_string(k);
        std::string value = std::to_string(t * 1000 + k);
        std::string section = "T" + std::to_string(t);
        os::Ini().WriteString(section.c_str(), key.c_str(), value.c_str(), file.c_str());
        os::Ini().WriteString("shared", (section + key).c_str(), value.c_str(), file.c_str());
      }
    });
  }
  for (std::thread& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) {
    for (int k = 0; k < kKeys; ++k) {
      std::string key = "k" + std::to_string(k);
      std::string section = "T" + std::to_string(t);
      std::string value = std::to_string(t * 1000 + k);
      EXPECT_EQ(Value(section.c_str(), key.c_str(), file), value);
      EXPECT_EQ(Value("shared", (section + key).c_str(), file), value);
    }
  }
}

#ifndef _WIN32
// Several processes write one file at once: no change gets lost, and a reader never sees a
// half-written file (the first key, present in every version, is always found).
TEST_F(ProfileTest, ProcessesWritingOneFileLoseNothing) {
  const std::string file = Ini();
  ASSERT_TRUE(os::Ini().WriteString("first", "always", "here", file.c_str()));
  constexpr int kWriters = 4, kKeys = 60;
  std::vector<pid_t> pids;
  for (int w = 0; w < kWriters; ++w) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      bool ok = true;
      for (int k = 0; k < kKeys; ++k) {
        std::string key = "w" + std::to_string(w) + "k" + std::to_string(k);
        std::string value(1 + (k * 37) % 300, static_cast<char>('a' + w));
        ok = os::Ini().WriteString("data", key.c_str(), value.c_str(), file.c_str()) && ok;
        if (k % 10 == 0)
          ok = os::Ini().WriteString("data", key.c_str(), nullptr, file.c_str()) && ok &&
               os::Ini().WriteString("data", key.c_str(), value.c_str(), file.c_str());
      }
      _exit(ok ? 0 : 1);
    }
    pids.push_back(pid);
  }
  pid_t reader = fork();
  ASSERT_GE(reader, 0);
  if (reader == 0) {
    int misses = 0;
    for (int i = 0; i < 3000; ++i)
      if (Value("first", "always", file) != "here") ++misses;
    _exit(misses == 0 ? 0 : 2);
  }
  for (pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed";
  }
  int status = 0;
  ASSERT_EQ(waitpid(reader, &status, 0), reader);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the reader saw a torn file";
  for (int w = 0; w < kWriters; ++w) {
    for (int k = 0; k < kKeys; ++k) {
      std::string key = "w" + std::to_string(w) + "k" + std::to_string(k);
      EXPECT_EQ(Value("data", key.c_str(), file),
                std::string(1 + (k * 37) % 300, static_cast<char>('a' + w)))
          << key;
    }
  }
}
#endif

// A write needs every other opener to share reading and writing; a read needs them to share
// reading, else it gives the default.
TEST_F(ProfileTest, FileOpenElsewhere) {
  struct Case {
    uint32_t access;
    uint32_t share;
    bool writeRefused;
    bool readRefused;
  } cases[] = {
      {os::kGenericRead, os::kShareRead, true, false},
      {os::kGenericRead, os::kShareWrite, true, true},
      {os::kGenericWrite, os::kShareRead, true, false},
      {os::kGenericWrite, os::kShareWrite, true, true},
      {os::kGenericRead | os::kGenericWrite, os::kShareRead, true, false},
      {os::kGenericRead | os::kGenericWrite, os::kShareWrite, true, true},
      {os::kGenericRead, os::kShareRead | os::kShareWrite, false, false},
      {os::kGenericWrite, os::kShareRead | os::kShareWrite, false, false},
      {os::kGenericRead | os::kGenericWrite, os::kShareRead | os::kShareWrite, false, false},
  };
  const std::string file = Ini();
  int i = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(i++);
    {
      auto held = os::Fs().Open(file.c_str(), c.access, c.share, os::kCreateAlways);
      ASSERT_TRUE(held);
      os::SetLastError(0xdeadbeef);
      bool ok = os::Ini().WriteString("Test", "Key", "12345", file.c_str());
      EXPECT_EQ(ok, !c.writeRefused);
      if (c.writeRefused) {
        EXPECT_EQ(os::LastError(), os::kErrSharingViolation);
      }
    }
    EXPECT_EQ(Value("Test", "Key", file, nullptr), c.writeRefused ? "" : "12345");

    Put(file, "[Test]\r\nKey=123\r\n");
    {
      auto held = os::Fs().Open(file.c_str(), c.access, c.share, os::kOpenExisting);
      ASSERT_TRUE(held);
      EXPECT_EQ(Value("Test", "Key", file, nullptr), c.readRefused ? "" : "123");
    }
    EXPECT_EQ(Value("Test", "Key", file, nullptr), "123");
  }
}

// A file changed behind the reader's back is read again, even within the same second and at
// the same size.
TEST_F(ProfileTest, ChangedFileIsReadAgain) {
  const std::string file = Ini();
  for (int i = 0; i < 20; ++i) {
    std::string v = std::to_string(10 + i);
    Put(file, "[s]\r\nk=" + v + "\r\n");
    EXPECT_EQ(Value("s", "k", file), v);
  }
  testutil::RemoveTree(file);
  EXPECT_EQ(Value("s", "k", file), "<default>");
}

// ---------------------------------------------------------------------------------------------
// Hostile files

std::string HostileFile(int kind) {
  std::string s;
  uint32_t x = 12345u + static_cast<uint32_t>(kind);
  auto rnd = [&x] {
    x = x * 1103515245u + 12345u;
    return static_cast<char>(x >> 16);
  };
  switch (kind) {
    case 0:  // random bytes
      for (int i = 0; i < 20000; ++i) s += rnd();
      break;
    case 1:  // random bytes shaped like lines
      for (int i = 0; i < 2000; ++i) {
        const std::string_view parts[] = {"["sv,  "]"sv,    "="sv,    "\r\n"sv, "\n"sv,
                                          "\r"sv,  "\""sv,   "'"sv,    "\0"sv,   "\x1a"sv,
                                          "\x83"sv, "a"sv,    "A"sv,    "表"sv};
        s += parts[static_cast<unsigned char>(rnd()) % 14];
        if (i % 7 == 0) s += rnd();
      }
      break;
    case 2:  // a 1 MB line
      s = "[s]\r\nk=" + std::string(1 << 20, 'x') + "\r\n[" + std::string(1 << 20, 'y');
      break;
    case 3:  // NUL bytes in names and values
      s = "[s\0t]\r\nk\0j=v\0w\r\nn=\0\r\n\0[u]\r\nx=1"sv;
      break;
    case 4:  // a lead byte cut off at the end of every line and of the file
      s = "[\x83]\r\n\x83=\x83\r\n[s]\r\nk=\x83\r\nj=\"\x83\"\r\n\x83";
      break;
    default:  // end-of-file bytes and a truncated header
      s = "\x1a\x1a[s]\x1a\r\nk=v\x1a\x1a\r\n\x1a[t";
      break;
  }
  return s;
}

TEST_F(ProfileTest, HostileFilesKeepTheBufferRules) {
  const std::string file = Ini();
  for (int kind = 0; kind < 6; ++kind) {
    SCOPED_TRACE(kind);
    Put(file, HostileFile(kind));
    struct Names {
      const char* section;
      const char* key;
    } names[] = {{nullptr, nullptr}, {"s", nullptr}, {"s", "k"}, {"t", "x"}, {"u", "x"},
                 {"\x83", "\x83"}, {"s", "j"}, {"", ""}};
    for (const Names& n : names) {
      for (uint32_t size : {0u, 1u, 2u, 3u, 8u, 260u, 70000u}) {
        Result r = GetString(n.section, n.key, "def", size, file);
        ExpectBounded(r, size, "read");
#ifndef _WIN32
        // A list of section names ends with two NULs: the one ending its last name (before
        // the returned length, or after it when the list was cut) and one more. The
        // compatibility layer's narrow version writes only one after a cut list.
        if (!n.section && r.ret > 0) {
          EXPECT_TRUE(r.buf[r.ret - 1] == '\0' || (r.ret + 1 < size && r.buf[r.ret + 1] == '\0'));
        }
#endif
      }
      os::Ini().GetInt(n.section, n.key, 5, file.c_str());
    }
    EXPECT_TRUE(os::Ini().WriteString("s", "new", "value", file.c_str()));
    EXPECT_EQ(Value("s", "new", file), "value");
    EXPECT_TRUE(os::Ini().WriteString("s", "new", nullptr, file.c_str()));
    EXPECT_EQ(Value("s", "new", file), "<default>");
    EXPECT_TRUE(os::Ini().WriteString("s", nullptr, nullptr, file.c_str()));
  }
}

// ---------------------------------------------------------------------------------------------
// Speed

TEST_F(ProfileTest, ReadingKeysOfALargeFileIsQuick) {
  const std::string file = Ini();
  std::string text;
  for (int s = 0; s < 10; ++s) {
    text += "[Section" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 100; ++k)
      text += "Key" + std::to_string(k) + "=" + std::string(88, static_cast<char>('a' + s)) +
              std::to_string(k) + "\r\n";
  }
  Put(file, text);
  ASSERT_GT(text.size(), 95000u);
  constexpr int kReads = 10000;
  const uint32_t start = os::Sys().TickCount();
  int wrong = 0;
  for (int i = 0; i < kReads; ++i) {
    int s = (i * 7) % 10, k = (i * 13) % 100;
    std::string section = "Section" + std::to_string(s), key = "key" + std::to_string(k);
    char buf[128];
    uint32_t n = os::Ini().GetString(section.c_str(), key.c_str(), "", buf, sizeof(buf),
                                     file.c_str());
    if (n != 88 + std::to_string(k).size() || buf[0] != 'a' + s) ++wrong;
  }
  const double seconds = (os::Sys().TickCount() - start) / 1000.0;
  EXPECT_EQ(wrong, 0);
  std::printf("[          ] %d reads of a %zu-byte file with 1000 keys: %.3f s\n", kReads,
              text.size(), seconds);
  EXPECT_LT(seconds, 30.0);
}

}  // namespace
