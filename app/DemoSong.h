// The demo song that an empty playlist offers.
#pragma once

#include <string>

namespace vk {

struct AppPaths;

// The demo song beside the program (a build tree) or in the shared data
// folder (an install), or empty when there is none.
std::string DemoSongFile(const AppPaths& paths);

}  // namespace vk
