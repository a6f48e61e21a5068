// The tree node every list of the program is built from: the children of one parent form a
// circular doubly linked ring; each node carries an untyped payload, an index and a kind.
#pragma once
#include <cstdint>

namespace table {

class Link {
 public:
  // A lone root: its own ring, no parent, no children.
  Link();
  // Appended at the end of parent's children (or made the first child).
  explicit Link(Link* parent);
  // Destroys every child first, then leaves the parent's ring.
  virtual ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  Link* prev;        // previous sibling (the last one for the first child)
  Link* next;        // next sibling (the first one for the last child)
  Link* parent;      // null for a root
  Link* firstChild;  // the node itself when it has no children
  void* payload = nullptr;
  // 0 for a node that became the first child; the last sibling's index plus 1 when appended.
  int32_t index = 0;
  int32_t kind = -1;

  bool HasChildren() const { return firstChild != this; }
  Link* LastChild() const { return HasChildren() ? firstChild->prev : nullptr; }
  // Number of children (walks the ring).
  int32_t ChildCount() const;

  // Leaves the parent's ring, keeping its own children. When it was the first child, the
  // parent's first-child link moves to its successor (or back to the parent when it was alone).
  void Unlink();
  // Joins newParent's ring at the end, taking the index rule of construction.
  void AppendTo(Link* newParent);
  // Destroys every child.
  void DestroyChildren();
};

}  // namespace table
