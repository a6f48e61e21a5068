// The OLE objects of drag and drop against real OLE (Windows builds only): the answers of the
// data object, drop source and format enumerator, the drop target's effects and the block it
// posts, and that every drop block is freed exactly once, counted through the OS layer.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fileops/drop_block.h"
#include "fileops/drop_handle_win.h"
#include "fileops/drop_ole_win.h"
#include "fileops/drop_policy.h"
#include "frame/command_gate.h"
#include "os/drop_memory.h"
#include "tests/unit/test_util.h"
#include "tests/unit/wide_names.h"

namespace {

using namespace fileops;

// Frees for real and counts each call per handle.
class CountingDropMemory final : public os::DropMemory {
 public:
  void DragFinish(void* drop) override {
    ++finished[drop];
    events.push_back(drop);
    ::GlobalFree(drop);
  }
  void GlobalFree(void* memory) override {
    ++freed[memory];
    events.push_back(memory);
    ::GlobalFree(memory);
  }
  // Calls of either kind for a handle.
  int Frees(void* h) const {
    auto a = finished.find(h), b = freed.find(h);
    return (a == finished.end() ? 0 : a->second) + (b == freed.end() ? 0 : b->second);
  }
  size_t Handles() const { return finished.size() + freed.size(); }
  std::map<void*, int> finished, freed;
  std::vector<void*> events;  // every free, in order (a freed handle value may come again)
};

HGLOBAL MakeBlock(const std::vector<std::string>& paths) {
  const std::string list = JoinDropPaths(paths);
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, DropBlockSize(list));
  WriteDropBlock(static_cast<uint8_t*>(::GlobalLock(h)), DropBlockSize(list), list, 0, 0, true);
  ::GlobalUnlock(h);
  return h;
}

// A data object of another program: hands out a fresh block per GetData with no release owner,
// as a marshalled copy arrives.
class ForeignData final : public IDataObject {
 public:
  explicit ForeignData(std::vector<std::string> paths) : paths_(std::move(paths)) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP GetData(FORMATETC* fmt, STGMEDIUM* medium) override {
    if (!IsDropFormat(*fmt)) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = MakeBlock(paths_);
    medium->pUnkForRelease = nullptr;
    given.push_back(medium->hGlobal);
    return S_OK;
  }
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC* fmt) override {
    return offersDrop && IsDropFormat(*fmt) ? S_OK : DV_E_FORMATETC;
  }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  LONG refs = 1;
  bool offersDrop = true;
  std::vector<HGLOBAL> given;

 private:
  std::vector<std::string> paths_;
};

// A window the drop target posts to, with the drop blocks taken from its queue.
class DropWindow {
 public:
  DropWindow() {
    hwnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 100, 200, 200, nullptr, nullptr,
                             nullptr, nullptr);
  }
  ~DropWindow() { ::DestroyWindow(hwnd); }
  std::vector<HDROP> Posted() {
    std::vector<HDROP> out;
    MSG msg;
    while (::PeekMessageA(&msg, hwnd, WM_DROPFILES, WM_DROPFILES, PM_REMOVE))
      out.push_back(reinterpret_cast<HDROP>(msg.wParam));
    return out;
  }
  HWND hwnd;
};

template <typename I, typename T>
I* Interface(T* object, REFIID iid) {
  I* out = nullptr;
  EXPECT_EQ(object->QueryInterface(iid, reinterpret_cast<void**>(&out)), S_OK);
  return out;
}

}  // namespace

TEST(DropOleTest, DataObjectAnswersAndFreesItsOwnBlockOnce) {
  CountingDropMemory counts;
  os::ScopedDropMemory scoped(counts);
  HGLOBAL block = MakeBlock({"C:\\a.txt"});
  IDataObject* data = Interface<IDataObject>(new CDataObject(block, true, nullptr), IID_IDataObject);

  struct Case {
    const char* what;
    FORMATETC fmt;
    HRESULT query;
  };
  const Case cases[] = {
      {"CF_HDROP", DropFormat(), S_OK},
      {"HGLOBAL among other media", {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL | TYMED_ISTREAM}, S_OK},
      {"text", {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},
      {"other aspect", {CF_HDROP, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},
      {"other index", {CF_HDROP, nullptr, DVASPECT_CONTENT, 0, TYMED_HGLOBAL}, DV_E_FORMATETC},
      {"stream only", {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM}, DV_E_FORMATETC},
  };
  for (const Case& c : cases) {
    FORMATETC f = c.fmt;
    EXPECT_EQ(data->QueryGetData(&f), c.query) << c.what;
    STGMEDIUM m{};
    EXPECT_EQ(data->GetData(&f, &m), c.query) << c.what;
    if (c.query == S_OK) {
      EXPECT_EQ(m.hGlobal, block) << c.what;
      EXPECT_NE(m.pUnkForRelease, nullptr) << c.what;
      ReleaseDropMedium(m);  // releases the data object's reference, not the block
    }
    EXPECT_EQ(data->GetDataHere(&f, &m), E_NOTIMPL) << c.what;
    FORMATETC canonical{};
    EXPECT_EQ(data->GetCanonicalFormatEtc(&f, &canonical), E_NOTIMPL) << c.what;
  }
  EXPECT_EQ(data->DAdvise(nullptr, 0, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(data->DUnadvise(0), E_NOTIMPL);
  EXPECT_EQ(data->EnumDAdvise(nullptr), E_NOTIMPL);
  IDropTarget* wrong = nullptr;
  EXPECT_EQ(data->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&wrong)), E_NOINTERFACE);
  EXPECT_EQ(counts.Handles(), 0u);

  // SetData replaces the owned block: the old one is freed once, the new one is not ours.
  HGLOBAL second = MakeBlock({"C:\\b.txt"});
  FORMATETC f = DropFormat();
  STGMEDIUM m{};
  m.tymed = TYMED_HGLOBAL;
  m.hGlobal = second;
  EXPECT_EQ(data->SetData(&f, &m, FALSE), S_OK);
  EXPECT_EQ(counts.Frees(block), 1);
  EXPECT_EQ(data->Release(), 0u);
  EXPECT_EQ(counts.Frees(second), 0);
  ::GlobalFree(second);
}

TEST(DropOleTest, EnumeratorGivesTheDropFormatFirst) {
  IDataObject* data = Interface<IDataObject>(new CDataObject(nullptr, false, nullptr), IID_IDataObject);
  IEnumFORMATETC* e = nullptr;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &e), S_OK);
  FORMATETC f[2]{};
  ULONG n = 9;
  EXPECT_EQ(e->Next(2, f, &n), S_FALSE);
  EXPECT_EQ(n, 1u);
  EXPECT_TRUE(IsDropFormat(f[0]));
  EXPECT_EQ(e->Next(1, f, &n), S_FALSE);
  EXPECT_EQ(n, 0u);
  IEnumFORMATETC* clone = nullptr;
  EXPECT_EQ(e->Reset(), S_OK);
  ASSERT_EQ(e->Clone(&clone), S_OK);
  // A skipped format is not handed out again; the clone keeps its own place.
  EXPECT_EQ(e->Skip(1), S_OK);
  EXPECT_EQ(e->Next(1, f, nullptr), S_FALSE);
  EXPECT_EQ(e->Skip(1), S_FALSE);
  EXPECT_EQ(clone->Next(1, f, nullptr), S_OK);
  EXPECT_TRUE(IsDropFormat(f[0]));
  EXPECT_EQ(clone->Release(), 0u);
  EXPECT_EQ(e->Release(), 0u);
  EXPECT_EQ(data->Release(), 0u);
}

TEST(DropOleTest, DropSourceFollowsTheButtonsAndEscape) {
  IDropSource* s = Interface<IDropSource>(new CDropSource, IID_IDropSource);
  struct Case {
    BOOL escape;
    DWORD keys;
    HRESULT result;
  };
  const Case cases[] = {
      {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL}, {FALSE, 0, DRAGDROP_S_DROP},
      {FALSE, MK_SHIFT, DRAGDROP_S_DROP},    {FALSE, MK_LBUTTON, S_OK},
      {FALSE, MK_RBUTTON | MK_SHIFT, S_OK},
  };
  for (const Case& c : cases)
    EXPECT_EQ(s->QueryContinueDrag(c.escape, c.keys), c.result) << c.escape << " " << c.keys;
  EXPECT_EQ(s->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
  EXPECT_EQ(s->Release(), 0u);
}

// A drop target on a window of its own, with the frees counted.
class DropTargetTest : public ::testing::Test {
 protected:
  CountingDropMemory counts;
  os::ScopedDropMemory scoped{counts};
  DropWindow window;
  frame::CommandGate gate;
  IDropTarget* target =
      Interface<IDropTarget>(new CDropTarget(window.hwnd, nullptr, &gate), IID_IDropTarget);
};

// Our own drag onto our own pane and another program's drag: the pane gets a copy with the
// drop point, the effect handed back stays none, and every block is freed exactly once.
TEST_F(DropTargetTest, DropPostsACopyAndEveryBlockIsFreedOnce) {

  HGLOBAL own = MakeBlock({"C:\\own.txt"});
  IDataObject* ours = Interface<IDataObject>(new CDataObject(own, true, nullptr), IID_IDataObject);
  ForeignData foreign({"D:\\foreign\\x.txt", "D:\\foreign\\y"});

  struct Case {
    const char* what;
    IDataObject* data;
    DWORD keys;
    DWORD enterEffect;
    const char* firstFile;
  };
  const Case cases[] = {
      {"own, copy", ours, MK_LBUTTON, DROPEFFECT_COPY, "C:\\own.txt"},
      {"own, move", ours, MK_LBUTTON | MK_SHIFT, DROPEFFECT_MOVE, "C:\\own.txt"},
      {"foreign, link", &foreign, MK_LBUTTON | MK_SHIFT | MK_CONTROL, DROPEFFECT_LINK,
       "D:\\foreign\\x.txt"},
  };
  for (const Case& c : cases) {
    const size_t before = counts.events.size();
    const size_t givenBefore = foreign.given.size();
    const POINTL at{130, 150};  // screen; the window's client origin is at (100, 100)
    DWORD effect = 0;
    ASSERT_EQ(target->DragEnter(c.data, c.keys, at, &effect), S_OK) << c.what;
    EXPECT_EQ(effect, c.enterEffect) << c.what;
    effect = 0;
    EXPECT_EQ(target->DragOver(c.keys, at, &effect), S_OK) << c.what;
    EXPECT_EQ(effect, c.enterEffect) << c.what;
    effect = 77;
    EXPECT_EQ(target->Drop(c.data, c.keys, at, &effect), S_OK) << c.what;
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)) << c.what;
    const std::vector<HDROP> posted = window.Posted();
    ASSERT_EQ(posted.size(), 1u) << c.what;
    EXPECT_NE(reinterpret_cast<HGLOBAL>(posted[0]), own) << c.what;
    std::vector<void*> expected;
    if (foreign.given.size() > givenBefore) expected.push_back(foreign.given.back());
    {
      DroppedFiles files;
      HeldDrop held(posted[0]);
      EXPECT_EQ(ReadDroppedFiles(held.Get(), files), "") << c.what;
      ASSERT_FALSE(files.files.empty()) << c.what;
      EXPECT_EQ(files.files[0], c.firstFile) << c.what;
      EXPECT_EQ(files.point.x, 30) << c.what;
      EXPECT_EQ(files.point.y, 50) << c.what;
      EXPECT_FALSE(files.nonClient) << c.what;
    }
    expected.push_back(posted[0]);
    // The foreign block released once by the target, the copy once by the handler's hold;
    // our own block not at all.
    EXPECT_EQ(std::vector<void*>(counts.events.begin() + before, counts.events.end()), expected)
        << c.what;
  }
  ASSERT_EQ(foreign.given.size(), 1u);
  const size_t before = counts.events.size();
  EXPECT_EQ(ours->Release(), 0u);
  EXPECT_EQ(std::vector<void*>(counts.events.begin() + before, counts.events.end()),
            std::vector<void*>{own});
  EXPECT_EQ(foreign.refs, 1);  // the target kept no reference
  EXPECT_EQ(target->Release(), 0u);
}

TEST_F(DropTargetTest, NothingIsTakenWhileACommandRunsOrWithoutTheFormat) {
  ForeignData foreign({"D:\\x.txt"});
  const POINTL at{130, 150};
  DWORD effect = 0;
  {
    auto scope = gate.Enter();
    ASSERT_EQ(target->DragEnter(&foreign, MK_LBUTTON, at, &effect), S_OK);
    EXPECT_EQ(target->DragOver(MK_LBUTTON, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(target->Drop(&foreign, MK_LBUTTON, at, &effect), S_OK);
    EXPECT_TRUE(window.Posted().empty());
    EXPECT_TRUE(foreign.given.empty());
  }
  // A drop without a DragEnter that took the data fails and takes nothing.
  EXPECT_EQ(target->Drop(&foreign, MK_LBUTTON, at, &effect), E_FAIL);
  // A data object without CF_HDROP gives no effect.
  ForeignData none({});
  none.offersDrop = false;
  ASSERT_EQ(target->DragEnter(&none, MK_LBUTTON, at, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(target->DragOver(MK_LBUTTON, at, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(target->DragLeave(), S_OK);
  EXPECT_TRUE(window.Posted().empty());
  EXPECT_EQ(counts.Handles(), 0u);
  EXPECT_EQ(target->Release(), 0u);
}

TEST(DropOleTest, HeldDropIsFreedOnceAndReleasedNever) {
  CountingDropMemory counts;
  os::ScopedDropMemory scoped(counts);
  HGLOBAL a = MakeBlock({"C:\\a"});
  HGLOBAL b = MakeBlock({"C:\\b"});
  {
    HeldDrop first(reinterpret_cast<HDROP>(a));
    HeldDrop moved(std::move(first));
    moved.Free();
    moved.Free();
    HeldDrop second(reinterpret_cast<HDROP>(b));
    EXPECT_EQ(second.Release(), reinterpret_cast<HDROP>(b));
  }
  EXPECT_EQ(counts.Frees(a), 1);
  EXPECT_EQ(counts.Frees(b), 0);
  ::GlobalFree(b);
}

// A dropped path whose names the path calls would rewrite ("a." read as "a", "d.\f" as
// "d\f") is taken by its short form, which reaches the dropped file and not its neighbour; a
// device name, which has none, is refused.
TEST(DropOleTest, WidePathsWithRewrittenNamesAreTakenByTheirShortForm) {
  testutil::TempDir dir;
  const std::string folder = dir.Dir();
  ASSERT_TRUE(testutil::WriteFileBytes(folder + "a", "neighbour a"));
  ASSERT_TRUE(::CreateDirectoryA((folder + "d").c_str(), nullptr));
  ASSERT_TRUE(testutil::WriteFileBytes(folder + "d\\inner.txt", "neighbour d"));
  struct Case {
    std::u16string name;
    const char* bytes;  // null: refused
  } cases[] = {
      {u"a", "neighbour a"},
      {u"a.", "dropped a."},
      {u"a ", "dropped a blank"},
      {u"d.\\inner.txt", "dropped in d."},
      {u"con", nullptr},
  };
  ASSERT_TRUE(testutil::MakeWideNamedDirectory(folder, u"d."));
  for (const Case& c : cases) {
    if (c.name == u"a") continue;
    ASSERT_TRUE(testutil::WriteWideNamedFile(folder, c.name, c.bytes ? c.bytes : "device"));
  }
  const std::u16string wideFolder(folder.begin(), folder.end());  // plain ASCII
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
    std::string converted;
    const bool ok = WidePathToAnsi(wideFolder + c.name, converted);
    if (!c.bytes) {
      EXPECT_FALSE(ok) << converted;
      continue;
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(testutil::ReadFileBytes(converted), c.bytes) << converted;
  }
  testutil::RemoveWideNamed(folder, u"con");
}

TEST(DropOleTest, WideBlocksAreConvertedOrRefused) {
  testutil::TempDir dir;
  // A file whose name the code page cannot hold is reached by its short alias.
  const std::wstring wdir(dir.Dir().begin(), dir.Dir().end());
  const std::wstring odd = wdir + L"caf\u00e9 \u0101.txt";
  HANDLE h = ::CreateFileW(odd.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);
  std::string converted;
  const std::u16string plain = u"C:\\\u65e5\u672c.txt";  // 日本.txt
  ASSERT_TRUE(WidePathToAnsi(plain, converted));
  EXPECT_EQ(converted, "C:\\\x93\xfa\x96\x7b.txt");
  const std::u16string oddPath(odd.begin(), odd.end());
  ASSERT_TRUE(WidePathToAnsi(oddPath, converted));
  EXPECT_EQ(converted.find('?'), std::string::npos) << converted;
  EXPECT_NE(::GetFileAttributesA(converted.c_str()), INVALID_FILE_ATTRIBUTES) << converted;
  EXPECT_FALSE(WidePathToAnsi(u"C:\\no such dir\\\u0101", converted));

  // A wide block read through the handler's reader.
  std::string list;
  for (const std::u16string& p : {plain, oddPath}) {
    for (char16_t c : p) {
      list.push_back(static_cast<char>(c & 0xFF));
      list.push_back(static_cast<char>(c >> 8));
    }
    list.append(2, '\0');
  }
  list.append(2, '\0');
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 20 + list.size());
  auto* p = static_cast<uint8_t*>(::GlobalLock(block));
  p[0] = 20;
  p[16] = 1;
  std::memcpy(p + 20, list.data(), list.size());
  ::GlobalUnlock(block);
  DroppedFiles files;
  EXPECT_EQ(ReadDroppedFiles(reinterpret_cast<HDROP>(block), files), "");
  ASSERT_EQ(files.files.size(), 2u);
  EXPECT_EQ(files.files[0], "C:\\\x93\xfa\x96\x7b.txt");
  ::GlobalFree(block);
  ::DeleteFileW(odd.c_str());

  // A block that is no block: a clear message and no file.
  HGLOBAL tiny = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);
  EXPECT_NE(ReadDroppedFiles(reinterpret_cast<HDROP>(tiny), files), "");
  EXPECT_TRUE(files.files.empty());
  ::GlobalFree(tiny);
}
#endif  // _WIN32
