// The icons of one table entry, by how the entry is started: folders keep the table's folder
// icons, icon files may show their own image, shortcuts their shell icon, programs their own
// icon (cached by name with their date and time), and files of one association share the
// icons their association record keeps.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "exec/exec_link_info.h"
#include "os/shell_icons.h"
#include "table/icon_cache.h"
#include "table/icon_loader.h"

namespace exec {

// The loader asks the shell through os::ShellIcons (a fake in tests).
using IconProvider = os::ShellIcons;

// Whether bytes (the start of a file of fileSize bytes) can be an icon or cursor file worth
// handing to ExtractIconA: a header of type 1 or 2 with 1 to 255 images whose directory and
// image data lie inside the file, none overlapping another or the directory, and none larger
// than kMaxIconImageBytes. A large file of many sound images passes; a damaged directory, or
// one that claims more than any image can hold, does not.
// The largest image a directory entry can describe: 256 x 256 pixels of 32 bits, its mask and
// its header with a full palette.
constexpr uint64_t kMaxIconImageBytes = 40 + 1024 + 256 * 256 * 4 + 256 * 256 / 8;
bool PlausibleIconFile(const std::string& bytes, uint64_t fileSize);
// Reads the start of path and checks it (PlausibleIconFile).
bool IconFileLooksSound(const std::string& path);

// ".ico" or ".cur", any case.
bool IsIconFileName(const char* name);

// After the associations changed: icons cached under a file name (programs, and icon files
// not shown by their own image) may be those of the old association, so those nodes are never
// found again and their files are looked up anew. Icons cached under a full path (shortcuts,
// icon files shown by their own image) stay. Returns how many nodes were dropped. The caller
// holds the table's lock.
int ForgetIconsCachedByName(table::IconCache& cache);

// Fills the icons of table entries; one per pane, called by the worker thread with the
// table's lock held.
class EntryIconLoader : public table::IconSource {
 public:
  // The association lists of the table being loaded (the table's own, in the program).
  using ListsOf = std::function<Associations&(table::Sorm&)>;
  EntryIconLoader(ListsOf listsOf, IconProvider& shell, uint32_t platformMajor)
      : listsOf_(std::move(listsOf)), shell_(shell), platformMajor_(platformMajor) {}
  // One set of lists for every table.
  EntryIconLoader(Associations& lists, IconProvider& shell, uint32_t platformMajor)
      : EntryIconLoader([&lists](table::Sorm&) -> Associations& { return lists; }, shell,
                        platformMajor) {}
  void LoadIcons(table::Sorm& t, const std::string& directory, table::BINFO& entry) override;

 private:
  void LoadModern(table::Sorm& t, const std::string& directory, table::SM_DAT& d);
  void LoadOld(table::Sorm& t, const std::string& directory, table::SM_DAT& d);
  // Step of both: icon files shown by their own image. True when done.
  bool OwnImage(table::Sorm& t, const std::string& full, table::SM_DAT& d);

  ListsOf listsOf_;
  IconProvider& shell_;
  uint32_t platformMajor_;
};

}  // namespace exec
