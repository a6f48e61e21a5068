// Rescanning a table's directory: the full rescan, which builds the list again, and the
// incremental one, which merges the directory's present state into the list.
#include <new>

#include "os/services.h"
#include "table/entry_fill.h"
#include "table/mask.h"
#include "table/name_index.h"
#include "os/path_text.h"
#include "table/sorm.h"

namespace table {

// The searches of one rescan.
class Scanner {
 public:
  Scanner(Sorm& t, uint32_t attributes, PreviousListing* previous)
      : t_(t), attributes_(attributes) {
    ctx_.directory = t.DirectoryString();
    ctx_.biasMinutes = os::Sys().TimeZoneBiasMinutes();
    ctx_.keys = &t.keys_;
    ctx_.previous = previous;
    // At a drive root ("C:\*.*", six characters) there is no "..".
    atRoot_ = (ctx_.directory + "*.*").size() <= 6;
  }

  // Appends the matches of one pattern. 0, or -1 when memory ran out.
  int ScanPattern(const std::string& pattern);
  // Merges the matches of one pattern into the list. 0; -1 when memory ran out; -2 when it gave
  // way to waiting input.
  int UpdatePattern(const std::string& pattern, bool first);
  NameIndex& index() { return index_; }

 private:
  enum class Pass { kDirectories, kFiles, kBoth };

  // FindFirstFileA on directory + pattern; null when nothing matches, the directory cannot be
  // searched or the path would be longer than a path may be.
  std::unique_ptr<os::Finder> Search(const std::string& pattern, os::FindData& fd) const;
  bool Keep(const os::FindData& fd, Pass pass) const;
  // Searches pattern and takes each kept result: 0, -2 (gave way to input), or kNotSearched
  // when the first search found nothing (no match, missing directory, no access).
  static constexpr int kNotSearched = 1;
  int Run(const std::string& pattern, Pass pass, bool update);
  void Append(const os::FindData& fd, bool update);

  Sorm& t_;
  uint32_t attributes_;
  ScanContext ctx_;
  bool atRoot_ = false;
  NameIndex index_;
};

namespace {

bool MatchesEverything(const std::string& pattern) { return pattern == "*.*" || pattern == "*"; }

bool IsDotName(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

std::unique_ptr<os::Finder> Scanner::Search(const std::string& pattern, os::FindData& fd) const {
  std::string full = ctx_.directory + pattern;
  if (full.size() >= os::kMaxPath) return nullptr;
  return os::Fs().FindFirst(full.c_str(), fd);
}

bool Scanner::Keep(const os::FindData& fd, Pass pass) const {
  // The search attribute set decides whether hidden and system entries are listed at all.
  if (fd.attributes & (os::kAttrHidden | os::kAttrSystem) & ~attributes_) return false;
  const bool showHidden = (t_.viewInfo() & kShowHidden) != 0;
  if (fd.attributes & os::kAttrDirectory) {
    if (pass == Pass::kFiles) return false;
    if (fd.name[0] == '.' && fd.name[1] == '\0') return false;
    if (atRoot_ && fd.name[0] == '.' && fd.name[1] == '.' && fd.name[2] == '\0') return false;
    return showHidden || !(fd.attributes & os::kAttrHidden);
  }
  if (pass == Pass::kDirectories || IsDotName(fd.name)) return false;
  return showHidden || t_.invisibleTypes().IsVisibleType(fd.name);
}

void Scanner::Append(const os::FindData& fd, bool update) {
  const bool directory = (fd.attributes & os::kAttrDirectory) != 0;
  if (update) {
    // A look-alike is matched by its alias (and listed name), never by the name alone.
    BINFO* found = fd.unmappable ? index_.FindLookAlike(fd.alternateName, fd.name)
                                 : index_.Find(fd.name);
    if (found) {
      if (SameFileState(*found->Data(), fd, ctx_.biasMinutes)) {
        found->Data()->state |= kSeen;
        return;
      }
      index_.Remove(found);
      t_.RemoveEntry(found);
    }
  }
  auto node = std::make_unique<EntryNode>();
  FillEntryData(node->data, fd, ctx_);
  if (update) node->data.state |= kSeen | kAdded;
  BINFO* entry = t_.NewEntry(std::move(node), t_.NextPosition(), directory);
  if (update) index_.Add(entry);
}

int Scanner::Run(const std::string& pattern, Pass pass, bool update) {
  os::FindData fd;
  std::unique_ptr<os::Finder> finder = Search(pattern, fd);
  if (!finder) return kNotSearched;
  do {
    if (update && UpdateAbortFlag().load() && os::Sys().PeekPending()) return -2;
    if (Keep(fd, pass)) Append(fd, update);
  } while (finder->Next(fd));
  return 0;
}

int Scanner::ScanPattern(const std::string& pattern) {
  try {
    if (t_.EntryCount() == 0 && (attributes_ & os::kAttrDirectory)) {
      // Directories are listed once, from "*.*", before the first pattern's files. When that
      // pattern matches everything too, one search serves both (the list is sorted afterwards,
      // so the order of appending does not show).
      if (MatchesEverything(pattern)) {
        Run("*.*", Pass::kBoth, false);
        return 0;
      }
      // A directory that cannot be searched ends the pattern with no entries.
      if (Run("*.*", Pass::kDirectories, false) == kNotSearched) return 0;
    }
    Run(pattern, Pass::kFiles, false);
    return 0;
  } catch (const std::bad_alloc&) {
    return -1;
  }
}

int Scanner::UpdatePattern(const std::string& pattern, bool first) {
  try {
    if (first && (attributes_ & os::kAttrDirectory)) {
      if (MatchesEverything(pattern)) return Run("*.*", Pass::kBoth, true) == -2 ? -2 : 0;
      int r = Run("*.*", Pass::kDirectories, true);
      if (r == -2) return -2;
      if (r == kNotSearched) return 0;
    }
    return Run(pattern, Pass::kFiles, true) == -2 ? -2 : 0;
  } catch (const std::bad_alloc&) {
    return -1;
  }
}

Point Sorm::NextPosition() const {
  if (entryCount_ == 0) return StartPosition(listMode());
  BINFO* last = LastEntry();
  return AdvancePosition(Point{last->x, last->y}, listMode(), metrics_);
}

BINFO* Sorm::NewEntry(std::unique_ptr<EntryNode> node, Point pos, bool directoryPass) {
  SM_DAT* d = node->Data();
  BINFO* line = &node->nameLine;
  const char* name = d->DisplayName();
  line->SetBorrowedText(name, std::char_traits<char>::length(name));
  if (directoryPass) {
    line->x = pos.x;
    line->y = pos.y + iconMetrics_.largeHeight + 7;
  }
  BINFO* entry = node.release();
  entry->AppendTo(root_.get());
  entry->x = pos.x;
  entry->y = pos.y;
  entry->width = metrics_.entryWidth;
  entry->height = metrics_.entryHeight;
  ++entryCount_;
  ++entriesMade_;
  if (orderValid_) order_.push_back(entry);
  return entry;
}

int Sorm::RemoveUnseen() {
  // Entries not found again are gone; they and new entries make a change. One walk removes the
  // former and takes the marks off the rest.
  int result = 0;
  std::size_t liveKeyBytes = 0;
  for (BINFO* e = FirstEntry(); e != sentinel_;) {
    BINFO* next = e->NextNode();
    uint8_t& state = e->Data()->state;
    if (!(state & kSeen)) {
      RemoveEntry(e);
      result = 1;
    } else {
      if (state & kAdded) result = 1;
      state &= static_cast<uint8_t>(~(kSeen | kAdded));
      liveKeyBytes += e->Data()->nameKey.size();
    }
    e = next;
  }
  CompactKeys(liveKeyBytes);
  return result;
}

void Sorm::CompactKeys(std::size_t liveBytes) {
  if (keys_.BytesStored() <= 2 * liveBytes + 256 * 1024) return;
  KeyArena fresh;
  for (BINFO* e : Entries()) e->Data()->nameKey = fresh.Store(e->Data()->nameKey);
  std::swap(keys_, fresh);
}

std::unique_ptr<PreviousListing> Sorm::DetachEntries() {
  std::unique_ptr<PreviousListing> previous;
  try {
    previous = std::make_unique<PreviousListing>(sentinel_, std::move(keys_));
  } catch (const std::bad_alloc&) {
    ClearEntries();
  }
  keys_.Clear();
  entryCount_ = 0;
  cursor_ = sentinel_;
  order_.clear();
  orderValid_ = true;
  return previous;
}

void Sorm::ChooseCursor(RescanMode mode, int32_t rememberedIndex) {
  BINFO* chosen = nullptr;
  if (mode != RescanMode::kReload && rememberedIndex >= 0) {
    if (BINFO* e = EntryAt(rememberedIndex)) {
      ClientSize client = view_.GetClientSize();
      bool inside = e->x >= origin_.x && e->x <= origin_.x + client.width &&
                    e->y >= origin_.y && e->y <= origin_.y + client.height;
      if (inside) chosen = e;
    }
  }
  if (!chosen) chosen = FirstVisibleEntry();
  cursor_ = chosen ? chosen : FirstEntry();
}

int Sorm::Rescan(uint32_t attributes, RescanMode mode) {
  const bool update = mode == RescanMode::kUpdate;
  scannedDirectoryTime_ = DirectoryWriteTime(path_);
  std::unique_lock<std::mutex> guard(lock_);
  ++rescanGeneration_;
  loaderState_ = kLoaderIdle;
  loadedIndex_ = 0;

  int32_t rememberedIndex = -1;
  std::unique_ptr<PreviousListing> previous;  // the list a full rescan replaces
  if (mode == RescanMode::kReload) {
    cursor_ = sentinel_;
    origin_ = Point{0, 0};
  } else {
    rememberedIndex = HasCursor() ? cursor_->index : -1;
  }
  const Point savedOrigin = origin_;
  if (update) {
    for (BINFO* e : Entries()) e->Data()->state &= static_cast<uint8_t>(~(kSeen | kAdded));
  } else {
    previous = DetachEntries();
    selectedCount_ = 0;
    selectedBytes_ = 0;
    Layout();
  }

  int result = 0;
  bool aborted = false;
  try {
    Scanner scanner(*this, attributes, previous.get());
    pageSize_ = view_.GetClientSize();
    if (update) scanner.index().Build(Entries(), sentinel_);
    const std::vector<std::string> patterns = MaskPatterns(mask_);
    for (std::size_t i = 0; i < patterns.size() && result != -1; ++i) {
      int r = update ? scanner.UpdatePattern(patterns[i], i == 0)
                     : scanner.ScanPattern(patterns[i]);
      if (r == -1) result = -1;
      if (r == -2) {
        aborted = true;
        break;
      }
    }
    scanner.index().Clear();
    previous.reset();
    if (result != -1) {
      if (update && !aborted) result = RemoveUnseen();
      if (update && (result == 1 || aborted)) {
        Renumber();
        result = 1;
      }
      // An update that changed nothing leaves the list in the order it has.
      if (!update || result == 1) SortLocked(sortId_);
    }
  } catch (const std::bad_alloc&) {
    result = -1;
  }

  if (result == -1) {
    previous.reset();
    ClearEntries();
    selectedCount_ = 0;
    selectedBytes_ = 0;
  } else {
    loaderState_ = kLoaderPending;
    guard.unlock();
    origin_ = savedOrigin;
    if (!update || result == 1) Layout();
    ChooseCursor(mode, rememberedIndex);
  }
  if (guard.owns_lock()) guard.unlock();
  if (update && (aborted || result == -1)) {
    for (BINFO* e : Entries()) e->Data()->state &= static_cast<uint8_t>(~(kSeen | kAdded));
  }
  return result;
}

}  // namespace table
