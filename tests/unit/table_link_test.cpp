// The tree node every list is built from.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "table/link.h"

namespace {

using table::Link;

// Records its destruction so tests can see what a delete took with it.
class Counted : public Link {
 public:
  Counted(Link* parent, int id, std::vector<int>* log) : Link(parent), id_(id), log_(log) {}
  ~Counted() override { log_->push_back(id_); }

 private:
  int id_;
  std::vector<int>* log_;
};

std::vector<int32_t> Indices(const Link& parent) {
  std::vector<int32_t> out;
  if (!parent.HasChildren()) return out;
  const Link* c = parent.firstChild;
  do {
    out.push_back(c->index);
    c = c->next;
  } while (c != parent.firstChild);
  return out;
}

TEST(TableLinkTest, LoneRootIsItsOwnRingWithoutChildren) {
  Link root;
  EXPECT_EQ(root.prev, &root);
  EXPECT_EQ(root.next, &root);
  EXPECT_EQ(root.parent, nullptr);
  EXPECT_EQ(root.firstChild, &root);
  EXPECT_EQ(root.kind, -1);
  EXPECT_EQ(root.payload, nullptr);
  EXPECT_EQ(root.ChildCount(), 0);
  EXPECT_EQ(root.LastChild(), nullptr);
}

TEST(TableLinkTest, ChildrenFormARingNumberedFromZero) {
  Link root;
  Link* a = new Link(&root);
  Link* b = new Link(&root);
  Link* c = new Link(&root);
  EXPECT_EQ(root.firstChild, a);
  EXPECT_EQ(Indices(root), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(a->prev, c);
  EXPECT_EQ(c->next, a);
  EXPECT_EQ(b->prev, a);
  EXPECT_EQ(b->parent, &root);
  EXPECT_EQ(root.LastChild(), c);
  EXPECT_EQ(root.ChildCount(), 3);
  // A node appended after a gap takes the last index plus one.
  c->index = 10;
  Link* d = new Link(&root);
  EXPECT_EQ(d->index, 11);
}

TEST(TableLinkTest, DestroyingANodeUnlinksItAndFixesTheFirstChild) {
  struct Case {
    int remove;                  // which of three children
    std::vector<int> remaining;  // ids in ring order afterwards
  } cases[] = {{0, {1, 2}}, {1, {0, 2}}, {2, {0, 1}}};
  for (const Case& c : cases) {
    std::vector<int> log;
    Link root;
    Counted* nodes[3];
    for (int i = 0; i < 3; ++i) nodes[i] = new Counted(&root, i, &log);
    delete nodes[c.remove];
    EXPECT_EQ(log, std::vector<int>{c.remove});
    std::vector<int> ids;
    Link* n = root.firstChild;
    do {
      for (int i = 0; i < 3; ++i)
        if (n == nodes[i]) ids.push_back(i);
      n = n->next;
    } while (n != root.firstChild);
    EXPECT_EQ(ids, c.remaining) << "removed " << c.remove;
    EXPECT_EQ(root.firstChild->prev->next, root.firstChild);
  }
}

TEST(TableLinkTest, LastChildGoneLeavesParentWithoutChildren) {
  Link root;
  Link* only = new Link(&root);
  delete only;
  EXPECT_EQ(root.firstChild, &root);
  EXPECT_FALSE(root.HasChildren());
}

TEST(TableLinkTest, DestroyingAParentDestroysItsWholeSubtree) {
  std::vector<int> log;
  {
    Link root;
    Counted* a = new Counted(&root, 1, &log);
    new Counted(a, 11, &log);
    new Counted(a, 12, &log);
    new Counted(&root, 2, &log);
    delete a;
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (std::vector<int>{1, 11, 12}));
    EXPECT_EQ(root.ChildCount(), 1);
  }
  EXPECT_EQ(log.size(), 4u);
  EXPECT_EQ(log.back(), 2);
}

TEST(TableLinkTest, AppendToMovesANodeWithItsChildren) {
  std::vector<int> log;
  Link from, to;
  new Link(&to);
  Counted* moving = new Counted(&from, 5, &log);
  new Counted(moving, 6, &log);
  moving->AppendTo(&to);
  EXPECT_FALSE(from.HasChildren());
  EXPECT_EQ(to.ChildCount(), 2);
  EXPECT_EQ(moving->index, 1);
  EXPECT_EQ(moving->parent, &to);
  EXPECT_EQ(moving->ChildCount(), 1);
  moving->Unlink();
  EXPECT_EQ(moving->parent, nullptr);
  EXPECT_EQ(to.ChildCount(), 1);
  delete moving;
  std::sort(log.begin(), log.end());
  EXPECT_EQ(log, (std::vector<int>{5, 6}));
}

}  // namespace
