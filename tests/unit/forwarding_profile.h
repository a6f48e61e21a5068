// A profile that passes every call on to another (by default the backend's): tests derive from
// it and override only the calls they record or refuse.
#pragma once
#include <cstdint>

#include "os/last_error.h"
#include "os/services.h"
#include "os/types.h"

namespace testutil {

class ForwardingProfile : public os::Profile {
 public:
  explicit ForwardingProfile(os::Profile& inner = *os::BackendServices().profile)
      : inner_(inner) {}
  uint32_t GetString(const char* s, const char* k, const char* d, char* b, uint32_t n,
                     const char* f) override {
    return inner_.GetString(s, k, d, b, n, f);
  }
  uint32_t GetInt(const char* s, const char* k, int32_t d, const char* f) override {
    return inner_.GetInt(s, k, d, f);
  }
  bool WriteString(const char* s, const char* k, const char* v, const char* f) override {
    return inner_.WriteString(s, k, v, f);
  }
  bool WriteSection(const char* s, const char* l, const char* f) override {
    return inner_.WriteSection(s, l, f);
  }
  uint32_t GetWinIniString(const char* s, const char* k, const char* d, char* b,
                           uint32_t n) override {
    return inner_.GetWinIniString(s, k, d, b, n);
  }
  bool WriteWinIniString(const char* s, const char* k, const char* v) override {
    return inner_.WriteWinIniString(s, k, v);
  }

 private:
  os::Profile& inner_;
};

// A profile whose writes (keys and whole sections alike) succeed a given number of times and
// fail from then on, as on a disk that fills up or a file another program locked meanwhile.
class FailingWritesProfile : public ForwardingProfile {
 public:
  explicit FailingWritesProfile(int writesThatSucceed) : left_(writesThatSucceed) {}
  bool WriteString(const char* s, const char* k, const char* v, const char* f) override {
    return Take() && ForwardingProfile::WriteString(s, k, v, f);
  }
  bool WriteSection(const char* s, const char* l, const char* f) override {
    return Take() && ForwardingProfile::WriteSection(s, l, f);
  }

 private:
  bool Take() {
    if (left_ <= 0) {
      os::SetLastError(os::kErrDiskFull);
      return false;
    }
    --left_;
    return true;
  }
  int left_;
};

}  // namespace testutil
