// "Post a message to the owner window": how a worker thread reports. The window
// implements it with a posted event, the command-line front end with its own loop.
// Post must not block: workers call it from the play and draw paths.
#pragma once

#include <cstdint>

namespace vk {

// Message numbers in the application range.
inline constexpr std::uint32_t kMsgFrameReady = 0x8000;    // draw thread: frame drawn (acknowledged)
inline constexpr std::uint32_t kMsgPreOpenDone = 0x8004;   // pre-open thread finished
inline constexpr std::uint32_t kMsgPlayEnd = 0x8005;       // play thread: last buffer drained
inline constexpr std::uint32_t kMsgPlayError = 0x8006;     // play thread: read failed, wParam = engine code
inline constexpr std::uint32_t kMsgSourceEnd = 0x8007;     // play thread: source exhausted (acknowledged)
inline constexpr std::uint32_t kMsgPlayPosition = 0x8008;  // play thread: wParam = position, lParam = length (see AcknowledgePosition)

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Post(std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam) = 0;
};

}  // namespace vk
