#include "exec/table_associations.h"

#include <memory>

#include "config/program_context.h"
#include "exec/association_store.h"
#include "exec/icon_loading.h"

namespace exec {
namespace {

struct AssociationsAttachment final : table::Sorm::Attachment {
  ~AssociationsAttachment() override { FreeAssociations(lists); }
  Associations lists;
  std::string configFile;  // where the lists were read from, read again on a reload
};

AssociationsAttachment& AttachmentOf(table::Sorm& t, const std::string& configFile) {
  std::unique_ptr<table::Sorm::Attachment>& slot = t.associationsSlot();
  if (!slot) {
    auto made = std::make_unique<AssociationsAttachment>();
    made->configFile = configFile;
    LoadAssociations(made->lists, configFile);
    slot = std::move(made);
  }
  return static_cast<AssociationsAttachment&>(*slot);
}

}  // namespace

Associations& TableAssociations(table::Sorm& t, const std::string& configFile) {
  return AttachmentOf(t, configFile).lists;
}

Associations& TableAssociations(table::Sorm& t) {
  return TableAssociations(t, config::Context().configFilePath);
}

void ReloadTableAssociations(table::Sorm& t) {
  // A program's icon, or an icon file's, is cached under its name: found again, it would be
  // the icon of the file's old association.
  ForgetIconsCachedByName(t.iconCache());
  // Lists never read are read fresh when first asked for.
  if (!t.associationsSlot()) return;
  auto& a = static_cast<AssociationsAttachment&>(*t.associationsSlot());
  LoadAssociations(a.lists, a.configFile);  // frees the old records first
}

}  // namespace exec
