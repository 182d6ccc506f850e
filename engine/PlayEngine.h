// The play engine: the play thread's record, its commands, the ring of decoded
// frames that the draw thread taps, and the engine's error codes and texts.
//
// The play thread owns the record while a file plays. Fields other threads touch
// say so; everything else is the play thread's alone.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "audio/FfmpegReader.h"
#include "audio/StreamRecord.h"
#include "engine/BlockFinisher.h"
#include "engine/Effects.h"
#include "engine/PlayParams.h"
#include "engine/PlayPosition.h"
#include "engine/StretchHq.h"
#include "engine/ThreadMailbox.h"
#include "engine/WaveOut.h"

namespace vk {

inline constexpr int kMaxWaveBufs = 16;

// Engine error codes: the answer of the start command and wParam of 0x8006.
enum EngineResult : int {
  kEngineCannotOpen = 1,
  kEngineNoMemory = 2,
  kEngineNoDevice = 3,
  kEngineReadFailed = 4,
};

// Play-thread commands.
inline constexpr std::int32_t kPlayOpen = 1;      // the start command: Param1 is the Player
inline constexpr std::int32_t kPlayPause = 2;
inline constexpr std::int32_t kPlayRestart = 3;
inline constexpr std::int32_t kPlaySeek = 4;      // Param1: position or numerator, Param2: mode
inline constexpr std::int32_t kPlayClose = 5;
inline constexpr std::int32_t kPlayPosition = 6;  // answers the position in frames
inline constexpr std::int32_t kPlayLength = 7;    // answers TotalSmpl

// Seek modes (Param2 of kPlaySeek); a mode above 0 is the denominator of a
// fraction of the length.
inline constexpr std::int32_t kSeekCurrent = 0;       // restart at the position heard
inline constexpr std::int32_t kSeekTo = -1;           // Param1 is the frame
inline constexpr std::int32_t kSeekEffectsOnly = -2;  // only reset the effect states


struct PlayEngine {
  std::unique_ptr<std::uint8_t[]> DecodeBuf;  // ReadChunk frames the reader writes into
  std::int32_t ReadChunk = 0;                 // frames

  // Decoded frames at file positions (frame p at p mod RingSize), each frame one
  // 32-bit word holding left then right. Allocated and freed under RingLock; the
  // draw thread copies under RingLock while the play thread writes words without
  // it, so a copy may mix old and new frames but never tears one.
  std::unique_ptr<std::atomic<std::uint32_t>[]> RingBuf;
  std::int32_t RingSize = 0;   // frames, a power of two
  std::int32_t RingWrite = 0;  // next frame the source writes, mod RingSize
  std::int32_t RingRead = 0;   // next frame the chain takes, mod RingSize

  std::unique_ptr<std::int16_t[]> OutBuf[kMaxWaveBufs];  // BufFrames frames each
  std::unique_ptr<std::int16_t[]> WorkA;  // 2 × BufFrames frames: the block taken from the ring
  std::unique_ptr<std::int16_t[]> WorkB;  // 2 × BufFrames frames: scratch of the pitch shift
  std::int32_t BufFrames = 0;
  std::int32_t NumBufs = 0;  // buffers opened (the count option at open)

  // The chain's state between blocks: the effect states, sized at open and reset
  // at every seek and settings change, and the resampler's history frames (left,
  // right) of the time base and of the pitch-shift voices, one per signal,
  // cleared at open and at every seek.
  EffectStates Effects;
  std::int16_t ResampleHistory[2] = {0, 0};
  PitchHistory PitchVoiceHistory;
  // The high-quality stretchers and their read-ahead store, made at the first
  // open (kept for later opens at the same rate and block length) and emptied
  // at every open and seek; an effects-only reset keeps them: the sound goes on.
  StretchHq Hq;

  std::unique_ptr<WaveOut> hWaveOut;  // null when closed: the play thread then ends
  std::int32_t BaseSmpl = 0;    // file frame at device position 0
  std::int32_t EndPending = 0;  // the source ended but the ring still holds frames
  std::int32_t ABState = kABOff;  // what the last repeat decision left
  // Frames handed to the device since its last reset, and their speeds (runs of
  // one Speed index; a run is added only when the speed changes between blocks).
  static constexpr int kMaxSpeedRuns = 8;
  std::int64_t Handed = 0;
  SpeedRun Speeds[kMaxSpeedRuns];
  std::int32_t SpeedRunCount = 0;
  // The source's end was reached while the buffers were first filled; the first
  // pass reports it, so the owner always hears of the end before it comes.
  std::int32_t ExhaustedAtOpen = 0;

  // Written by the play thread; read by the window and the draw thread.
  std::atomic<std::int32_t> TotalSmpl{0};
  std::atomic<std::int32_t> NowPlaySmpl{0};
  std::atomic<std::int32_t> Paused{0};
  // The delivered sample rate of the open file, kept after close so an owner
  // can convert positions without touching the stream records.
  std::atomic<std::int32_t> RateHz{0};

  WaveHdr WaveHdrs[kMaxWaveBufs];
  std::int32_t IsMP3 = 0;
  std::int32_t IsFF = 0;  // the FFmpeg reader holds the file (Ff)

  // Written by the window (seek bar); read by the play thread each pass. Repeat
  // is on while RepeatA < RepeatB.
  std::atomic<std::int32_t> RepeatA{0};
  std::atomic<std::int32_t> RepeatB{0};

  // Loop passes. The play thread counts a pass at each start from A while
  // repeat is on (the jump at B, or a seek to A) and clears the count when
  // repeat goes off. TrainPass counts the passes since the trainer was
  // switched on (0 while it is off) and TrainSpeed is the Speed index it sets
  // for this pass, -1 while it is off: blocks then use the snapshot's Speed.
  // The owner reads them to show them.
  std::atomic<std::int32_t> LoopPass{0};
  std::atomic<std::int32_t> TrainPass{0};
  std::atomic<std::int32_t> TrainSpeed{-1};
  // Written by the owner before the start command: reaching B at the end of
  // this pass ends playback instead of jumping (0: never).
  std::atomic<std::int32_t> PassLimit{0};
  // Frames of silence still to hand the device before the pass sounds.
  std::int32_t GapLeft = 0;
  // The sound as handed to the device, after every effect: frame h of the
  // device stream (counted from the device's last reset, as Handed is) at
  // h mod OutRingSize. Same discipline as RingBuf: allocated and freed under
  // RingLock, written word by word by the play thread without it, copied by
  // the draw thread under it.
  std::unique_ptr<std::atomic<std::uint32_t>[]> OutRing;
  std::int32_t OutRingSize = 0;  // frames, a power of two
  // The device frame now sounding (played frames since the last reset);
  // written by the play thread with the position, read by the draw thread.
  std::atomic<std::int64_t> OutHeard{0};

  std::mutex RingLock;

  // The playing file's records. Their descriptive fields (formats, FullPath,
  // tags) change only while a file is opened or closed; others may read them
  // while a file plays.
  WAVSet Wav;
  MP3Set Mp3;
  FFSet Ff;

  // The settings the chain uses: published by the controlling thread, taken by
  // the play thread once per block (and at open and each seek).
  PlayParamsBox Params;

  // For a device that takes buffers as fast as they come: the thread that
  // finishes one block while this one takes the next through the chain's
  // front (made at the first such pass, ended at close). Declared last so it
  // ends before the states it works on go.
  std::unique_ptr<BlockFinisher> Finisher;

  const WaveFormatEx& Format() const { return IsFF ? Ff.wfxDst : IsMP3 ? Mp3.wfxDst : Wav.wfxDst; }
  const WaveFormatEx& SourceFormat() const { return IsFF ? Ff.wfxSrc : IsMP3 ? Mp3.wfxSrc : Wav.wfxSrc; }
  const char* FullPath() const { return IsFF ? Ff.FullPath : IsMP3 ? Mp3.FullPath : Wav.FullPath; }
};

struct Player;

// The play thread's procedure, for StartThread: its start argument is the
// Player (whose OpenPath names the file to open).
int PlayThreadProc(ThreadMailbox& mailbox);

// Play-thread operations (the commands run these; benchmarks drive them directly).
// Opens `path` into the player's engine and its output; 0 or an engine code
// (closed on failure).
int EngineOpen(Player& p, const char* path);
void EngineClose(PlayEngine& e);
void EngineSeek(PlayEngine& e, std::int32_t position, std::int32_t mode);
// A start from frame `from` while repeat is on begins the next pass when it is
// the A point; repeat off ends the passes (and the trainer's speed).
void EngineFollowPasses(PlayEngine& e, std::int32_t from);
std::int32_t EnginePosition(PlayEngine& e);  // file frame now sounding
// What HeardPosition needs from the engine and its device now.
HeardInput EngineHeardInput(PlayEngine& e);
// Hands block buffer `h` to the device and adds its frames to the speed history
// (after the block the finisher holds, if any).
void EngineWrite(PlayEngine& e, WaveHdr& h, std::int32_t speed);
// Waits for the block the finisher holds and hands it to the device; false
// when it held none. Everything that touches the device, the block buffers or
// the back of the chain's states runs this first.
bool EngineHandFinished(PlayEngine& e);
// The finisher, idle, for work of the block being made (the second stretcher
// voice): only where blocks are finished aside, else null.
BlockFinisher* EngineSideLane(PlayEngine& e);

struct PassResult {
  int code = 0;       // 0, or kEngineReadFailed
  bool finished = false;   // every buffer has drained
  bool exhausted = false;  // the source delivered its last frame
  bool refilled = false;   // a buffer was filled and written in this pass
};
PassResult EngineRefillPass(PlayEngine& e);

// Reading the ring into the chain's first work buffer, and the ring tap.
// `channels` is the block's channel selection (ChannelSelect).
int TakeFromRing(PlayEngine& e, std::int32_t r, std::int32_t channels, std::int32_t* taken,
                 int* exhausted);

// Copies n frames from file position p into dst (2 × n samples): silence while
// no ring exists. Takes RingLock; for the draw thread.
void RingTap(PlayEngine& e, std::int32_t p, std::int32_t n, std::int16_t* dst);

// Copies the n frames of the device stream centred on the frame now heard
// into dst (2 × n samples): what the listener hears, after pitch shift and the
// other effects. Silence while no ring exists. Takes RingLock; for the draw thread.
void HeardTap(PlayEngine& e, std::int32_t n, std::int16_t* dst);

// The largest block the draw thread analyses, which the device-stream ring
// keeps behind the frame heard.
inline constexpr std::int32_t kHeardTapMaxFrames = 65536;

// The message the window shows for an engine code; a code without its own
// text reads as kEngineErrorNumber with the code.
inline constexpr const char* kEngineErrorNumber = "エラーNo.%d";
std::string EngineErrorText(int code);

}  // namespace vk
