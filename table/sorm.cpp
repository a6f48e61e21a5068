#include "table/sorm.h"

#include "config/config_file.h"
#include "os/exact_name.h"
#include "os/mbcs.h"
#include "os/services.h"
#include "os/path_text.h"
#include "table/size_text.h"
#include "table/text_compare.h"

namespace table {

std::atomic<bool>& UpdateAbortFlag() {
  static std::atomic<bool> flag{false};
  return flag;
}

uint64_t DirectoryWriteTime(const std::string& path) {
  std::string p = path;
  while (p.size() > 3 && (p.back() == '\\' || p.back() == '/') &&
         !mbcs::IsTrailByteAt(p.c_str(), p.size() - 1))
    p.pop_back();
  os::FindData fd;
  if (!os::FindExact(p.c_str(), fd)) return 0;
  return fd.lastWriteTime;
}

Sorm::Sorm(TableView& view, int instance)
    : view_(view), instance_(instance), iconMetrics_(view.GetIconMetrics()) {
  PaneSettings s = ReadPaneSettings(instance);
  viewMode_ = s.viewMode;
  mask_ = s.mask;
  sortId_ = s.sortId;
  cursorName_ = s.cursor;
  viewInfo_ = s.viewInfo;
  iconSpacingX_ = s.iconSpacingX;
  iconSpacingY_ = s.iconSpacingY;
  bmpIcon_ = s.bmpIcon;
  invisibleTypes_ = s.invisibleTypes;
  autoAdjust_ = s.autoAdjust;

  // The table works on the full path of the configured directory: a relative one ("data",
  // "..\\work", "D:") would otherwise be resolved against whatever directory is current when a
  // command or a drop uses it. The text as written (with "\\" for "/") is saved back while the
  // table stays there. A path that cannot be entered gives way to the current directory.
  std::string configured = s.path;
  for (char& c : configured) {
    if (c == '/') c = '\\';
  }
  std::string entered;
  if (EnterDirectory(drives_, path_, configured.c_str(), entered)) {
    path_ = entered;
    configuredText_ = configured;
    configuredFull_ = entered;
  } else {
    char cwd[os::kMaxPath] = {};
    uint32_t n = os::Fs().GetCurrentDir(cwd, sizeof(cwd));
    path_.assign(cwd, n < sizeof(cwd) ? n : 0);
    os::Fs().SetCurrentDir(path_.c_str());
  }

  root_ = std::make_unique<BINFO>();
  sentinel_ = new BINFO(root_.get(), -1);
  sentinel_->x = 16;
  cursor_ = sentinel_;

  if (Rescan(ScanAttributes(), RescanMode::kReload) == -1) view_.FatalError(kMemoryErrorText);
  TitleText();
  if (BINFO* e = FindEntryByAddressName(cursorName_.c_str())) {
    cursor_ = e;
    origin_ = listMode() ? Point{e->x, 0} : Point{0, e->y};
    Layout();
  }
}

Sorm::~Sorm() {
  if (HasCursor()) cursorName_ = CursorAddressName();
  {
    std::lock_guard<std::mutex> guard(lock_);
    loaderState_ = kLoaderIdle;
    loadedIndex_ = 0;
    ClearEntries();
  }
  root_.reset();
  if (icons_.ownsFolderIcons) {
    DestroyIconHandle(icons_.folderLarge);
    DestroyIconHandle(icons_.folderSmall);
  }
}

void Sorm::SetIconSpacing(long x, long y) {
  iconSpacingX_ = ClampIconSpacing(x);
  iconSpacingY_ = ClampIconSpacing(y);
}

void Sorm::SetInvisibleTypesText(const std::string& text) {
  invisibleTypes_ = InvisibleTypes::FromText(text);
}

uint32_t Sorm::ScanAttributes() const {
  return (viewInfo_ & kShowHidden) ? kScanAttributesAll : kScanAttributesVisible;
}

bool Sorm::SaveSettings(int sectionNumber) const {
  PaneSettings s;
  s.path = path_ == configuredFull_ ? configuredText_ : path_;
  s.sortId = sortId_;
  s.mask = mask_;
  // Saved by the name that leads back to it: a listed name may hold a line break.
  s.cursor = CursorAddressName();
  s.viewMode = viewMode_;
  s.viewInfo = viewInfo_;
  s.iconSpacingX = iconSpacingX_;
  s.iconSpacingY = iconSpacingY_;
  s.bmpIcon = bmpIcon_;
  s.invisibleTypes = invisibleTypes_;
  s.autoAdjust = autoAdjust_;
  return WritePaneSettings(config::InstSection(sectionNumber), s);
}

int Sorm::ChangePath(const char* path) {
  std::string result;
  if (!EnterDirectory(drives_, path_, path, result)) return -1;
  // The icon loader thread reads the path (under the lock) to reach the entries' files.
  std::lock_guard<std::mutex> guard(lock_);
  path_ = result;
  return 0;
}

std::string Sorm::DirectoryString() const { return os::DirectoryString(path_); }

const std::vector<BINFO*>& Sorm::Entries() const {
  if (!orderValid_) {
    order_.clear();
    order_.reserve(static_cast<std::size_t>(entryCount_));
    for (BINFO* e = FirstEntry(); e != sentinel_; e = e->NextNode()) order_.push_back(e);
    orderValid_ = true;
  }
  return order_;
}

BINFO* Sorm::EntryAt(int32_t index) const {
  const std::vector<BINFO*>& entries = Entries();
  if (index >= 1 && static_cast<std::size_t>(index) <= entries.size() &&
      entries[index - 1]->index == index)
    return entries[index - 1];
  for (BINFO* e : entries) {
    if (e->index == index) return e;
  }
  return nullptr;
}

void Sorm::ClearEntries() {
  while (sentinel_->next != sentinel_) delete sentinel_->PrevNode();
  keys_.Clear();
  entryCount_ = 0;
  cursor_ = sentinel_;
  order_.clear();
  orderValid_ = true;
}

void Sorm::RemoveEntry(BINFO* entry) {
  if (!IsEntry(entry)) return;
  if (entry->Data()->IsSelected()) SubtractFromSelectionTotals(*entry->Data());
  if (cursor_ == entry) cursor_ = sentinel_;
  delete entry;
  --entryCount_;
  orderValid_ = false;
}

void Sorm::Renumber() {
  int32_t i = 0;
  for (BINFO* e : Entries()) e->index = ++i;
}

BINFO* Sorm::FindEntryByName(const char* name) const {
  if (!name) return nullptr;
  for (BINFO* e : Entries()) {
    if (SameTextNoCase(e->Data()->name.c_str(), name)) return e;
  }
  return nullptr;
}

BINFO* Sorm::FindEntryByAddressName(const char* name) const {
  if (!name || !*name) return nullptr;
  for (BINFO* e : Entries()) {
    const char* address = e->Data()->AddressName();
    if (address && SameTextNoCase(address, name)) return e;
  }
  return nullptr;
}

std::string Sorm::CursorAddressName() const {
  const char* address = HasCursor() ? cursor_->Data()->AddressName() : nullptr;
  return address ? std::string(address) : std::string();
}

BINFO* Sorm::FirstVisibleEntry() const {
  if (origin_.x == -1 || origin_.y == -1) return nullptr;
  for (BINFO* e : Entries()) {
    if (listMode() ? e->x == origin_.x : e->y == origin_.y) return e;
  }
  return nullptr;
}

BINFO* Sorm::HitTest(int32_t x, int32_t y) {
  ClientSize client = view_.GetClientSize();
  if (x < 0 || y < 0 || x >= client.width || y >= client.height) return nullptr;
  int32_t px = x + origin_.x;
  int32_t py = y + origin_.y;
  const std::vector<BINFO*>& entries = Entries();
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    BINFO* e = *it;
    if (e->HasChildren()) {
      BINFO* first = e->FirstChildNode();
      if (first->Contains(px, py)) return e;
      for (BINFO* c = first->PrevNode(); c != first; c = c->PrevNode()) {
        if (c->Contains(px, py)) return e;
      }
    }
    if (e->Contains(px, py)) return e;
  }
  return nullptr;
}

void Sorm::AddToSelectionTotals(const SM_DAT& d) {
  ++selectedCount_;
  selectedBytes_ += static_cast<double>(d.size);
  if (selectionHolds_ > 0)
    selectionTextPending_ = true;
  else
    view_.UpdateSelectionText();
}

void Sorm::SubtractFromSelectionTotals(const SM_DAT& d) {
  --selectedCount_;
  selectedBytes_ -= static_cast<double>(d.size);
  if (selectionHolds_ > 0)
    selectionTextPending_ = true;
  else
    view_.UpdateSelectionText();
}

Sorm::SelectionTextHold::~SelectionTextHold() {
  if (--t_.selectionHolds_ == 0 && t_.selectionTextPending_) {
    t_.selectionTextPending_ = false;
    t_.view_.UpdateSelectionText();
  }
}

int Sorm::Reload() {
  int r = Rescan(ScanAttributes(), RescanMode::kReload);
  if (r == -1) view_.ErrorBox(kRescanFailedText);
  view_.UpdateSelectionText();
  view_.Repaint();
  return r;
}

int Sorm::ChooseMask(const std::string& mask, int command) {
  mask_ = mask;
  maskCommand_ = command;
  const int r = Reload();
  TitleText();
  return r;
}

int Sorm::ReloadKeepPosition() {
  view_.CloseChangeMonitor();
  int r = Rescan(ScanAttributes(), RescanMode::kReloadKeepPosition);
  view_.ArmChangeMonitor(path_);
  if (r == -1) view_.ErrorBox(kRescanFailedText);
  view_.UpdateSelectionText();
  view_.Repaint();
  return r;
}

int Sorm::Update() {
  int r = Rescan(ScanAttributes(), RescanMode::kUpdate);
  if (r == -1) view_.ErrorBox(kRescanFailedText);
  view_.UpdateSelectionText();
  if (r != 0) view_.Repaint();
  return r;
}

const std::string& Sorm::TitleText() {
  constexpr std::size_t kTitleBuffer = 1284;
  std::string text = DirectoryString() + mask_;
  std::string cut(kTitleBuffer, '\0');
  cut.resize(mbcs::CopyBounded(cut.data(), kTitleBuffer, text.c_str()));
  if (cut.size() < 1184) {
    cut += "  " + std::to_string(entryCount_) + " file(s).  " + FreeSpaceText(DirectoryString());
  }
  title_ = cut;
  view_.ShowTitle(title_, path_);
  return title_;
}

}  // namespace table
