// Fuzzes the reading of link files (.LFI) in memory: the input is a control byte and up to six
// files as "name NUL text NUL ...", held in the directory Z:\lfi (a name with a drive or a
// directory is taken as it is, so that links can point at each other).
// Checked against the INI engine read directly: a link file's target, title and working
// directory are its "Link", "Title" and "Current" values cut to the buffer each is read with
// (259, 511 and 259 bytes), empty for a file larger than a link file can be; a name that is no
// link file's leaves the target untouched; a title falls back to the name; following a chain
// ends after at most the chain limit, with the target a walk by hand reaches.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "links/link_file.h"
#include "os/path_text.h"
#include "tests/fuzz/input_parts.h"
#include "tests/fuzz/memory_files.h"

namespace {

namespace ini = os::ini;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_link_file: %s\n", what);
  std::abort();
}

constexpr const char* kDir = "Z:\\lfi";

fuzzmem::MemoryFiles& Files() {
  static fuzzmem::MemoryFiles* files = new fuzzmem::MemoryFiles;
  return *files;
}

std::string FullName(const std::string& name) {
  return os::HasDriveOrDirectory(name.c_str()) ? name : std::string(kDir) + "\\" + name;
}

// A value of the link file at full path read with a buffer of bufSize bytes, as a model.
std::string Expect(const std::string& full, const char* key, std::size_t bufSize) {
  const fuzzmem::MemoryFile* f = Files().Get(full.c_str());
  if (!f || f->size > links::kMaxLinkFileBytes) return std::string();
  std::string_view v;
  if (!f->doc->Find("Link", key, &v)) return std::string();
  return std::string(ini::Unquote(v).substr(0, bufSize - 1));
}

// A path value (Link, Current) as the reader must give it: whole, or empty when it is longer
// than a path.
std::string ExpectPath(const std::string& full, const char* key) {
  const std::string v = Expect(full, key, links::kMaxLinkPathBytes + 3);
  return v.size() > links::kMaxLinkPathBytes ? std::string() : v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 8192) return 0;
  const uint8_t control = data[0];
  std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
  Files().Clear();
  std::vector<std::string> names;
  while (!in.empty() && names.size() < 6) {
    std::string name(fuzzparts::NextPart(in));
    std::string text(fuzzparts::NextPart(in));
    if (name.empty() || name.size() > 200) continue;
    // Now and then a file larger than a link file can be (its text alone is served).
    const bool huge = (control >> names.size()) & 1 && names.size() < 2;
    Files().Put(FullName(name), std::move(text), huge ? links::kMaxLinkFileBytes + 1u : 0u);
    names.push_back(std::move(name));
  }

  fuzzmem::MemoryFs fs(Files(), kDir);
  fuzzmem::MemoryProfile profile(Files());
  os::ScopedServices services(os::Services{&fs, &profile, nullptr, nullptr, nullptr});

  for (const std::string& name : names) {
    const std::string full = FullName(name);
    std::string target = "untouched";
    const int isLink = links::ReadLinkTarget(name.c_str(), target);
    if (isLink != (links::IsLinkFileName(name.c_str()) ? 1 : 0)) Fail("wrong link verdict");
    if (!isLink) {
      if (target != "untouched") Fail("a name that is no link file's changed the target");
      continue;
    }
    if (target != ExpectPath(full, "Link")) Fail("target differs from the file's Link");

    std::string dir;
    const int hasDir = links::ReadLinkWorkingDirectory(name.c_str(), dir);
    const bool dirTooLong = Expect(full, "Current", links::kMaxLinkPathBytes + 3).size() >
                            links::kMaxLinkPathBytes;
    if (dir != ExpectPath(full, "Current") || hasDir != (dirTooLong ? -1 : dir.empty() ? 0 : 1))
      Fail("working directory differs from the file's Current");

    std::string title;
    const int hasTitle = links::ReadLinkTitle(std::string(kDir) + "\\", name.c_str(), title);
    const std::string expectTitle = Expect(full, "Title", 512);
    if (hasTitle != (expectTitle.empty() ? 0 : 1)) Fail("wrong title verdict");
    if (title != (hasTitle ? expectTitle : std::string(os::FileNamePart(name.c_str()))))
      Fail("title differs from the file's Title or name");

    // The chain walked by hand, at most the chain limit of steps.
    std::string walked = name;
    for (int hop = 0; hop < links::kMaxLinkChain && links::IsLinkFileName(walked.c_str());
         ++hop)
      walked = ExpectPath(FullName(walked), "Link");
    if (links::FollowLinkChain(name) != walked) Fail("the chain ends elsewhere");
  }
  return 0;
}
