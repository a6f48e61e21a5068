// The executable type of a file (SHGetFileInfoA with SHGFI_EXETYPE): the rule over headers, and
// the OS layer's answer for real files, natively from the emulation and under Wine from the
// shell.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <string>

#include "exec/run_line.h"
#include "os/exe_type.h"
#include "os/services.h"
#include "tests/unit/test_util.h"

namespace {

void Put16(std::string& b, std::size_t at, uint32_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}

// A program header: "MZ", the new header at 0x80, then "PE\0\0" (or "NE"), a 20-byte file
// header for i386 and an optional header with the subsystem and its version.
std::string Image(const char* signature, uint32_t subsystem, uint32_t major, uint32_t minor) {
  std::string b(1024, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  Put16(b, 0x3C, 0x80);
  b[0x80] = signature[0];
  b[0x81] = signature[1];
  Put16(b, 0x84, 0x14C);       // i386
  Put16(b, 0x84 + 16, 0xE0);   // size of the optional header
  Put16(b, 0x84 + 18, 0x102);  // executable, 32-bit
  const std::size_t optional = 0x98;
  Put16(b, optional, 0x10B);  // PE32
  Put16(b, optional + 48, major);
  Put16(b, optional + 50, minor);
  Put16(b, optional + 68, subsystem);
  if (signature[0] == 'N') {
    b[0x80 + 0x3E] = static_cast<char>(minor);
    b[0x80 + 0x3F] = static_cast<char>(major);
  }
  return b;
}

TEST(ExeTypeTest, TheTypeFromTheHeader) {
  const struct {
    const char* name;
    std::string head;
    uint32_t type;
  } cases[] = {
      {"a.exe", Image("PE", 2, 4, 0), 0x04004550},
      {"a.exe", Image("PE", 3, 4, 0), 0x4550},  // console
      {"a.exe", Image("NE", 0, 3, 10), 0x030A454E},
      {"a.exe", Image("LE", 0, 0, 0), 0x4D5A},
      {"a.exe", "MZ", 0x4D5A},                  // too short for a new header
      {"a.txt", "hello", 0},
      {"a.exe", "", 0},
      {"run.BAT", "@echo", 0x4D5A},
      {"x.com", "", 0x4D5A},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(os::ExeTypeOf(c.name, c.head), c.type) << c.name << " " << c.head.substr(0, 2);
  }
  EXPECT_TRUE(exec::IsWin32ExeType(os::ExeTypeOf("a.exe", Image("PE", 2, 4, 0))));
  EXPECT_TRUE(exec::IsWin32ExeType(os::ExeTypeOf("a.exe", Image("PE", 3, 4, 0))));
  EXPECT_FALSE(exec::IsWin32ExeType(os::ExeTypeOf("a.exe", Image("NE", 0, 3, 10))));
}

// Files through the OS layer: the emulation and Wine's shell agree on what counts as a 32-bit
// Windows program. Under Windows the program is this test's own; natively a header like it.
TEST(ExeTypeTest, RealFilesThroughTheOsLayer) {
  testutil::TempDir dir;
  std::string program = dir.Path("console.exe");
#ifdef _WIN32
  char self[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameA(nullptr, self, sizeof(self)), 0u);
  program = self;
#else
  ASSERT_TRUE(testutil::WriteFileBytes(program, Image("PE", 3, 4, 0)));
#endif
  const uint32_t type = os::Sys().ExecutableType(program.c_str());
  EXPECT_TRUE(exec::IsWin32ExeType(type)) << program << " " << std::hex << type;
  EXPECT_EQ(type >> 16, 0u) << "a console program";
  const struct {
    const char* name;
    std::string content;
    uint32_t type;
  } cases[] = {
      {"dos.exe", std::string("MZ") + std::string(200, '\0'), 0x4D5A},
      {"notes.txt", "plain text", 0},
  };
  for (const auto& c : cases) {
    const std::string path = dir.Path(c.name);
    ASSERT_TRUE(testutil::WriteFileBytes(path, c.content));
    EXPECT_EQ(os::Sys().ExecutableType(path.c_str()), c.type) << c.name;
  }
  EXPECT_EQ(os::Sys().ExecutableType(dir.Path("missing.exe").c_str()), 0u);
}

}  // namespace
