// The about box (command 2009): the product line, version, legal notice and build line taken
// from the program's own version resource.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fw/dialog.h"

// A copy of a module's version-information block and its first translation (language first,
// code page second). Without a block or a translation every query fails.
class ProjectRCVersion {
 public:
  // The block of the running program's file (a name of at most 255 bytes).
  ProjectRCVersion();

  bool Valid() const { return !block_.empty(); }
  // The text of a string field ("ProductName", ...); false when there is none.
  bool Query(const char* field, std::string& text) const;

 private:
  void Load(const char* fileName);
  std::vector<char> block_;
  uint32_t translation_ = 0;
};

class fwsAboutDlg : public fw::Dialog {
 public:
  fwsAboutDlg();

 protected:
  bool OnInit() override;
};
