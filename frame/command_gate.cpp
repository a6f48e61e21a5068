#include "frame/command_gate.h"

#include <utility>

namespace frame {

CommandGate::Scope::~Scope() {
  if (gate_) gate_->Leave();
}

CommandGate::Scope CommandGate::Enter() {
  if (busy_) return Scope();
  busy_ = true;
  return Scope(this);
}

CommandGate::Scope CommandGate::EnterDrag() {
  Scope scope = Enter();
  if (scope) dragging_ = true;
  return scope;
}

void CommandGate::Leave() {
  busy_ = false;
  dragging_ = false;
  closePending_ = false;
  cancel_ = nullptr;
  // The work may itself enter the gate (or ask for more work): take the list first.
  std::vector<std::function<void()>> work;
  work.swap(afterwards_);
  for (std::function<void()>& w : work) w();
}

CommandGate::CancelHook::CancelHook(CommandGate& gate, std::function<void()> cancel)
    : gate_(gate) {
  gate_.cancel_ = std::move(cancel);
  if (gate_.closePending_) gate_.CancelRunning();
}

CommandGate::CancelHook::~CancelHook() { gate_.cancel_ = nullptr; }

void CommandGate::WhenIdle(std::function<void()> work) {
  if (!busy_) {
    work();
    return;
  }
  afterwards_.push_back(std::move(work));
}

bool CommandGate::CloseNow(std::function<void()> close) {
  if (!busy_) return true;
  if (!closePending_) {
    closePending_ = true;
    afterwards_.push_back(std::move(close));
  }
  CancelRunning();
  return false;
}

void CommandGate::CancelRunning() {
  if (busy_ && cancel_) {
    // The hook may end a modal question, whose loop then returns into the command: call a copy.
    std::function<void()> cancel = cancel_;
    cancel();
  }
}

}  // namespace frame
