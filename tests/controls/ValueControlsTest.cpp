// Stories of the value controls: what a user types or drags ends in the
// settings, and the controls that show the same value follow.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>

#include "ControlHost.h"
#include "engine/EffectParams.h"
#include "shell/CommandIds.h"
#include "ui/BitmapButton.h"
#include "ui/NumberBox.h"
#include "ui/Trackbar.h"

namespace vk::test {
namespace {

class ValueControlsStory : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetForTest();
    host = std::make_unique<ControlHost>();
  }
  ParamWidgets& Param(int page, int index) { return host->W().pages[page][index]; }
  void Type(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClicks(box, text);
  }
  // Typed and completed with Enter.
  void Enter(QLineEdit* box, const QString& text) {
    Type(box, text);
    QTest::keyClick(box, Qt::Key_Return);
  }
  std::unique_ptr<ControlHost> host;
};

TEST_F(ValueControlsStory, TypingIntoTheSpeedBoxRoundsToStepsOfFiveAndLimitsTo200) {
  ParamWidgets& speed = Param(0, 1);
  ASSERT_TRUE(speed.def->speed_percent);
  EXPECT_EQ(speed.box->text(), "100");
  Enter(speed.box, "27");
  EXPECT_EQ(gSettings.Speed, 0);  // 25 %
  EXPECT_EQ(host->W().speed->value(), 0);
  EXPECT_EQ(speed.trackbar->Position(), 35);  // the vertical one runs upside down
  Enter(speed.box, "28");
  EXPECT_EQ(gSettings.Speed, 1);  // 30 %
  const int updates = host->totals_updates;
  Enter(speed.box, "300");
  EXPECT_EQ(gSettings.Speed, 35);  // 200 %
  EXPECT_GT(host->totals_updates, updates);
  // Leaving the box shows the speed it stands for.
  emit speed.box->editingFinished();
  EXPECT_EQ(speed.box->text(), "200");
  // Dragging the horizontal trackbar writes the box and moves the vertical one.
  host->W().speed->setValue(15);
  EXPECT_EQ(gSettings.Speed, 15);
  EXPECT_EQ(speed.box->text(), "100");
  EXPECT_EQ(speed.trackbar->Position(), 20);
}

// A number acts once it is complete: typing 150 in the speed box never plays at
// 25 % on the way, typing 20 in a 5 … 50 box never restarts the output at 5.
TEST_F(ValueControlsStory, TypedNumbersActOnlyWhenComplete) {
  ParamWidgets& speed = Param(0, 1);
  ASSERT_TRUE(speed.def->speed_percent);
  const int updates = host->totals_updates;
  speed.box->selectAll();
  for (const char* key : {"1", "5"}) {
    QTest::keyClicks(speed.box, QString::fromLatin1(key));
    EXPECT_EQ(gSettings.Speed, 15) << "after " << key;  // still 100 %
    EXPECT_TRUE(speed.box->TypingPending());
  }
  QTest::keyClicks(speed.box, QStringLiteral("0"));
  EXPECT_EQ(gSettings.Speed, 15);
  QTest::keyClick(speed.box, Qt::Key_Return);
  EXPECT_EQ(gSettings.Speed, SpeedFromPercent(150));
  EXPECT_EQ(host->totals_updates, updates + 1);  // one speed change, not three
  EXPECT_EQ(host->W().speed->value(), SpeedFromPercent(150));

  // A pause in the typing completes the number too.
  ParamWidgets& window = Param(0, 0);
  ASSERT_EQ(window.def->key, &Settings::TmstWndSiz);
  window.box->selectAll();
  QTest::keyClicks(window.box, QStringLiteral("2"));
  EXPECT_EQ(gSettings.TmstWndSiz, 30);  // not clamped to 5 on the way
  QTest::keyClicks(window.box, QStringLiteral("0"));
  EXPECT_EQ(gSettings.TmstWndSiz, 30);
  QTest::qWait(NumberBox::kTypingPauseMs + 200);
  EXPECT_FALSE(window.box->TypingPending());
  EXPECT_EQ(gSettings.TmstWndSiz, 20);
  EXPECT_EQ(window.box->text(), "20");

  // The arrows and the trackbar act at once.
  window.arrows->Step(1);
  EXPECT_EQ(gSettings.TmstWndSiz, 21);
  window.trackbar->SetPosition(window.trackbar->Position() + 1);
  EXPECT_NE(gSettings.TmstWndSiz, 21);
}

TEST_F(ValueControlsStory, SimplePitchTrackbarSwitchesThePitchShiftOnAndOff) {
  gSettings.PsftPitch2 = 5;
  gSettings.Psft2Ratio = 40;
  host->Controls().ShowSettings();
  ASSERT_EQ(gSettings.PsftOnOff, 0);
  host->W().pitch->setValue(15);  // +3 half-tones
  EXPECT_EQ(gSettings.PsftPitch1, 3);
  EXPECT_EQ(gSettings.PsftOnOff, 1);
  EXPECT_EQ(gSettings.PsftPitch2, 0);
  EXPECT_EQ(gSettings.Psft2Ratio, 0);
  EXPECT_EQ(Param(1, 1).box->text(), "3");
  EXPECT_EQ(Param(1, 3).box->text(), "0");
  EXPECT_EQ(Param(1, 4).box->text(), "0");
  EXPECT_EQ(host->W().Button(cmd::kBtnEffect0 + 1)->ShownBitmap(), "Vk_BMP_116X20_ON_UP_PSFT");
  host->W().pitch->setValue(12);  // back to the centre
  EXPECT_EQ(gSettings.PsftPitch1, 0);
  EXPECT_EQ(gSettings.PsftOnOff, 0);
  EXPECT_EQ(host->W().Button(cmd::kBtnEffect0 + 1)->ShownBitmap(), "Vk_BMP_116X20_OFF_UP_PSFT");
  // Typing a pitch into the page's box moves the simple trackbar, switch untouched.
  Enter(Param(1, 1).box, "-7");
  EXPECT_EQ(host->W().pitch->value(), 5);
  EXPECT_EQ(gSettings.PsftOnOff, 0);
}

TEST_F(ValueControlsStory, ThresholdBoxesDragEachOtherAlong) {
  gSettings.AutoThres = 0;
  host->Controls().ShowSettings();
  host->show();
  host->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
  ThresholdWidgets& dw = host->W().thres_dw;
  ThresholdWidgets& up = host->W().thres_up;
  // Typed key by key: "-2" on the way to "-20" must not leave the upper one at −2.
  dw.box->setFocus();
  Type(dw.box, "-20");  // above the upper one (−40)
  EXPECT_EQ(gSettings.ThresDw, -20);
  EXPECT_EQ(gSettings.ThresUp, -20);
  EXPECT_EQ(up.box->text(), "-20");
  EXPECT_EQ(up.trackbar->Position(), 20);
  up.box->setFocus();
  Type(up.box, "-70");  // below the lower one
  EXPECT_EQ(gSettings.ThresUp, -70);
  EXPECT_EQ(gSettings.ThresDw, -70);
  EXPECT_EQ(dw.box->text(), "-70");
  EXPECT_EQ(dw.trackbar->Position(), 70);
  // A lone minus sign while typing changes nothing yet; out of range clamps.
  dw.box->setFocus();
  Type(dw.box, "-");
  EXPECT_EQ(gSettings.ThresDw, -70);
  QTest::keyClicks(dw.box, "150");
  EXPECT_EQ(gSettings.ThresDw, -100);
  // The arrows step the box's number; the trackbar shows −value.
  dw.arrows->Step(1);
  EXPECT_EQ(dw.box->text(), "-99");
  EXPECT_EQ(gSettings.ThresDw, -99);
  up.trackbar->SetPosition(10);
  EXPECT_EQ(up.box->text(), "-10");
  EXPECT_EQ(gSettings.ThresUp, -10);
}

TEST_F(ValueControlsStory, AutoAdjustDisablesTheThresholdControls) {
  host->show();
  ControlWidgets& w = host->W();
  ASSERT_EQ(gSettings.AutoThres, 1);
  auto all_enabled = [&w](bool enabled) {
    for (ThresholdWidgets* t : {&w.thres_dw, &w.thres_up}) {
      if (t->box->isEnabled() != enabled || t->arrows->isEnabled() != enabled ||
          t->trackbar->isEnabled() != enabled) {
        return false;
      }
    }
    return true;
  };
  EXPECT_TRUE(all_enabled(false));
  w.auto_adjust->click();
  EXPECT_EQ(gSettings.AutoThres, 0);
  EXPECT_TRUE(all_enabled(true));
  EXPECT_GT(host->menu_refreshes, 0);
  w.auto_adjust->click();
  EXPECT_EQ(gSettings.AutoThres, 1);
  EXPECT_TRUE(all_enabled(false));
}

TEST_F(ValueControlsStory, StretchPageChecksToggleTheEngineKeysAndFollowTheMenu) {
  host->show();
  ControlWidgets& w = host->W();
  ASSERT_EQ(gSettings.TmstQuality, 1);
  ASSERT_EQ(gSettings.PsftQuality, 1);
  ASSERT_EQ(gSettings.PsftFormant, 0);
  EXPECT_TRUE(w.tmst_quality->isChecked());
  EXPECT_TRUE(w.psft_quality->isChecked());
  EXPECT_FALSE(w.psft_formant->isChecked());
  const int refreshes = host->menu_refreshes;
  // Each box its own key: the splice engine comes back one click away.
  w.tmst_quality->click();
  EXPECT_EQ(gSettings.TmstQuality, 0);
  EXPECT_EQ(gSettings.PsftQuality, 1);
  EXPECT_GT(host->menu_refreshes, refreshes);
  w.psft_formant->click();
  EXPECT_EQ(gSettings.PsftFormant, 1);
  EXPECT_TRUE(w.psft_formant->isChecked());
  // A toggle from the menu shows in the box.
  host->Command(cmd::kPsftQuality);
  EXPECT_EQ(gSettings.PsftQuality, 0);
  EXPECT_FALSE(w.psft_quality->isChecked());
  EXPECT_FALSE(w.tmst_quality->isChecked());
}

TEST_F(ValueControlsStory, EffectPageBoxesClampAndTheirTrackbarsRunUpsideDown) {
  ParamWidgets& wet = Param(4, 6);  // delay WET RATIO 0…100
  ASSERT_EQ(wet.def->key, &Settings::DlayWetRatio);
  Enter(wet.box, "250");
  EXPECT_EQ(gSettings.DlayWetRatio, 100);
  EXPECT_EQ(wet.trackbar->Position(), 0);  // the maximum sits at the top
  wet.trackbar->SetPosition(70);
  EXPECT_EQ(gSettings.DlayWetRatio, 30);
  EXPECT_EQ(wet.box->text(), "30");
  // Left and Right act as Down and Up on a vertical trackbar.
  wet.trackbar->setFocus();
  QTest::keyClick(wet.trackbar, Qt::Key_Right);
  EXPECT_EQ(gSettings.DlayWetRatio, 31);
  QTest::keyClick(wet.trackbar, Qt::Key_Left);
  EXPECT_EQ(gSettings.DlayWetRatio, 30);
  // The compressor gain's trackbar holds −value.
  ParamWidgets& gain = Param(4, 5);
  Enter(gain.box, "-25");
  EXPECT_EQ(gSettings.DlayCompGain, -25);
  EXPECT_EQ(gain.trackbar->Position(), 25);
  // Up and Down act as Right and Left on a horizontal trackbar.
  const std::int32_t volume = gSettings.Volume;
  QTest::keyClick(host->W().volume, Qt::Key_Up);
  EXPECT_EQ(gSettings.Volume, volume + 1);
  QTest::keyClick(host->W().volume, Qt::Key_Down);
  EXPECT_EQ(gSettings.Volume, volume);
}

TEST_F(ValueControlsStory, ButtonsShowTheirStateAndReportTheirCommand) {
  ControlWidgets& w = host->W();
  BitmapButton* lr = w.Button(cmd::kBtnChannel0);
  BitmapButton* left = w.Button(cmd::kBtnChannel0 + 2);
  // The current channel selection stays pressed; the others are up.
  EXPECT_EQ(lr->ShownBitmap(), "Vk_BMP_24X24_DW_STEREO");
  EXPECT_EQ(left->ShownBitmap(), "Vk_BMP_24X24_UP_LFT");
  gSettings.ChannelSelect = 2;
  gSettings.MiniMode = 1;
  gSettings.BmpWndPos = 1;
  host->Controls().RefreshFaces();
  EXPECT_EQ(left->ShownBitmap(), "Vk_BMP_24X24_DW_LFT");
  EXPECT_EQ(lr->ShownBitmap(), "Vk_BMP_24X24_UP_STEREO");
  EXPECT_EQ(w.Button(cmd::kBtnMiniMode)->ShownBitmap(), "Vk_BMP_48X20_MINIMODE_UP_DWLF");
  // The A-B buttons are gray while nothing plays, in both states.
  EXPECT_EQ(w.Button(cmd::kBtnAAtNow)->ShownBitmap(), "Vk_BMP_24X24_AB_UP_DSBL_A");
  // Every face names a bitmap that exists.
  for (auto [id, button] : w.buttons) {
    const ButtonFace face = FaceOfButton(id, gSettings, ButtonState{true, false, 10, 20});
    for (const std::string& name : {face.up, face.down}) {
      EXPECT_FALSE(QPixmap(BitmapButton::ResourcePath(QString::fromStdString(name))).isNull())
          << name;
    }
  }
  // A click, and a double click, each report the button's number.
  host->show();
  gSettings.MiniMode = 0;
  host->Modes().ShowControls();
  EXPECT_FALSE(w.Button(cmd::kBtnVocalCancel)->isVisible());  // only in max mode
  BitmapButton* repeat = w.Button(cmd::kBtnRepeatOne);
  QTest::mouseClick(repeat, Qt::LeftButton);
  // A double click: press, release, then the platform's double-click press.
  QTest::mouseClick(repeat, Qt::LeftButton);
  const QPointF at(repeat->rect().center());
  QMouseEvent dbl(QEvent::MouseButtonDblClick, at, repeat->mapToGlobal(at), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(repeat, &dbl);
  QTest::mouseRelease(repeat, Qt::LeftButton);
  EXPECT_EQ(host->clicks, (std::vector<int>{cmd::kBtnRepeatOne, cmd::kBtnRepeatOne, cmd::kBtnRepeatOne}));
}

}  // namespace
}  // namespace vk::test
