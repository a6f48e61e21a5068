// Where a drop landed, taken when the drop happens. The block is posted to the pane and handled
// later, after an update or a reload may have moved the entries under the point: the drop then
// goes to the entry that was under the pointer, found again by its exact name, or to nothing.
#pragma once
#include <string>

namespace table {
class BINFO;
class Sorm;
}  // namespace table

namespace fileops {

struct DropTargetRecord {
  std::string directory;  // the table's directory at the drop, with its trailing backslash
  bool onEntry = false;   // false: the pane itself
  std::string name;       // the entry's listed name
  std::string address;    // the name that reaches it (SM_DAT::AddressName), empty when none
};

// The record of a drop onto entry hit of table t (null: onto the pane itself).
DropTargetRecord RecordOfDrop(const table::Sorm& t, const table::BINFO* hit);

// Where a recorded drop goes now. ok false: the pane shows another directory, or the entry is
// gone (message says so); else entry is the entry, found by its exact listed name and address
// name, or null for the pane itself.
struct RecordedPlace {
  bool ok = false;
  const table::BINFO* entry = nullptr;
  std::string message;
};
RecordedPlace FindRecordedTarget(const table::Sorm& t, const DropTargetRecord& record);

}  // namespace fileops
