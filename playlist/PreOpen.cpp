#include "playlist/PreOpen.h"

#include <string>

#include "audio/FfmpegReader.h"
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
  if (choice != ReaderChoice::kFfmpeg) {
    MP3Set mp3;
    if (Mp3Open(path.c_str(), mp3, kMp3FullOpen) == 0) {
      Mp3Close(mp3, kMp3Ok, kMp3CloseQuiet);
      return;
    }
    if (choice == ReaderChoice::kMp3) return;
  }
  FFSet ff;
  FfOpen(path.c_str(), ff, FfOpenMode::kFull);
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

int PreOpenRow(const PlaylistModel& list, bool playing, bool repeat_one, bool repeat_all) {
  const int current = playing ? list.CurrentItem : list.FocusItem;
  if (current < 0 || current >= ItemCount(list)) return -1;
  const int next = RowAfterEnd(list, current, repeat_one, repeat_all);
  return next == current ? -1 : next;
}

bool PreOpenNext(ThreadMailbox& mailbox, MessageSink* owner, const PlaylistModel& list, bool playing,
                 bool repeat_one, bool repeat_all) {
  const int row = PreOpenRow(list, playing, repeat_one, repeat_all);
  if (row < 0) return false;
  if (mailbox.hThread.joinable()) return false;  // one pre-open at a time
  const std::string& path = list.Rows[static_cast<std::size_t>(row)].Text[kColFullPath];
  return StartThread(mailbox, owner, reinterpret_cast<std::intptr_t>(path.c_str()), PreOpenThread,
                     kPriorityLowest) == 0;
}

}  // namespace vk
