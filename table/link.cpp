#include "table/link.h"

namespace table {

Link::Link() : prev(this), next(this), parent(nullptr), firstChild(this) {}

Link::Link(Link* p) : prev(this), next(this), parent(nullptr), firstChild(this) {
  if (p) AppendTo(p);
}

Link::~Link() {
  DestroyChildren();
  Unlink();
}

int32_t Link::ChildCount() const {
  if (!HasChildren()) return 0;
  int32_t n = 0;
  const Link* c = firstChild;
  do {
    ++n;
    c = c->next;
  } while (c != firstChild);
  return n;
}

void Link::DestroyChildren() {
  // From the last child backwards, so the first-child link never has to move.
  while (HasChildren()) delete firstChild->prev;
}

void Link::Unlink() {
  if (!parent) return;
  if (next == this) {
    parent->firstChild = parent;
  } else {
    if (parent->firstChild == this) parent->firstChild = next;
    prev->next = next;
    next->prev = prev;
  }
  prev = next = this;
  parent = nullptr;
}

void Link::AppendTo(Link* p) {
  Unlink();
  parent = p;
  if (!p->HasChildren()) {
    p->firstChild = this;
    prev = next = this;
    index = 0;
    return;
  }
  Link* first = p->firstChild;
  Link* last = first->prev;
  index = last->index + 1;
  prev = last;
  next = first;
  last->next = this;
  first->prev = this;
}

}  // namespace table
