// One command at a time. A file command runs on the user-interface thread and keeps the window
// alive with a nested message pump, and its questions are modal dialogs that leave the main
// frame usable; a menu item, a toolbar button, a bound key or a message from another window
// would otherwise start a second command inside the first, one that reloads the table under
// the first's entries or takes over its dialogs.
//
// Every command holds the gate while it runs (Enter, a scope object); whatever would start a
// command or change the table asks the gate first and is refused while it is held. Closing the
// window while a command runs cancels the command and closes once it has unwound; other work
// that must not happen under a running command (rebuilding the toolbar a command was started
// from) waits for its end the same way.
#pragma once
#include <functional>
#include <vector>

namespace frame {

class CommandGate {
 public:
  CommandGate() = default;
  CommandGate(const CommandGate&) = delete;
  CommandGate& operator=(const CommandGate&) = delete;

  // Held by a command for its whole run. An empty scope (false) means another command runs:
  // the caller must not run.
  class Scope {
   public:
    Scope() = default;
    Scope(Scope&& other) noexcept : gate_(other.gate_) { other.gate_ = nullptr; }
    Scope& operator=(Scope&&) = delete;
    ~Scope();
    explicit operator bool() const { return gate_ != nullptr; }

   private:
    friend class CommandGate;
    explicit Scope(CommandGate* gate) : gate_(gate) {}
    CommandGate* gate_ = nullptr;
  };

  // The gate for a command; empty while another command holds it.
  [[nodiscard]] Scope Enter();
  // The gate for a drag from a pane: no command starts and nothing reloads the table while
  // the drag loop runs, but the panes still show where a drop may land (Dragging). The drop
  // itself is carried out after the drag, as a command of its own.
  [[nodiscard]] Scope EnterDrag();
  bool Busy() const { return busy_; }
  bool Dragging() const { return dragging_; }

  // How the running command is cancelled from outside, set by the command for the time its
  // dialogs exist. When a close is already pending the command is cancelled at once.
  class CancelHook {
   public:
    CancelHook(CommandGate& gate, std::function<void()> cancel);
    ~CancelHook();
    CancelHook(const CancelHook&) = delete;
    CancelHook& operator=(const CancelHook&) = delete;

   private:
    CommandGate& gate_;
  };

  // Runs work now when no command runs; otherwise once the running command has ended.
  void WhenIdle(std::function<void()> work);

  // The window is asked to close. True: no command runs, close now. False: the running command
  // is cancelled and close is called once it has ended (once, however often this is asked).
  bool CloseNow(std::function<void()> close);
  // True from a refused close until the command has ended.
  bool ClosePending() const { return closePending_; }

  // Cancels the running command (its hook), e.g. when the session ends; nothing when none runs.
  void CancelRunning();

 private:
  void Leave();

  bool busy_ = false;
  bool dragging_ = false;
  bool closePending_ = false;
  std::function<void()> cancel_;
  std::vector<std::function<void()>> afterwards_;
};

}  // namespace frame
