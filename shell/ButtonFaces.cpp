#include "shell/ButtonFaces.h"
#include "shell/CommandIds.h"

#include "shell/ControlTable.h"

namespace vk {
namespace {

const char* const kEffectTags[kEffectPageCount] = {"TMST", "PSFT", "TONE", "CHRS", "DLAY", "RVRB"};
const char* const kChannelTags[5] = {"STEREO", "ADD", "LFT", "RGT", "SUB"};

ButtonFace Pair(const std::string& prefix, const std::string& suffix) {
  return {prefix + "UP" + suffix, prefix + "DW" + suffix};
}

std::int32_t EffectSwitch(const Settings& s, int page) {
  SettingInt Settings::*const kSwitches[kEffectPageCount] = {
      &Settings::TmstOnOff, &Settings::PsftOnOff, &Settings::ToneOnOff,
      &Settings::ChrsOnOff, &Settings::DlayOnOff, &Settings::RvrbOnOff};
  return s.*kSwitches[page];
}

}  // namespace

ButtonFace FaceOfButton(int id, const Settings& s, const ButtonState& st) {
  switch (id) {
    case cmd::kBtnTopMost:
      return Pair("Vk_BMP_48X20_TOPMOST_", s.TopMost == 0 ? "_TOON" : "_TOOFF");
    case cmd::kBtnMiniMode: {
      // The arrow points where the window goes: towards the picture to shrink,
      // away from it to grow back.
      const bool left = s.BmpWndPos == 0;
      const char* tag = s.MiniMode == 0 ? (left ? "_UPLF" : "_UPRG") : (left ? "_DWRG" : "_DWLF");
      return Pair("Vk_BMP_48X20_MINIMODE_", tag);
    }
    case cmd::kBtnSearchNext:
      return Pair("Vk_BMP_40X20_SEARCH_", "_DW");
    case cmd::kBtnSearchPrev:
      return Pair("Vk_BMP_40X20_SEARCH_", "_UP");
    case cmd::kBtnRepeatOne:
      return Pair("Vk_BMP_48X20_REPEATONE_", s.RepeatOne != 0 ? "_ON" : "_OFF");
    case cmd::kBtnRepeatAll:
      return Pair("Vk_BMP_48X20_REPEATALL_", s.RepeatAll != 0 ? "_ON" : "_OFF");
    case cmd::kBtnStop:
      return Pair("Vk_BMP_28X28_", "_STOP");
    case cmd::kBtnPlayPause:
      return Pair("Vk_BMP_32X28_", st.playing && !st.paused ? "_PAUSE" : "_START");
    case cmd::kBtnPrev:
      return Pair("Vk_BMP_28X28_", "_PREV");
    case cmd::kBtnNext:
      return Pair("Vk_BMP_28X28_", "_NEXT");
    case cmd::kBtnAAtNow:
    case cmd::kBtnBAtNow:
    case cmd::kBtnABOff: {
      const char* tag = id == cmd::kBtnAAtNow ? "_A" : id == cmd::kBtnBAtNow ? "_B" : "_OFF";
      const bool enabled = st.playing && (id != cmd::kBtnABOff || st.repeat_a < st.repeat_b);
      if (!enabled) {
        const std::string off = std::string("Vk_BMP_24X24_AB_UP_DSBL") + tag;
        return {off, off};
      }
      return {std::string("Vk_BMP_24X24_AB_UP_ENBL") + tag,
              std::string("Vk_BMP_24X24_AB_DW_ENBL") + tag};
    }
    case cmd::kBtnPageRecommend:
      return Pair("Vk_BMP_88X34_", "_PDEF");
    case cmd::kBtnVocalCancel:
      return Pair("Vk_BMP_88X34_", "_VCAN");
    case cmd::kBtnMaxMode:
      return Pair("Vk_BMP_88X20_", s.MaxMode == 0 ? "_DW" : "_UP");
    default:
      break;
  }
  if (id >= cmd::kBtnChannel0 && id < cmd::kBtnChannel0 + 5) {
    const int ch = id - cmd::kBtnChannel0;
    ButtonFace f = Pair("Vk_BMP_24X24_", std::string("_") + kChannelTags[ch]);
    if (s.ChannelSelect == ch) f.up = f.down;  // the current selection stays pressed
    return f;
  }
  if (id >= cmd::kBtnEffect0 && id < cmd::kBtnEffect0 + kEffectPageCount) {
    const int page = id - cmd::kBtnEffect0;
    const std::string sw = EffectSwitch(s, page) != 0 ? "ON" : "OFF";
    return {"Vk_BMP_116X20_" + sw + "_UP_" + kEffectTags[page],
            "Vk_BMP_116X20_" + sw + "_DW_" + kEffectTags[page]};
  }
  if (id >= cmd::kBtnPage0 && id < cmd::kBtnPage0 + kEffectPageCount) {
    const int page = id - cmd::kBtnPage0;
    const std::string on = std::string("Vk_BMP_116X20_TAB_ON_") + kEffectTags[page];
    const std::string off = std::string("Vk_BMP_116X20_TAB_OFF_") + kEffectTags[page];
    return {s.EfctPage == page ? on : off, on};
  }
  return {};
}

}  // namespace vk
