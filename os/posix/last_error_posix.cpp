#include "os/last_error.h"

namespace os {
namespace {
thread_local uint32_t t_lastError = 0;
}
uint32_t LastError() { return t_lastError; }
void SetLastError(uint32_t e) { t_lastError = e; }
}  // namespace os
