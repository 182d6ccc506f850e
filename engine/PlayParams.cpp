#include "engine/PlayParams.h"

#include <string_view>

#include "engine/Effects.h"

namespace vk {
namespace {

struct FieldPair {
  SettingInt Settings::*from;
  std::int32_t PlayParams::*to;
  bool usable;  // made usable at the copy (the effects' values)
};

// Users of these clamp or map the raw value themselves.
constexpr bool CopiedAsIs(std::string_view name) {
  return name == "Speed" || name == "Volume" || name == "Balance" || name == "ChannelSelect" ||
         name == "NowLenWaveBufItem" || name == "NowNumWaveBufItem" ||
         name == "NowPlayThreadSleepItem";
}

constexpr FieldPair kFields[] = {
#define VK_PLAY_PARAM_PAIR(name) {&Settings::name, &PlayParams::name, !CopiedAsIs(#name)},
    VK_PLAY_PARAMS(VK_PLAY_PARAM_PAIR)
#undef VK_PLAY_PARAM_PAIR
};

}  // namespace

PlayParams PlayParamsFrom(const Settings& s) {
  PlayParams p;
  for (const FieldPair& f : kFields) p.*f.to = f.usable ? UsableSetting(s, f.from) : s.*f.from;
  return p;
}

PlayParams DefaultPlayParams() {
  PlayParams p;
  for (const FieldPair& f : kFields) {
    const KeyDef* key = FindSettingKey(f.from);
    p.*f.to = key != nullptr ? key->def : 0;
  }
  return p;
}

PlayParamsBox::PlayParamsBox() {
  const PlayParams defaults = DefaultPlayParams();
  for (PlayParams& slot : slots_) slot = defaults;
}

void PlayParamsBox::Publish(const PlayParams& p) {
  slots_[back_] = p;
  slots_[back_].Version = ++version_;
  // Release: the slot's contents travel with the index.
  back_ = middle_.exchange(back_ | kFresh, std::memory_order_acq_rel) & ~kFresh;
}

const PlayParams& PlayParamsBox::Latest() {
  if (middle_.load(std::memory_order_relaxed) & kFresh) {
    front_ = middle_.exchange(front_, std::memory_order_acq_rel) & ~kFresh;
  }
  return slots_[front_];
}

}  // namespace vk
