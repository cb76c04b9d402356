// `sqhost studio`: the host driven by pages in a browser through the studio's local server.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sqhost {

struct StudioOptions {
  std::vector<std::string> files;  // SVG files to open, inside root; none: the bundled drawing
  uint16_t port = 0;               // 0: any free port
  std::string root;                // the folder files are opened from and saved to; empty: "."
  std::string prefs;               // preference file option, resolved as for scripts
  std::string plugin;              // the plug-in library to load
};

// Runs the studio until SIGINT or SIGTERM. Returns the exit status: 0 after a clean stop, 2 when
// the folder or a file is refused, 1 when the host or the server cannot start.
int runStudio(const StudioOptions& options);

}  // namespace sqhost
