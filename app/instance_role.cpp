#include "app/instance_role.h"

#include "config/config_file.h"

namespace app {

int ChooseInstanceNumber(const std::vector<std::string>& args, bool windowExists) {
  // "-CFGID" alone, with no number after it, is read as if no argument had been given.
  if (args.empty() || (args[0] == "-CFGID" && args.size() < 2)) return windowExists ? -1 : 0;
  if (args[0] != "-CFGID") return -1;
  long n = config::ParseLong(args[1].c_str());
  // Only -1 (defaults), 1..64 (saved windows) and 65 (restart) name a window section; any
  // other number is read as no argument: a new window while one is open (the launcher would
  // open every saved window again and end the save cycle under it), else the launcher.
  if (n < -1 || n > 65) return windowExists ? -1 : 0;
  return static_cast<int>(n);
}

}  // namespace app
