#include "playlist/PreOpen.h"

#include <string>

#include "audio/Mp3Reader.h"
#include "audio/WavReader.h"
#include "common/Path.h"

namespace vk {
namespace {

constexpr int kPriorityLowest = -2;

void OpenFullyAndClose(const std::string& path, ReaderChoice choice) {
  if (choice == ReaderChoice::kNone) return;
  if (choice == ReaderChoice::kWavThenMp3) {
    WAVSet wav;
    if (WavOpen(path.c_str(), wav) == 0) {
      WavClose(wav);
      return;
    }
  }
  MP3Set mp3;
  if (Mp3Open(path.c_str(), mp3, 1, 0) == 0) Mp3Close(mp3, 0, 0);
}

}  // namespace

int PreOpenThread(ThreadMailbox& mailbox) {
  WorkerEnter(mailbox);
  // Copy the path before answering: StartThread returns once Command is 0 and
  // the caller's string may go away from then on.
  const std::string path(reinterpret_cast<const char*>(mailbox.Param1.load(std::memory_order_relaxed)));
  WorkerFinishCommand(mailbox, 0);
  OpenFullyAndClose(path, ChooseReader(path));
  WorkerPost(mailbox, kMsgPreOpenDone, 0, 0);
  WorkerLeave(mailbox);
  return 0;
}

bool PreOpenNext(ThreadMailbox& mailbox, MessageSink* owner, const PlaylistModel& list, bool playing) {
  const int current = playing ? list.CurrentItem : list.FocusItem;
  if (current < 0 || current >= ItemCount(list) - 1) return false;
  if (mailbox.hThread.joinable()) return false;  // one pre-open at a time
  const std::string& path = list.Rows[static_cast<std::size_t>(current) + 1].Text[kColFullPath];
  return StartThread(mailbox, owner, reinterpret_cast<std::intptr_t>(path.c_str()), PreOpenThread,
                     kPriorityLowest) == 0;
}

}  // namespace vk
