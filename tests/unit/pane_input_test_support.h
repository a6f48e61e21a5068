// Shared pieces of the cursor, selection, keyboard and mouse tests: a pane surface that records
// what the table asks to be drawn and scrolls the table's origin the way the pane does, a
// scripted pointer and clock for the mouse, and a fixture that lists numbered files.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "table/layout_math.h"
#include "table/mouse_logic.h"
#include "table/sorm.h"
#include "tests/unit/table_test_support.h"

namespace inputtest {

class RecordingSurface : public table::MouseSurface {
 public:
  explicit RecordingSurface(table::Sorm* t = nullptr) : table_(t) {}
  void SetTable(table::Sorm* t) { table_ = t; }

  void RedrawEntry(const table::BINFO* e) override { redrawn.push_back(e); }
  void RepaintAll() override { ++repaints; }
  // Moves the table's origin as the pane's scroll code does.
  bool ScrollStep(int kind, int32_t position) override {
    scrolls.push_back({kind, position});
    if (!table_) return false;
    const table::LayoutMetrics& m = table_->metrics();
    const bool list = table_->listMode();
    table::Point o = table_->origin();
    table::ScrollMove mv = table::ComputeScroll(
        kind, position, list ? o.x : o.y, list ? table_->extentWidth() : table_->extentHeight(),
        list ? client.width : client.height, list ? m.cellWidth : m.cellHeight, m.linesPerPage);
    if (!mv.moves) return false;
    (list ? o.x : o.y) = mv.origin;
    table_->SetOrigin(o);
    return true;
  }

  table::ClientSize Client() override { return client; }
  table::Point Pointer() override { return pointer; }
  bool ButtonHeld(table::MouseButton b) override {
    return b == table::MouseButton::kLeft ? leftHeld : rightHeld;
  }
  uint8_t Modifiers() override { return modifiers; }
  uint32_t Ticks() override { return ticks; }
  void Capture(bool on) override { captures.push_back(on); }
  void InvertOutline(const table::BandRect& r) override {
    outlines.push_back(r);
    // An outline drawn twice is gone: the list of those showing follows the pairs.
    for (auto it = showing.begin(); it != showing.end(); ++it) {
      if (*it == r) {
        showing.erase(it);
        return;
      }
    }
    showing.push_back(r);
  }
  bool PointerOverClient() override { return overClient; }
  void Pump() override {
    ++pumps;
    if (onPump) onPump(pumps);
  }
  void PumpFor(uint32_t ms) override {
    pumpedMs += ms;
    ticks += ms;
    Pump();
  }
  void DiscardMouseMessages() override { ++discards; }
  void OfferDrag(table::MouseButton b, table::Point p) override { drags.push_back(b); }

  // Redraws recorded since the last call, cleared.
  std::vector<const table::BINFO*> TakeRedrawn() {
    std::vector<const table::BINFO*> r;
    r.swap(redrawn);
    return r;
  }

  table::ClientSize client{400, 300};
  table::Point pointer;
  bool leftHeld = false;
  bool rightHeld = false;
  uint8_t modifiers = 0;
  uint32_t ticks = 1000;
  bool overClient = true;
  std::function<void(int)> onPump;  // sees the number of the pump run (1, 2, ...)

  std::vector<const table::BINFO*> redrawn;
  int repaints = 0;
  std::vector<std::pair<int, int32_t>> scrolls;
  std::vector<bool> captures;
  std::vector<table::BandRect> outlines;
  std::vector<table::BandRect> showing;
  int pumps = 0;
  uint32_t pumpedMs = 0;
  int discards = 0;
  std::vector<table::MouseButton> drags;

 private:
  table::Sorm* table_;
};

// A table over a directory of files named f001.txt, f002.txt, ... (after "..", which the
// listing of a subdirectory puts first, so file k has index k + 1).
class InputTest : public tabletest::TableTest {
 protected:
  static std::string FileName(int k) {
    char name[32];
    std::snprintf(name, sizeof(name), "f%03d.txt", k);
    return name;
  }
  // files files in list mode (listMode) or icon mode, in a client area of width x height.
  std::unique_ptr<table::Sorm> OpenWith(int files, bool listMode, int32_t width, int32_t height) {
    for (int k = 1; k <= files; ++k) MakeFile(FileName(k), static_cast<std::size_t>(k));
    SetKey("vmode", listMode ? "1" : "0");
    view_.client = {width, height};
    surface_.client = view_.client;
    auto t = Open();
    surface_.SetTable(t.get());
    return t;
  }
  static table::BINFO* At(const table::Sorm& t, int32_t index) { return t.EntryAt(index); }
  // Indices of the selected entries in display order.
  static std::vector<int32_t> Selected(const table::Sorm& t) {
    std::vector<int32_t> out;
    for (table::BINFO* e : t.Entries())
      if (e->Data()->IsSelected()) out.push_back(e->index);
    return out;
  }
  static std::vector<int32_t> Range(int32_t from, int32_t to) {
    std::vector<int32_t> out;
    for (int32_t i = from; i <= to; ++i) out.push_back(i);
    return out;
  }

  RecordingSurface surface_;
};

}  // namespace inputtest
