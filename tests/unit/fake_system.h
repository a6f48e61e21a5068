// A System that forwards to the backend's but lets a test replace what it needs: no real
// sleeping (time is counted), recorded process starts, a chosen login name.
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "os/services.h"

namespace testutil {

class FakeSystem : public os::System {
 public:
  FakeSystem() : real_(*os::BackendServices().system) {}

  bool GetUserName(char* buf, uint32_t* size) override {
    if (!userName.has_value) return real_.GetUserName(buf, size);
    if (userName.fail || userName.value.size() + 1 > *size) {
      *size = static_cast<uint32_t>(userName.value.size() + 1);
      return false;
    }
    for (size_t i = 0; i <= userName.value.size(); ++i) buf[i] = userName.value.c_str()[i];
    *size = static_cast<uint32_t>(userName.value.size() + 1);
    return true;
  }
  uint32_t WindowsMajorVersion() override { return real_.WindowsMajorVersion(); }
  uint32_t TickCount() override { return real_.TickCount() + sleptMs; }
  void Sleep(uint32_t ms) override {
    std::lock_guard<std::mutex> g(mu);
    sleptMs += ms;
    ++sleeps;
  }
  bool PeekPending() override {
    ++peeks;
    return false;
  }
  uint32_t WinExec(const char* commandLine, int show) override {
    std::lock_guard<std::mutex> g(mu);
    started.emplace_back(commandLine);
    return winExecResult;
  }
  int32_t TimeZoneBiasMinutes() override { return real_.TimeZoneBiasMinutes(); }
  int CompareNoCase(const char* a, const char* b) override { return real_.CompareNoCase(a, b); }
  std::string SortKey(const char* text) override { return real_.SortKey(text); }
  uint32_t ExecutableType(const char* path) override { return real_.ExecutableType(path); }
  std::string ProgramSearchPath() override { return real_.ProgramSearchPath(); }

  struct UserName {
    bool has_value = false;
    bool fail = false;
    std::string value;
  } userName;
  std::mutex mu;
  uint32_t sleptMs = 0;
  int sleeps = 0;
  int peeks = 0;
  std::vector<std::string> started;
  // What WinExec returns: above 31 is a start; 2 (file not found) makes every start fail.
  uint32_t winExecResult = 33;

 private:
  os::System& real_;
};

}  // namespace testutil
