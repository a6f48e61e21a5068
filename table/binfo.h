// The display node of a file table: an entry, or one text line of an entry.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "table/link.h"
#include "table/sm_dat.h"

namespace table {

// The Link kind of a BINFO.
enum NodeKind : int32_t {
  kEntryNode = 0,  // payload: the entry's SM_DAT, owned (carried inside an EntryNode)
  kNameLine = 10,  // payload: the same SM_DAT, not owned; text points into the display name
  kSizeLine = 11,  // the other lines own their text
  kDateLine = 12,
  kTimeLine = 13,
  kAttrLine = 14,
};

// Label style of a name line.
enum LabelStyle : int32_t {
  kLabelSingle = 0,   // icon label on one line
  kLabelWrapped = 1,  // icon label wrapped over several lines
  kLabelList = 2,     // list-mode name
};

class BINFO : public Link {
 public:
  BINFO() = default;  // a root
  BINFO(BINFO* parent, int32_t nodeKind);
  ~BINFO() override;

  int32_t x = 0;  // document coordinates before scrolling
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t labelStyle = kLabelSingle;
  uint32_t textLength = 0;
  const char* text = nullptr;
  // The measured extent of the text, kept so that a relayout measures nothing again.
  int32_t textWidth = 0;
  int32_t textHeight = 0;
  // Entry nodes: the layout generation their line nodes were built for (0: never built), and
  // what the icon-mode layout needs of those lines: the widest, the height of the name lines
  // and the height of all lines.
  uint32_t layoutStamp = 0;
  int32_t linesWidest = 0;
  int32_t linesNameHeight = 0;
  int32_t linesHeight = 0;

  SM_DAT* Data() const { return static_cast<SM_DAT*>(payload); }
  // An entry node given a record made apart owns it and deletes it with itself.
  void AdoptData(std::unique_ptr<SM_DAT> data);
  BINFO* NextNode() const { return static_cast<BINFO*>(next); }
  BINFO* PrevNode() const { return static_cast<BINFO*>(prev); }
  BINFO* FirstChildNode() const { return static_cast<BINFO*>(firstChild); }
  BINFO* ParentNode() const { return static_cast<BINFO*>(parent); }

  // Size, date, time and attribute lines keep a copy of their text.
  void SetOwnedText(const char* s, std::size_t n);
  // Name lines point into the entry's display name.
  void SetBorrowedText(const char* s, std::size_t n);
  // True when the point lies in the node's rectangle, edges included.
  bool Contains(int32_t px, int32_t py) const {
    return px >= x && px <= x + width && py >= y && py <= y + height;
  }

 private:
  bool OwnsText() const { return kind >= kSizeLine && kind <= kAttrLine; }
  void FreeText();
  bool ownsPayload_ = false;
};

// The entry node the scan makes: the record and the first name line live in the same
// allocation as the node. The first name line is never deleted on its own (the layout keeps it
// when it rebuilds the other lines).
class EntryNode final : public BINFO {
 public:
  EntryNode();
  ~EntryNode() override;
  SM_DAT data;
  BINFO nameLine;
};

}  // namespace table
