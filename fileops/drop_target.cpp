#include "fileops/drop_target.h"

#include "table/sorm.h"

namespace fileops {

DropTargetRecord RecordOfDrop(const table::Sorm& t, const table::BINFO* hit) {
  DropTargetRecord r;
  r.directory = t.DirectoryString();
  if (!hit || !t.IsEntry(hit) || !hit->Data()) return r;
  r.onEntry = true;
  r.name = hit->Data()->name;
  if (const char* address = hit->Data()->AddressName()) r.address = address;
  return r;
}

RecordedPlace FindRecordedTarget(const table::Sorm& t, const DropTargetRecord& record) {
  RecordedPlace place;
  if (t.DirectoryString() != record.directory) {
    place.message = "ドロップ先のディレクトリの表示が変わったため、ドロップを取りやめました";
    return place;
  }
  if (!record.onEntry) {
    place.ok = true;
    return place;
  }
  for (const table::BINFO* e : t.Entries()) {
    const table::SM_DAT* d = e->Data();
    const char* address = d ? d->AddressName() : nullptr;
    if (d && d->name == record.name && (address ? address : "") == record.address) {
      place.ok = true;
      place.entry = e;
      return place;
    }
  }
  place.message = "ドロップ先の " + record.name + " が見つからないため、ドロップを取りやめました";
  return place;
}

}  // namespace fileops
