#include "app/fws_app_win.h"

#include "fw/ole_runtime.h"

#include "app/help_display.h"
#include "app/instance_coord_win.h"
#include "app/pane_monitor_win.h"
#include "config/program_context.h"
#include "app/window_state.h"
#include "exec/browse_win.h"
#include "frame/gdi_font_win.h"
#include "frame/selection_text.h"
#include "frame/status_message.h"
#include "frame/toolbar_pictures_win.h"
#include "table/input_win.h"
#include "table/sorm.h"
#include "table/type_ahead.h"
#include "frame/sdi_dec_frame_win.h"
#include "frame/w_cli_win.h"
#include "frame/winfo_win.h"
#include "config/config_file.h"
#include "config/config_lock.h"
#include "settings/toolbar_keywords.h"
#include "config/instance_paths.h"
#include "os/services.h"
#include "resources/commands.h"
#include "resources/resource_ids.h"

namespace {
int ToSw(app::ShowCommand c) {
  switch (c) {
    case app::ShowCommand::kMaximized: return SW_SHOWMAXIMIZED;
    case app::ShowCommand::kMinimized: return SW_SHOWMINIMIZED;
    case app::ShowCommand::kNormal: break;
  }
  return SW_SHOWNORMAL;
}
}  // namespace

void fwsApp::LockErrorNoOwner() { ::MessageBoxExA(nullptr, "Lock error", "Error", MB_OK, 0); }

void fwsApp::ShowMemoryError(const char* text, void* app) {
  const fwsApp& a = *static_cast<const fwsApp*>(app);
  if (WINFO* p = a.Pane(a.activePane_)) {
    p->ErrorBox(text);
    return;
  }
  HWND frame = a.FrameHandle();
  if (frame) ::SetForegroundWindow(frame);
  ::MessageBoxA(frame, text, "ソルモ", MB_OK);
}

fwsApp::fwsApp() = default;

fwsApp::~fwsApp() {
  memoryBox_.reset();  // the panes and their frame go below
  StopPaneMonitor();  // the worker walks the tables
  status_.Destroy();
  frame_.reset();  // destroys the frame window with its children
  panes_[0].reset();
  panes_[1].reset();
  monitor_.reset();  // its association records hold icons the entries showed
  client_.reset();
  if (largeIcon_) ::DestroyIcon(largeIcon_);
  if (smallIcon_) ::DestroyIcon(smallIcon_);
  if (helpCursor_) ::DestroyCursor(helpCursor_);
  if (oleInitialized_) ole::Uninitialize();
}

bool fwsApp::BuildWindows() {
  const config::ProgramContext& g = config::Context();
  startReads_.emplace(g.configFilePath);
  keys_ = table::LoadProcessKeyBindings();
  fileops::SetOperationPump(&pump_);
  int n = g.instanceNumber;
  settings_ = app::ReadWindowSettings(n);

  fw::Window::RegisterClassOnce(config::kWindowClass, CS_DBLCLKS, nullptr, nullptr,
                                ::LoadCursorA(nullptr, IDC_ARROW), nullptr);
  frame_ = std::make_unique<SDIDecFrame>(this);
  if (!frame_->CreateFrame()) return false;
  client_ = std::make_unique<W_CLI>(this);
  if (!client_->CreateClient(frame_->Handle())) return false;

  bool oldWindows = g.windowsMajorVersion < 4;
  for (int i = 0; i < PaneCount(); ++i) {
    panes_[i] = std::make_unique<WINFO>(this, i);
    if (!panes_[i]->CreatePane(client_->Handle(), i == 0 ? n : n + app::kSecondPaneOffset,
                               oldWindows))
      return false;
  }
  if (PaneCount() == 2 && !client_->CreateTitleBars(!oldWindows)) return false;
  activePane_ = settings_.focusWin;
  frame_->SetClient(client_.get());

  SetShowCommand(ToSw(app::ReadShowCommand(n)));
  HINSTANCE inst = ::GetModuleHandleA(nullptr);
  largeIcon_ = static_cast<HICON>(::LoadImageA(inst, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXICON),
                                               ::GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(::LoadImageA(inst, MAKEINTRESOURCEA(IDI_PROGRAM_SMALL),
                                               IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), 0));
  ::SendMessageA(frame_->Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
  ::SendMessageA(frame_->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  if (settings_.menu) {
    if (HMENU m = ::LoadMenuA(inst, MAKEINTRESOURCEA(IDM_MAIN))) ::SetMenu(frame_->Handle(), m);
    BuildUserMenus();
  }
  if (settings_.statusBarDisp) CreateStatusBar();
  if (settings_.toolBarDisp) CreateToolBar();
  SetMainWindow(frame_->Handle());
  return true;
}

bool fwsApp::CreateStatusBar() {
  if (!status_.Create(frame_->Handle(), frame::CreateBarFont(14))) return false;
  if (PaneCount() == 2) status_.SetEqualFields(2);
  // A new window's tables have nothing selected: the bar says so before it is first shown, so
  // that the text set once the tables exist repaints nothing.
  const std::string empty = frame::SelectionText(0, 0);
  if (PaneCount() == 2) {
    for (int i = 0; i < 2; ++i) status_.SetText(i, empty.c_str());
  } else if (message_.SetSelection(empty)) {
    status_.SetMessageText(message_.Shown().c_str());
  }
  frame_->InsertBar(&status_, fw::Edge::kBottom);
  return true;
}

namespace {
fw::Edge ToEdge(settings::ToolBarEdge e) {
  switch (e) {
    case settings::ToolBarEdge::kBottom: return fw::Edge::kBottom;
    case settings::ToolBarEdge::kLeft: return fw::Edge::kLeft;
    case settings::ToolBarEdge::kRight: return fw::Edge::kRight;
    case settings::ToolBarEdge::kTop: break;
  }
  return fw::Edge::kTop;
}
bool IsVertical(settings::ToolBarEdge e) {
  return e == settings::ToolBarEdge::kLeft || e == settings::ToolBarEdge::kRight;
}
}  // namespace

bool fwsApp::CreateToolBar() {
  if (!toolbar_.Create(frame_->Handle(), IsVertical(settings_.toolBarPos))) return false;
  std::vector<fw::ToolBar::Item> items;
  std::vector<int> commands;
  std::vector<bool> enabled;
  const std::vector<settings::ToolbarItem> read = settings::ReadToolbarItems();
  for (const settings::ToolbarItem& item : read) {
    if (item.kind == settings::ToolbarItem::kSeparator) {
      items.push_back({0, item.size, true, -1});
    } else {
      // A button starts enabled unless its command says otherwise now.
      const bool disabled = CommandStateOf(item.command) == app::CommandState::kDisabled;
      items.push_back({item.command, 0, !disabled, -1});
      commands.push_back(item.command);
      enabled.push_back(!disabled);
    }
  }
  toolbarEnabling_ = app::ToolbarEnabling(read, enabled);
  frame::ToolbarPictures pictures(::GetModuleHandleA(nullptr), commands,
                                  fw::ToolBar::kPictureSize);
  size_t next = 0;
  for (fw::ToolBar::Item& item : items)
    if (item.command != 0) item.image = pictures.ImageOf(next++);
  toolbar_.SetItems(items, pictures.Bitmap(), pictures.Count());
  frame_->InsertBar(&toolbar_, ToEdge(settings_.toolBarPos));
  return true;
}

void fwsApp::RebuildBars() {
  // The toolbar is made anew from BarSettings/ToolBar at its configured edge.
  frame_->RemoveBar(&toolbar_);
  toolbar_.Destroy();
  toolbarEnabling_ = app::ToolbarEnabling();
  if (settings_.toolBarDisp) CreateToolBar();
  if (settings_.statusBarDisp && !status_.BarHandle() && CreateStatusBar()) {
    // A new bar shows the selection text at once.
    message_ = frame::StatusMessage();
    for (int i = 0; i < PaneCount(); ++i) UpdateSelectionText(i);
  }
  if (!settings_.statusBarDisp && status_.BarHandle()) {
    frame_->RemoveBar(&status_);
    status_.Destroy();
  }
  frame_->Layout();
  // A bar that went away leaves its pixels where a transparent toolbar now sits: everything is
  // drawn again.
  ::RedrawWindow(frame_->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::SetForegroundWindow(frame_->Handle());
  if (WINFO* p = Pane(activePane_))
    ::SetWindowPos(p->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void fwsApp::ShowHint(int command) {
  if (!status_.BarHandle() || PaneCount() == 2) return;
  char text[256] = {};
  if (command > 0) ::LoadStringA(::GetModuleHandleA(nullptr), command, text, sizeof(text));
  // When the hint ends the pane's selection text is back.
  if (message_.SetHint(text)) status_.SetMessageText(message_.Shown().c_str());
}

bool fwsApp::AttachTables() {
  const config::ProgramContext& g = config::Context();
  frame_->RestorePlacement(g.instanceNumber, ShowCommand());
  pump_.SetMainFrame(frame_->Handle());
  // The mask and run menus and the change monitors join here as they are built.
  // From here on a command that runs out of memory says so in its table's error box.
  memoryBox_.emplace(&fwsApp::ShowMemoryError, this);
  for (int i = 0; i < PaneCount(); ++i)
    panes_[i]->AttachTable(i == 0 ? g.instanceNumber : g.instanceNumber + app::kSecondPaneOffset);
  // No DrawMenuBar here: the bar got its menu before the frame was first shown and only
  // submenus change afterwards; redrawing the bar recalculates the whole frame.
  for (int i = 0; i < PaneCount(); ++i) UpdateSelectionText(i);
  if (settings_.menu) {
    HMENU bar = ::GetMenu(frame_->Handle());
    ::CheckMenuItem(bar, CMD_CLICKSCROLL, MF_BYCOMMAND | (settings_.clickScroll ? MF_CHECKED : 0));
    ::CheckMenuItem(bar, CMD_TWOPANE, MF_BYCOMMAND | (PaneCount() == 2 ? MF_CHECKED : 0));
  }
  if (HMENU sys = ::GetSystemMenu(frame_->Handle(), FALSE)) {
    ::AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(sys, MF_STRING, CMD_HIDEMENU,
                  settings_.menu ? "ﾒﾆｭｰを隠す" : "ﾒﾆｭｰを表示する");
  }
  if (PaneCount() == 2) ActivatePane(activePane_);
  startReads_.reset();
  if (!StartPaneMonitor()) return false;
  ::UpdateWindow(frame_->Handle());
  ::SetTimer(frame_->Handle(), kLateInitTimer, 1, nullptr);
  return true;
}

bool fwsApp::OnTimer(UINT_PTR id) {
  if (id != kLateInitTimer) return false;
  ::KillTimer(frame_->Handle(), kLateInitTimer);
  LateInit();
  return true;
}

void fwsApp::LateInit() {
  if (lateInitDone_) return;
  lateInitDone_ = true;
  oleInitialized_ = SUCCEEDED(ole::Initialize());
  AcceptDrops();
  for (int i = 0; i < PaneCount(); ++i)
    if (panes_[i]) panes_[i]->LoadShellIcons();
}

void fwsApp::ActivatePane(int index) {
  if (index < 0 || index >= PaneCount() || !panes_[index]) return;
  WINFO* pane = panes_[index].get();
  ::SetWindowPos(pane->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  table::Sorm* t = pane->Table();
  if (!t) return;
  int previous = activePane_;
  activePane_ = index;
  settings_.focusWin = PaneCount() == 2 ? index : 0;
  // The focus frames of both panes change style with the activation.
  if (previous != index && Pane(previous) && Pane(previous)->Table())
    Pane(previous)->RedrawEntry(Pane(previous)->Table()->cursor());
  t->ChangePath(t->path().c_str());
  pane->Retitle();
  pane->RedrawEntry(t->cursor());
  if (HMENU bar = ::GetMenu(frame_->Handle())) {
    for (int id : {CMD_VSNAME, CMD_VSEXT, CMD_VSNEW, CMD_VSOLD, CMD_VSLARGE, CMD_VSSMALL})
      ::CheckMenuItem(bar, id, MF_BYCOMMAND | MF_UNCHECKED);
    ::CheckMenuItem(bar, t->sortId(), MF_BYCOMMAND | MF_CHECKED);
  }
}

table::Sorm* fwsApp::ActiveTable() const {
  WINFO* p = Pane(activePane_);
  return p ? p->Table() : nullptr;
}

bool fwsApp::HasActiveTable() { return ActiveTable() != nullptr; }

void fwsApp::WriteTableSettings(int pane, int section) {
  WINFO* p = Pane(pane);
  if (!p || !p->Table()) return;
  p->Table()->SaveSettings(section);
  // The defaults keep no path and no cursor entry: a new window starts where it is started.
  if (section == -1 || section == -1 + app::kSecondPaneOffset) {
    config::WriteConfigString(config::InstSection(section), "Path", "");
    config::WriteConfigString(config::InstSection(section), "Cursor", "");
  }
}

void fwsApp::UpdateSelectionText(int pane) {
  WINFO* p = Pane(pane);
  if (!status_.BarHandle() || !p || !p->Table()) return;
  std::string text = frame::SelectionText(p->Table()->selectedCount(), p->Table()->selectedBytes());
  if (PaneCount() == 2)
    status_.SetText(pane, text.c_str());
  else if (message_.SetSelection(text))
    status_.SetMessageText(message_.Shown().c_str());
}

void fwsApp::ShowPaneTitle(int pane, const std::string& title, const std::string& directory) {
  if (PaneCount() == 2)
    if (fw::MessageBar* bar = client_->TitleBar(pane)) bar->SetText(directory);
  if (pane == activePane_) ::SetWindowTextA(frame_->Handle(), title.c_str());
}

bool fwsApp::MayClose() {
  if (app::ShouldSaveAsLastWindow(app::CountWindows(), stateSaved_)) {
    app::WriteEndMode("Quit");
    app::PurgeSavedWindows(&LockErrorNoOwner);
    app::SaveWindowState(1, *this);
    stateSaved_ = true;
  }
  if (helpOpened_) ShowHelp(app::HelpRequest::kQuit);
  StopPaneMonitor();
  return true;
}

void fwsApp::EndSession() {
  // The change monitors are closed; then the window saves itself once.
  if (monitor_) monitor_->DisarmAll();
  app::WriteEndMode("EndSession");
  app::PurgeSavedWindows(&LockErrorNoOwner);
  if (!stateSaved_) {
    stateSaved_ = true;
    app::SaveWindowState(0, *this);
  }
}

bool fwsApp::HasFrame() { return frame_ && frame_->Handle(); }

void fwsApp::WritePlacement(int n, int dx, int dy) { frame_->WritePlacement(n, dx, dy); }

bool fwsApp::HasActivePane() { return Pane(activePane_) != nullptr; }

void fwsApp::WritePaneSettings(int pane, int section) {
  if (WINFO* p = Pane(pane)) p->WriteSettings(section);
}

void fwsApp::ShowLockError() {
  ::MessageBoxA(frame_ ? frame_->Handle() : nullptr, "Lock error", "Error", MB_OK);
}

int fwsApp::Terminate(int exitCode) {
  StopPaneMonitor();
  if (monitor_) monitor_->DisarmAll();
  return exitCode;
}

table::MouseOptions fwsApp::MouseOptions() const {
  table::MouseOptions o;
  o.clickScroll = settings_.clickScroll;
  o.platformMajor = config::Context().windowsMajorVersion;
  return o;
}

bool fwsApp::Idle(long count) {
  // Changes that came while a command ran or a dialog's loop took them.
  if (monitor_ && monitor_->HasDeferred() && !MonitorBusy()) monitor_->RunDeferred();
  // The toolbar follows its commands' states once after each run of messages.
  if (count == 0 && toolbar_.BarHandle()) {
    for (const auto& [command, on] :
         toolbarEnabling_.Update([this](int id) { return CommandStateOf(id); }))
      toolbar_.SetEnabled(command, on);
  }
  // The mouse tracking of a held button or a pending click runs between messages.
  table::Sorm* t = ActiveTable();
  WINFO* pane = Pane(activePane_);
  if (!t || !pane || !mouse_.WantsIdle()) return false;
  table::PaneMouseSurfaceWin surface(pane->Handle(), *pane, mousePump_);
  table::MouseRequest r = mouse_.IdleStep(*t, surface, MouseOptions());
  CarryOutMouse(activePane_, r);
  if (mouse_.WantsIdle()) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  return mouse_.WantsIdle();
}

void fwsApp::CarryOut(const table::ActionRequest& r) {
  switch (r.kind) {
    case table::ActionRequest::kCommand:
      OnCommand(r.command);
      break;
    case table::ActionRequest::kBrowseFolder: {
      // The dialog's loop dispatches messages: the path change is a command like the others.
      const frame::CommandGate::Scope scope = gate_.Enter();
      if (!scope || !ActiveTable()) break;
      const std::string folder = exec::BrowseForFolder(frame_->Handle(), r.text);
      if (!folder.empty()) EnterPath(folder.c_str(), r.failure);
      break;
    }
    case table::ActionRequest::kOpenEntry:
      OpenEntryCommand(activePane_, r.entry);
      break;
    case table::ActionRequest::kRunCommandLine:
      RunLineCommand(r.argument);
      break;
    case table::ActionRequest::kSwitchPane:
      if (PaneCount() == 2) ActivatePane(1 - activePane_);
      break;
    case table::ActionRequest::kShrinkFrame:
      frame_->ShrinkFrame(true);
      break;
    case table::ActionRequest::kRestoreFrame:
      frame_->ShrinkFrame(false);
      break;
    case table::ActionRequest::kShellVerb:
      ShellVerbCommand(r.verb);
      break;
    case table::ActionRequest::kContextMenu:
      ContextMenuAtCursorCommand();
      break;
    default:
      break;
  }
}

void fwsApp::CarryOutMouse(int pane, const table::MouseRequest& r) {
  if (r.kind == table::MouseRequest::kCommand) OnCommand(r.command);
  if (r.kind == table::MouseRequest::kOpenEntry) OpenEntryCommand(pane, r.entry);
  if (r.kind == table::MouseRequest::kContextMenu) ContextMenuCommand(pane, {r.point.x, r.point.y});
  // The frame menu at a point (platform below 4) arrives with its part.
}

void fwsApp::OnChar(unsigned char c) {
  table::Sorm* t = ActiveTable();
  if (!t || gate_.Busy()) return;
  // A double-byte character comes as two messages: it searches once it is whole.
  const std::string_view ch = typed_.Feed(c);
  if (ch.empty()) return;
  table::TypeAhead(*t, Pane(activePane_), keyboard_.range, keys_.selectMode(), ch,
                   table::ModifiersOfMessage());
}
