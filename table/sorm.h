// The file table of one pane: its directory, mask, sort order and view settings, the entries
// of the directory and the geometry of every entry as it is drawn.
//
// Entry tree: a root node owns, as its ring of children, a sentinel (index 0) followed by the
// entry nodes in display order (indices 1..N). Each entry node owns its SM_DAT and has as
// children one or more name lines and then, as the view asks, a size, date, time and attribute
// line. Walks go from the sentinel's successor until the sentinel comes round again.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "table/binfo.h"
#include "table/drive_directory.h"
#include "table/hidden_types.h"
#include "table/icon_cache.h"
#include "table/key_arena.h"
#include "table/layout_math.h"
#include "table/link.h"
#include "table/pane_settings.h"
#include "table/previous_listing.h"
#include "table/table_view.h"

namespace table {

enum class RescanMode { kReload, kReloadKeepPosition, kUpdate };

enum IconLoaderState : int32_t {
  kLoaderIdle = 0,      // a rescan runs, or destruction has begun
  kLoaderPending = 1,   // a rescan finished
  kLoaderLoading = 2,   // the icon loader started on the new list
  kLoaderComplete = 3,  // the loader reported the last icon
};

// Search attribute sets: with hidden and system files, and without.
constexpr uint32_t kScanAttributesAll = 0x37;
constexpr uint32_t kScanAttributesVisible = 0x31;

// Messages of the table.
constexpr const char* kRescanFailedText = "ファイル情報が取得できません";
constexpr const char* kMemoryErrorText = "内部メモリ確保エラー : 強制終了します";

// Set while a poll-triggered incremental rescan runs: such a rescan gives way (returns -2) as
// soon as a message is waiting in the thread's queue.
std::atomic<bool>& UpdateAbortFlag();

// The last-write time of a directory (0 when it cannot be read, as for a drive root).
uint64_t DirectoryWriteTime(const std::string& path);

// The fallback and folder icons of a pane, as opaque icon handles the window layer supplies.
struct PaneIcons {
  void* builtin[8] = {};  // resources 1002 to 1009
  void* folderLarge = nullptr;
  void* folderSmall = nullptr;
  bool ownsFolderIcons = false;  // the shell's folder icons are destroyed with the table
};

class Sorm {
 public:
  // Reads the pane's keys for instance (n + 100 for a second pane), enters the saved path,
  // lists it, shows the title and puts the cursor back on the saved entry.
  Sorm(TableView& view, int instance);
  ~Sorm();
  Sorm(const Sorm&) = delete;
  Sorm& operator=(const Sorm&) = delete;

  // ---- settings
  int instance() const { return instance_; }
  const std::string& path() const { return path_; }
  const std::string& mask() const { return mask_; }
  void SetMask(const std::string& mask) { mask_ = mask; }
  // The command the mask was chosen with: a mask menu item's id, or the mask input's command
  // when typed; 0 while the mask is the one the pane was saved with.
  int maskCommand() const { return maskCommand_; }
  // A mask chosen by a command: taken, the directory listed again with it and the title shown.
  int ChooseMask(const std::string& mask, int command);
  int16_t sortId() const { return sortId_; }
  int16_t viewMode() const { return viewMode_; }
  bool listMode() const { return viewMode_ == kListMode; }
  void SetViewMode(int16_t mode) { viewMode_ = mode == kListMode ? kListMode : kIconMode; }
  uint16_t viewInfo() const { return viewInfo_; }
  void SetViewInfo(uint16_t info) { viewInfo_ = info; }
  int32_t iconSpacingX() const { return iconSpacingX_; }
  int32_t iconSpacingY() const { return iconSpacingY_; }
  void SetIconSpacing(long x, long y);
  bool autoAdjust() const { return autoAdjust_; }
  void SetAutoAdjust(bool on) { autoAdjust_ = on; }
  int32_t bmpIcon() const { return bmpIcon_.load(std::memory_order_relaxed); }
  void SetBmpIcon(int32_t v) { bmpIcon_ = v; }
  const InvisibleTypes& invisibleTypes() const { return invisibleTypes_; }
  void SetInvisibleTypesText(const std::string& text);
  std::string InvisibleTypesText() const { return invisibleTypes_.Join(); }
  // 55 when hidden files are shown, else 49.
  uint32_t ScanAttributes() const;
  // Writes the pane's keys into section "INST<n>" (n = -1 for the saved defaults).
  bool SaveSettings(int sectionNumber) const;

  // ---- directory
  // Enters path with the per-drive memory; on success the full current directory becomes the
  // table's path. 0 on success, -1 on failure (the path stays).
  int ChangePath(const char* path);
  DriveDirectories& drives() { return drives_; }
  // The table's path as a directory string (ending in "\").
  std::string DirectoryString() const;

  // ---- entries
  BINFO* root() const { return root_.get(); }
  BINFO* sentinel() const { return sentinel_; }
  // The first entry, or the sentinel when the list is empty.
  BINFO* FirstEntry() const { return sentinel_->NextNode(); }
  BINFO* LastEntry() const { return sentinel_->PrevNode(); }
  bool IsEntry(const BINFO* node) const { return node && node != sentinel_; }
  int32_t EntryCount() const { return entryCount_; }
  // The entries in display order; kept until the ring changes, so walks over it touch no
  // sibling links.
  const std::vector<BINFO*>& Entries() const;
  // The entry with that index, or null.
  BINFO* EntryAt(int32_t index) const;

  // Rescans the directory: -1 on failure (the list is then empty), 1 when an incremental
  // rescan changed the list, else 0.
  int Rescan(uint32_t attributes, RescanMode mode);
  // Rescan and refresh the pane; each returns the rescan's result.
  int Reload();
  int ReloadKeepPosition();
  int Update();

  void ClearEntries();
  // Removes one entry, taking it out of the selection totals first when it was selected.
  void RemoveEntry(BINFO* entry);
  // First entry whose name equals name for lstrcmpiA.
  BINFO* FindEntryByName(const char* name) const;
  // First entry whose address name (SM_DAT::AddressName: the name, or the alias of a name that
  // does not lead back) equals name for lstrcmpiA: the entry a saved or left name stands for.
  BINFO* FindEntryByAddressName(const char* name) const;
  // Icon mode: the first entry in the row at the scroll origin; list mode: the first entry in
  // the column at it. Null when there is none or the origin is unset (-1).
  BINFO* FirstVisibleEntry() const;
  // The entry under a point of the client area; later entries win where rectangles overlap.
  BINFO* HitTest(int32_t x, int32_t y);
  // Renumbers the entries 1..N in ring order.
  void Renumber();

  // ---- cursor and selection
  BINFO* cursor() const { return cursor_; }
  bool HasCursor() const { return IsEntry(cursor_); }
  void SetCursor(BINFO* entry) { cursor_ = entry ? entry : sentinel_; }
  const std::string& cursorName() const { return cursorName_; }
  int32_t selectedCount() const { return selectedCount_; }
  double selectedBytes() const { return selectedBytes_; }
  void AddToSelectionTotals(const SM_DAT& d);
  void SubtractFromSelectionTotals(const SM_DAT& d);
  // While one lives, the selection totals change without refreshing the status bar each time;
  // the text is refreshed once when the last hold ends (select all on 100,000 entries).
  class SelectionTextHold {
   public:
    explicit SelectionTextHold(Sorm& t) : t_(t) { ++t_.selectionHolds_; }
    ~SelectionTextHold();
    SelectionTextHold(const SelectionTextHold&) = delete;
    SelectionTextHold& operator=(const SelectionTextHold&) = delete;

   private:
    Sorm& t_;
  };

  // ---- sorting
  // Sorts with a new order and lays out again; repaint asks for the pane to be repainted (the
  // menu commands). An empty list keeps the previous order in force.
  void Sort(int16_t newSortId, bool repaint);

  // ---- layout
  // Rebuilds the text lines that need it, places every entry and sets the scroll bars. 1 when
  // the scroll origin or the entries per line changed, else 0.
  int Layout();
  // The pane font changed: every text is measured again by the next layout.
  void TextMetricsChanged() { ++measureGeneration_; }
  // One entry's data changed in place: its lines are built again by the next layout.
  void InvalidateEntryLines(BINFO* entry) {
    if (IsEntry(entry)) entry->layoutStamp = 0;
  }
  const LayoutMetrics& metrics() const { return metrics_; }
  const IconMetrics& iconMetrics() const { return iconMetrics_; }
  Point origin() const { return origin_; }
  void SetOrigin(Point p) { origin_ = p; }
  int32_t extentWidth() const { return extentWidth_; }
  int32_t extentHeight() const { return extentHeight_; }
  ClientSize pageSize() const { return pageSize_; }

  // ---- title
  // Composes the title (directory, mask, count and free space), keeps it and shows it.
  const std::string& TitleText();
  const std::string& title() const { return title_; }
  // The pane's error box (TableView::ErrorBox), for a command refused on this table.
  void ErrorBox(const char* text) { view_.ErrorBox(text); }

  // ---- icon loader
  std::mutex& lock() { return lock_; }
  int32_t loaderState() const { return loaderState_; }
  void SetLoaderState(int32_t s) { loaderState_ = s; }
  int32_t loadedIndex() const { return loadedIndex_; }
  void SetLoadedIndex(int32_t i) { loadedIndex_ = i; }
  // Written by the painter, read by the icon loader thread.
  int32_t lastPaintedIndex() const { return lastPaintedIndex_.load(std::memory_order_relaxed); }
  void SetLastPaintedIndex(int32_t i) { lastPaintedIndex_.store(i, std::memory_order_relaxed); }
  // Counts the rescans (read under lock()): the loader's messages carry it, so that a report
  // about a list that has since been rescanned is recognised and dropped.
  uint32_t rescanGeneration() const { return rescanGeneration_; }
  // The directory's last-write time taken just before the last rescan listed it (0: unknown):
  // a watch armed afterwards compares it to learn whether names changed meanwhile.
  uint64_t scannedDirectoryTime() const { return scannedDirectoryTime_; }
  PaneIcons& icons() { return icons_; }
  // The table's icon cache; guarded by lock().
  IconCache& iconCache() { return iconCache_; }
  // Data a higher layer keeps for this table and that is destroyed with it: the program
  // associations (exec::TableAssociations reads and fills it).
  struct Attachment {
    virtual ~Attachment() = default;
  };
  std::unique_ptr<Attachment>& associationsSlot() { return associations_; }

 private:
  friend class Scanner;

  void SortLocked(int16_t newSortId);
  // The cursor entry's address name; "" without a cursor or when no name reaches it.
  std::string CursorAddressName() const;
  void RebuildLines(BINFO* entry);
  void BuildIconNameLines(BINFO* entry, BINFO* first);
  void AddExtraLines(BINFO* entry);
  void MeasureIconMetrics(const ClientSize& client);
  void MeasureListMetrics(const ClientSize& client);
  void PlaceEntries();
  uint32_t CurrentLayoutStamp();
  void ChooseCursor(RescanMode mode, int32_t rememberedIndex);
  BINFO* NewEntry(std::unique_ptr<EntryNode> node, Point pos, bool directoryPass);
  // After an update's searches: removes the entries not found again and clears the marks of
  // the others; 1 when the list changed.
  int RemoveUnseen();
  // Copies the live keys into a fresh store once removed entries left too much behind.
  void CompactKeys(std::size_t liveBytes);
  // Takes every entry out of the list, to be destroyed once a full rescan has built the new
  // one; null (and the entries destroyed) when memory is short.
  std::unique_ptr<PreviousListing> DetachEntries();
  Point NextPosition() const;

  TableView& view_;
  int instance_;
  IconMetrics iconMetrics_;
  PaneIcons icons_;
  DriveDirectories drives_;
  std::unique_ptr<Attachment> associations_;

  std::string path_;
  // The configured path as written and the full path it named at construction: saved as
  // written while the table is still there.
  std::string configuredText_, configuredFull_;
  std::string mask_;
  int maskCommand_ = 0;
  int16_t sortId_ = kSortName;
  int16_t viewMode_ = kIconMode;
  uint16_t viewInfo_ = 0;
  int32_t iconSpacingX_ = 90;
  int32_t iconSpacingY_ = 80;
  std::atomic<int32_t> bmpIcon_{0};
  bool autoAdjust_ = true;
  InvisibleTypes invisibleTypes_;
  std::string title_;

  KeyArena keys_;  // the entries' name keys
  std::unique_ptr<BINFO> root_;
  BINFO* sentinel_ = nullptr;
  int32_t entryCount_ = 0;
  mutable std::vector<BINFO*> order_;  // Entries(), valid while orderValid_
  mutable bool orderValid_ = true;
  // Counts entries made; the name and extension ranks are valid while it is unchanged.
  uint32_t entriesMade_ = 0;
  uint32_t nameRanksMadeAt_ = 0xFFFFFFFFu;
  uint32_t extensionRanksMadeAt_ = 0xFFFFFFFFu;
  BINFO* cursor_ = nullptr;
  std::string cursorName_;
  int32_t selectedCount_ = 0;
  double selectedBytes_ = 0;
  int selectionHolds_ = 0;
  bool selectionTextPending_ = false;

  LayoutMetrics metrics_;
  Point origin_;
  int32_t extentWidth_ = 0;
  int32_t extentHeight_ = 0;
  ClientSize pageSize_;
  // Line nodes are rebuilt only when what they show changed: the view mode, the extra lines,
  // the icon spacing that wrapping depends on, or the font.
  struct LineSignature {
    int16_t viewMode = -1;
    uint16_t lines = 0;
    int32_t spacingX = 0;
    uint32_t generation = 0;
    bool operator==(const LineSignature&) const = default;
  };
  LineSignature lineSignature_;
  uint32_t layoutStamp_ = 1;
  uint32_t measureGeneration_ = 0;
  bool measured_ = false;

  std::mutex lock_;
  int32_t loaderState_ = kLoaderIdle;
  int32_t loadedIndex_ = 0;
  std::atomic<int32_t> lastPaintedIndex_{0};
  uint32_t rescanGeneration_ = 0;
  uint64_t scannedDirectoryTime_ = 0;
  // Destroyed after the entries (which hold references to its nodes).
  IconCache iconCache_;
};

}  // namespace table
