// Which Wine runs the tests, for the few answers in which Wine versions differ.
#include <cstdlib>

#include "tests/unit/test_util.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace testutil {

int WineMajorVersion() {
#ifdef _WIN32
  using GetVersionFn = const char*(__cdecl*)();
  const auto get = reinterpret_cast<GetVersionFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version")));
  return get != nullptr ? std::atoi(get()) : 0;
#else
  return 0;
#endif
}

}  // namespace testutil
