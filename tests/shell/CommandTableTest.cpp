// The reset items of the effect menu are gray exactly while the reset would
// change nothing: what the engine stores for an effect is what the window
// compares, key by key.
#include "shell/CommandTable.h"

#include <gtest/gtest.h>

#include <string_view>

#include "engine/EffectParams.h"
#include "shell/CommandIds.h"

namespace vk {
namespace {

constexpr std::string_view kPrefixes[6] = {"Tmst", "Psft", "Tone", "Chrs", "Dlay", "Rvrb"};

TEST(ResetGraying, EachEffectsItemIsGrayOnlyWhileItsResetWouldChangeNothing) {
  Settings s;
  ResetSettings(s);
  const EnableState state;
  for (int page = 0; page < 6; ++page) {
    const int id = cmd::kRecommendTmst + page;
    const auto effect = static_cast<EffectKind>(page);
    StoreRecommended(s, effect);
    ASSERT_FALSE(CommandEnabled(id, s, state)) << id;
    // Any one parameter away from its recommended value: the reset has work.
    for (const SectionDef& section : SettingSections()) {
      for (const KeyDef& key : section.keys) {
        const std::string_view name = key.name;
        if (key.int_field == nullptr || !name.starts_with(kPrefixes[page])) continue;
        const std::int32_t saved = s.*key.int_field;
        s.*key.int_field = key.def == key.max ? key.min : key.max;
        const bool is_switch = name.ends_with("OnOff");
        EXPECT_EQ(CommandEnabled(id, s, state), !is_switch) << name;  // the switch is not reset
        EXPECT_EQ(CommandEnabled(cmd::kRecommendAll, s, state), !is_switch) << name;
        s.*key.int_field = saved;
      }
    }
  }
  // The time stretch's reset also brings the speed back.
  s.Speed = 16;
  EXPECT_TRUE(CommandEnabled(cmd::kRecommendTmst, s, state));
  EXPECT_FALSE(CommandEnabled(cmd::kRecommendTmst + 1, s, state));
  s.Speed = 15;

  // The vocal-cancel item is gray once its tone values are set and the tone
  // control is on; with the control off it can still switch it on.
  EXPECT_TRUE(CommandEnabled(cmd::kVocalCancel, s, state));
  StoreVocalCancelTone(s);
  s.ToneOnOff = 0;
  EXPECT_TRUE(CommandEnabled(cmd::kVocalCancel, s, state));
  s.ToneOnOff = 1;
  EXPECT_FALSE(CommandEnabled(cmd::kVocalCancel, s, state));
  EXPECT_TRUE(CommandEnabled(cmd::kRecommendTmst + 2, s, state));
}

}  // namespace
}  // namespace vk

namespace vk {
namespace {

// The note-mode item carries its check from KeyMode, which MAIN.INI keeps in
// [Display] (read and written, 0 by default).
TEST(KeyModeItem, IsCheckedFromTheSavedSetting) {
  Settings s;
  ResetSettings(s);
  EXPECT_EQ(static_cast<std::int32_t>(s.KeyMode), 0);
  EXPECT_FALSE(CommandChecked(cmd::kKeyMode, s));
  s.KeyMode = 1;
  EXPECT_TRUE(CommandChecked(cmd::kKeyMode, s));
  ASSERT_NE(FindCommandLabel(cmd::kKeyMode), nullptr);
  bool saved = false;
  for (const SectionDef& section : SettingSections()) {
    for (const KeyDef& key : section.keys) {
      if (std::string_view(key.name) == "KeyMode") {
        saved = section.name != nullptr && std::string_view(section.name) == "Display" &&
                key.int_field == &Settings::KeyMode;
      }
    }
  }
  EXPECT_TRUE(saved);
}

}  // namespace
}  // namespace vk
