#include "shell/SliderTexts.h"

namespace vk {
namespace {

constexpr int kBalanceCentre = 10;
constexpr int kVolumeUnity = 15;  // 0 dB
constexpr int kDbPerStep = 2;

std::string Signed(int v) { return (v > 0 ? "+" : "") + std::to_string(v); }

std::string CutPrefix(std::string_view text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) == prefix) text.remove_prefix(prefix.size());
  return std::string(text);
}

}  // namespace

std::string SpeedText(int position) { return "SPEED: " + std::to_string(position * 5 + 25) + " %"; }

std::string PitchText(int position) { return "PITCH: " + Signed(position - 12); }

std::string BalanceText(int position) {
  const int off = position - kBalanceCentre;
  if (off == 0) return "BALANCE: 0 dB";
  // Balance to one side turns the other channel down.
  const char* quieter = off < 0 ? "R" : "L";
  return std::string("BALANCE: ") + quieter + " -" + std::to_string(kDbPerStep * (off < 0 ? -off : off)) +
         " dB";
}

std::string VolumeText(int position) {
  return "VOLUME: " + Signed(kDbPerStep * (position - kVolumeUnity)) + " dB";
}

std::string ThresholdText(int value_db) { return std::to_string(value_db) + " dB"; }

std::string UnitOf(std::string_view bracketed) {
  std::string inner(bracketed);
  for (std::string_view open : {"[", "［"}) inner = CutPrefix(inner, open);
  for (std::string_view close : {"]", "］"}) {
    if (inner.size() >= close.size() && inner.compare(inner.size() - close.size(), close.size(), close) == 0) {
      inner.erase(inner.size() - close.size());
    }
  }
  if (inner == "％") return "%";
  return inner;
}

std::string ParamText(const ParamDef& p, int value) {
  const std::string unit = UnitOf(p.unit);
  return std::string(p.label) + ": " + std::to_string(value) + (unit.empty() ? "" : " " + unit);
}

}  // namespace vk
