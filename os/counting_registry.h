// A registry that counts the keys opened through it and passes every call on to the registry
// in force when it was made: for tests and benchmarks that check how often the registry is read.
#pragma once
#include <atomic>
#include <memory>

#include "os/registry.h"
#include "os/services.h"

namespace os {

class CountingRegistry final : public Registry {
 public:
  CountingRegistry() : inner_(Reg()) {}

  std::unique_ptr<RegKey> OpenKey(RegRoot root, const char* path, uint32_t* error) override {
    ++opened_;
    return inner_.OpenKey(root, path, error);
  }
  std::unique_ptr<RegKey> CreateKey(RegRoot root, const char* path, uint32_t* error) override {
    ++opened_;
    return inner_.CreateKey(root, path, error);
  }
  uint32_t DeleteKey(RegRoot root, const char* path) override {
    return inner_.DeleteKey(root, path);
  }
  // Keys opened or created so far.
  int Opened() const { return opened_; }

 private:
  Registry& inner_;
  std::atomic<int> opened_{0};
};

}  // namespace os
