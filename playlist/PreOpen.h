// Reading the next playlist row ahead: when the play thread reports that the
// source is exhausted, the file that will play next is opened once, fully (for
// MPEG audio every frame header is read), and closed again on a thread of
// lowest priority, so the real open at the end of the current file finds it in
// the page cache. Nothing is kept and failures are silent.
//
// Thread contract: PreOpenNext and the join run on the window's thread, the
// only poster of the pre-open mailbox. The thread reads only its own copy of
// the path and reports kMsgPreOpenDone through the owner's MessageSink when it
// is done; the owner then calls JoinThread on the same mailbox.
#pragma once

#include "engine/ThreadMailbox.h"
#include "playlist/PlaylistModel.h"

namespace vk {

// The row the pre-open reads on the source-exhausted report, or -1: the row
// that will play after the current one by the repeat rules (RowAfterEnd), the
// current row being CurrentItem while a play thread exists (`playing`), else
// the focused row. Nothing is read when that is the current row itself
// (repeat-one: the file is open already) or no row follows.
int PreOpenRow(const PlaylistModel& list, bool playing, bool repeat_one, bool repeat_all);

// Starts a pre-open of PreOpenRow unless there is none or a pre-open thread
// still exists. Returns true when a thread was started.
bool PreOpenNext(ThreadMailbox& mailbox, MessageSink* owner, const PlaylistModel& list, bool playing,
                 bool repeat_one, bool repeat_all);

// The thread procedure (exposed for tests that start it directly).
int PreOpenThread(ThreadMailbox& mailbox);

}  // namespace vk
