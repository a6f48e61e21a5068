#include "table/binfo.h"

#include <cstring>

namespace table {

BINFO::BINFO(BINFO* p, int32_t nodeKind) : Link(p) { kind = nodeKind; }

BINFO::~BINFO() {
  DestroyChildren();
  FreeText();
  if (ownsPayload_) delete Data();
  payload = nullptr;
}

void BINFO::AdoptData(std::unique_ptr<SM_DAT> data) {
  if (ownsPayload_) delete Data();
  payload = data.release();
  ownsPayload_ = true;
}

void BINFO::FreeText() {
  if (OwnsText()) delete[] text;
  text = nullptr;
  textLength = 0;
}

void BINFO::SetOwnedText(const char* s, std::size_t n) {
  char* copy = new char[n + 1];
  std::memcpy(copy, s, n);
  copy[n] = '\0';
  FreeText();
  text = copy;
  textLength = static_cast<uint32_t>(n);
}

void BINFO::SetBorrowedText(const char* s, std::size_t n) {
  FreeText();
  text = s;
  textLength = static_cast<uint32_t>(n);
}

EntryNode::EntryNode() : BINFO(nullptr, kEntryNode), nameLine(this, kNameLine) {
  payload = &data;
  nameLine.payload = &data;
}

EntryNode::~EntryNode() {
  // The other lines go first; the embedded name line then leaves the ring and is destroyed
  // as a member.
  while (LastChild() && LastChild() != &nameLine) delete LastChild();
  nameLine.Unlink();
}

}  // namespace table
