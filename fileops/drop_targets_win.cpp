#include "fileops/drop_targets_win.h"

#include <vector>

#include "fileops/drop_policy.h"
#include "table/sorm.h"

namespace fileops {
namespace {

constexpr DWORD kRecordLifeMs = 30000;

struct Held {
  HWND pane;
  HDROP block;
  DWORD tick;
  DropTargetRecord record;
};

// Drops are handled on the user-interface thread, one at a time: a few records at most.
std::vector<Held>& Records() {
  static std::vector<Held> records;
  return records;
}

void DropOld(DWORD now) {
  std::vector<Held>& records = Records();
  for (auto it = records.begin(); it != records.end();)
    it = now - it->tick > kRecordLifeMs ? records.erase(it) : it + 1;
}

}  // namespace

DropTargetRecord DropTargetAt(table::Sorm& t, HWND pane, POINT client, bool nonClient) {
  RECT area{};
  ::GetClientRect(pane, &area);
  if (!DropPointOnPane(nonClient, client.x, client.y, area.right, area.bottom))
    return RecordOfDrop(t, nullptr);
  return RecordOfDrop(t, t.HitTest(client.x, client.y));
}

void RecordDropTarget(HWND pane, HDROP block, DropTargetRecord record) {
  const DWORD now = ::GetTickCount();
  DropOld(now);
  ForgetDropTarget(block);
  Records().push_back(Held{pane, block, now, std::move(record)});
}

std::optional<DropTargetRecord> TakeDropTarget(HWND pane, HDROP block) {
  DropOld(::GetTickCount());
  std::vector<Held>& records = Records();
  for (auto it = records.begin(); it != records.end(); ++it) {
    if (it->block != block) continue;
    std::optional<DropTargetRecord> r;
    if (it->pane == pane) r = std::move(it->record);
    records.erase(it);
    return r;
  }
  return std::nullopt;
}

void ForgetDropTarget(HDROP block) {
  std::vector<Held>& records = Records();
  for (auto it = records.begin(); it != records.end(); ++it) {
    if (it->block == block) {
      records.erase(it);
      return;
    }
  }
}

}  // namespace fileops
