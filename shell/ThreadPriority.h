// The user-interface thread's priority from its option: 0 normal, 1 and 2 one
// and two levels above. Raising a thread needs privileges most desktops do not
// grant; the request is then ignored, as the platform layer promises.
#pragma once

#include <cstdint>

namespace vk {

void SetUiThreadPriority(std::int32_t item);

}  // namespace vk
