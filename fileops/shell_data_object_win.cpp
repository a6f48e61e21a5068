#include "fileops/shell_data_object_win.h"

#include "exec/shell_context_menu_win.h"

namespace fileops {

IDataObject* ShellDataObjectFor(const std::string& directory,
                                const std::vector<std::string>& names) {
  exec::ComPtr<IUnknown> object =
      exec::GetShellItemsObject(directory, names, nullptr, IID_IDataObject);
  return static_cast<IDataObject*>(static_cast<IUnknown*>(object.release()));
}

}  // namespace fileops
