// The shell's object for named entries of one directory, which the context menu and the drag
// both take: a data object whose drop list names exactly those files, and nothing for a name
// that is not there or for no name at all. Real shell, so under Wine only.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "exec/shell_com_win.h"
#include "exec/shell_context_menu_win.h"
#include "tests/unit/test_util.h"

namespace {

// The ANSI paths of a drop block (either width).
std::vector<std::string> DropPaths(HGLOBAL block) {
  std::vector<std::string> paths;
  const auto* p = static_cast<const BYTE*>(::GlobalLock(block));
  if (!p) return paths;
  const DROPFILES* head = reinterpret_cast<const DROPFILES*>(p);
  if (head->fWide) {
    for (const auto* w = reinterpret_cast<const wchar_t*>(p + head->pFiles); *w; w += wcslen(w) + 1)
      paths.push_back(exec::WideToAnsi(w));
  } else {
    for (const char* a = reinterpret_cast<const char*>(p + head->pFiles); *a; a += strlen(a) + 1)
      paths.emplace_back(a);
  }
  ::GlobalUnlock(block);
  return paths;
}

TEST(ShellItemsObjectTest, OffersExactlyTheNamedFiles) {
  exec::ComForCall com;
  testutil::TempDir dir;
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("a.txt"), "a"));
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("b.txt"), "b"));
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("c.txt"), "c"));
  std::string directory = dir.Dir();
  directory.pop_back();  // the folder as a path of its own

  exec::ComPtr<IUnknown> object =
      exec::GetShellItemsObject(directory, {"a.txt", "c.txt"}, nullptr, IID_IDataObject);
  ASSERT_NE(object, nullptr);
  auto* data = static_cast<IDataObject*>(object.get());
  FORMATETC fmt{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&fmt, &medium), S_OK);
  const std::vector<std::string> paths = DropPaths(medium.hGlobal);
  ::ReleaseStgMedium(&medium);
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(::lstrcmpiA(paths[0].c_str(), dir.Path("a.txt").c_str()), 0) << paths[0];
  EXPECT_EQ(::lstrcmpiA(paths[1].c_str(), dir.Path("c.txt").c_str()), 0) << paths[1];

  struct Case {
    const char* what;
    std::vector<std::string> names;
  };
  const Case refused[] = {
      {"no name", {}},
      {"a name that is not there", {"a.txt", "missing.txt"}},
  };
  for (const Case& c : refused)
    EXPECT_EQ(exec::GetShellItemsObject(directory, c.names, nullptr, IID_IDataObject), nullptr)
        << c.what;
  EXPECT_EQ(exec::GetShellItemsObject(dir.Path("nowhere"), {"a.txt"}, nullptr, IID_IDataObject),
            nullptr);
}

}  // namespace
#endif
