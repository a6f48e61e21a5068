// The association dialog of commands 160 (by extension), 150 (by name) and 158 (by full name):
// asks for the program or registered file type of the table's target entry, stores it and
// makes the change known to the shell and to every window.
#pragma once
#include <windows.h>

#include "exec/exec_link_info.h"
#include "table/sorm.h"
#include "table/table_view.h"

namespace exec {

constexpr const char* kNoExtensionText = "ファイル %s には拡張子がありません";

// The shell forgets the file types it knew, and every top-level window hears of the change
// (ours read their association lists again). A window that does not answer is not waited for.
void AnnounceAssociationChange();

// view: where the message about a name without extension goes.
void EditAssociation(HWND owner, table::Sorm& t, AssociationKind kind, table::TableView& view);

}  // namespace exec
