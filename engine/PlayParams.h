// The settings the play thread uses, as one immutable snapshot per block. The
// controlling thread (the window's or the CLI's) copies them from the settings
// record and publishes the copy on every change; the play thread takes the
// newest copy once per block, so values changed together (eight tone values,
// a preset) are heard together, never split across two blocks.
//
// Thread contract: one thread publishes, one (the play thread) takes. Neither
// ever waits for the other, takes a lock or allocates.
#pragma once

#include <atomic>
#include <cstdint>

#include "common/Settings.h"

namespace vk {

// The fields of the snapshot, named after the settings they copy.
#define VK_PLAY_PARAMS(X)                                                                        \
  X(Speed) X(Volume) X(Balance) X(ChannelSelect)                                                 \
  X(TrainOnOff) X(TrainStart) X(TrainStep) X(TrainEvery) X(TrainEnd) X(TrainGap)                 \
  X(NowLenWaveBufItem) X(NowNumWaveBufItem) X(NowPlayThreadSleepItem)                            \
  X(TmstOnOff) X(TmstWndSiz) X(TmstQuality)                                                      \
  X(PsftOnOff) X(PsftWndSiz1) X(PsftPitch1) X(PsftWndSiz2) X(PsftPitch2) X(Psft2Ratio)           \
  X(PsftQuality) X(PsftFormant)                                                                  \
  X(ToneOnOff) X(ToneLowWidth) X(ToneLowDepth) X(ToneLowStereo) X(ToneMidDepth)                  \
  X(ToneMidStereo) X(ToneHghWidth) X(ToneHghDepth) X(ToneHghStereo)                              \
  X(ChrsOnOff) X(ChrsDelayTime) X(ChrsDepth) X(ChrsLfoFreq) X(ChrsLfoPhase) X(ChrsLpf)           \
  X(ChrsHpf) X(ChrsWetRatio)                                                                     \
  X(DlayOnOff) X(DlayDelayTime) X(DlayFeedback) X(DlayLpf) X(DlayHpf) X(DlayPanning)             \
  X(DlayCompGain) X(DlayWetRatio)                                                                \
  X(RvrbOnOff) X(RvrbDelayTap) X(RvrbDelayTime) X(RvrbFeedback) X(RvrbLpf) X(RvrbHpf)            \
  X(RvrbPanning) X(RvrbCompGain) X(RvrbWetRatio)

struct PlayParams {
  std::uint32_t Version = 0;  // counts publications; 0 = the defaults, never published
#define VK_PLAY_PARAM_FIELD(name) std::int32_t name = 0;
  VK_PLAY_PARAMS(VK_PLAY_PARAM_FIELD)
#undef VK_PLAY_PARAM_FIELD
};

// The settings as the play thread may use them. The effects' values are made
// usable here (one outside its key's range counts as the key's default, so no
// table index or line length can leave its bounds); speed, volume, balance,
// channels and the engine options are copied as they are, their users clamp.
PlayParams PlayParamsFrom(const Settings& s);

// Every field at its key's default.
PlayParams DefaultPlayParams();

// A snapshot's values are usable already: the chain's reads go through this so
// they read the same with either record.
inline std::int32_t UsableSetting(const PlayParams& s, std::int32_t PlayParams::*field) {
  return s.*field;
}

// A triple buffer: the publisher writes a free slot and swaps it in; the taker
// swaps the newest slot out when one is waiting. Both swaps are single atomic
// exchanges, so neither side can be held up by the other.
class PlayParamsBox {
 public:
  PlayParamsBox();

  // Publisher: makes `p` the newest snapshot (its Version is set here).
  void Publish(const PlayParams& p);

  // Taker: the newest snapshot published; the reference stays valid and
  // unchanged until the taker's next call.
  const PlayParams& Latest();

 private:
  static constexpr unsigned kFresh = 4;  // the middle slot holds a snapshot not yet taken
  PlayParams slots_[3];
  std::atomic<unsigned> middle_{1};  // slot index | kFresh
  unsigned back_ = 0;                // publisher's slot
  unsigned front_ = 2;               // taker's slot
  std::uint32_t version_ = 0;        // publisher's count
};

}  // namespace vk
