// A second thread that finishes one block (the back of the chain: delay,
// reverb, balance) while the play thread takes the next block through the
// front of the chain (ring, volume, time base, pitch shift, tone, chorus). The
// two halves touch separate states, so the output is the same sample for
// sample as one thread running the whole chain.
//
// Used only for a device that takes buffers as fast as they come (a file): the
// block held back costs no sound there, and an export then runs on two cores.
//
// It also runs a side job for the play thread's own block (the second voice of
// the high-quality stretchers) while the play thread does the first.
//
// Thread contract: the play thread alone calls Start, StartSide, Wait and the
// owner's functions; between a start and the end of its Wait the finisher
// thread touches only the job's buffer and the back-of-chain states
// (EffectStates' delay output aside, reverb and their soft-clip memos), or
// what the side job's function touches (one stretcher voice). The two
// semaphores order those touches.
#pragma once

#include <cstdint>
#include <semaphore>
#include <thread>

#include "engine/EffectChain.h"
#include "engine/PlayParams.h"

namespace vk {

struct PlayEngine;
struct WaveHdr;

struct FinisherJob {
  WaveHdr* hdr = nullptr;       // the block's header, handed to the device once finished
                                // (null: a side job, see StartSide)
  std::int16_t* out = nullptr;  // the block's buffer (the header's data)
  PlayParams params;            // the block's snapshot, copied: the taker's slot moves on
  BlockBack back;               // what the front left for the back
  std::int32_t speed = 0;       // the block's speed, for the speed history
  std::int64_t handed_at = 0;   // the device-stream frame the block starts at
  std::int64_t frames = 0;      // frames the block hands the device
};

class BlockFinisher {
 public:
  explicit BlockFinisher(PlayEngine& engine);
  ~BlockFinisher();  // waits for a job under way, then ends the thread
  BlockFinisher(const BlockFinisher&) = delete;
  BlockFinisher& operator=(const BlockFinisher&) = delete;

  // Starts finishing `job` on the finisher thread; no job may be under way.
  void Start(const FinisherJob& job);
  // Runs fn(arg) on the finisher thread instead (a part of the play thread's
  // own block); no job may be under way. Wait for it before using its results.
  void StartSide(void (*fn)(void*), void* arg);
  // Waits for the job under way to finish; false when none was.
  bool Wait();
  bool Busy() const { return busy_; }
  const FinisherJob& Job() const { return job_; }

 private:
  void Run();

  PlayEngine& engine_;
  FinisherJob job_;
  void (*side_fn_)(void*) = nullptr;
  void* side_arg_ = nullptr;
  bool busy_ = false;  // play thread only
  bool quit_ = false;  // written before the last release of start_
  std::binary_semaphore start_{0};
  std::binary_semaphore done_{0};
  std::thread thread_;
};

}  // namespace vk
