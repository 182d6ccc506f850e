// Exporting an A-B range for several passes through the real play thread: each
// pass lasts (B − A) ÷ its speed within one block, the time stretch keeps the
// pitch, the pause between passes is silence of its length, and a cancelled or
// failed export leaves nothing under the output's name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "audio/FfmpegReader.h"
#include "common/Settings.h"
#include "engine/EngineTestSupport.h"
#include "engine/ExportSession.h"
#include "engine/PlayEngine.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

constexpr std::uint32_t kRate = 44100;

vktest::Samples Sine(std::int32_t frames, double hz) {
  vktest::Samples s;
  for (std::int32_t i = 0; i < frames; ++i) {
    const auto v = static_cast<std::int16_t>(std::lround(12000 * std::sin(2 * M_PI * hz * i / kRate)));
    s.push_back(v);
    s.push_back(v);
  }
  return s;
}

struct Sound {
  std::int32_t start;   // frame of the output
  std::int32_t length;  // frames
};

// The stretches of sound between silences longer than `min_gap` frames.
std::vector<Sound> SoundRuns(const vktest::Samples& s, std::int32_t min_gap) {
  std::vector<Sound> runs;
  const auto n = static_cast<std::int32_t>(s.size() / 2);
  std::int32_t start = -1;
  std::int32_t last = -1;
  for (std::int32_t i = 0; i < n; ++i) {
    if (s[2 * i] == 0) continue;
    if (start >= 0 && i - last > min_gap) {
      runs.push_back({start, last + 1 - start});
      start = -1;
    }
    if (start < 0) start = i;
    last = i;
  }
  if (start >= 0) runs.push_back({start, last + 1 - start});
  return runs;
}

// Rising zero crossings per second of the left channel over a run.
double Frequency(const vktest::Samples& s, const Sound& r) {
  int crossings = 0;
  for (std::int32_t i = r.start + 1; i < r.start + r.length; ++i) {
    if (s[2 * (i - 1)] < 0 && s[2 * i] >= 0) ++crossings;
  }
  return crossings * double(kRate) / r.length;
}

class PracticeExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vktest::UnitySettings();
    gSettings.NowLenWaveBufItem = 0;  // blocks of 100 ms: 4410 frames
    vktest::WriteWav(dir_.File("in.wav"), kRate, Sine(10 * kRate, 441.0));
  }

  ExportJob Job(std::int32_t a, std::int32_t b, std::int32_t passes) {
    ExportJob job;
    job.source = dir_.File("in.wav");
    job.output = dir_.File("out.wav");
    job.params = PlayParamsFrom(gSettings);
    job.a = a;
    job.b = b;
    job.passes = passes;
    return job;
  }

  // Names in the folder other than the input.
  std::vector<std::string> Others() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      const std::string name = entry.path().filename().string();
      if (name != "in.wav") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  vktest::TempDir dir_;
  std::atomic<bool> cancel_{false};
};

TEST_F(PracticeExportTest, TrainedPassesLastTheRangeOverTheirSpeedAtOnePitch) {
  gSettings.TrainOnOff = 1;
  gSettings.TrainStart = 60;
  gSettings.TrainStep = 20;
  gSettings.TrainEvery = 1;
  gSettings.TrainEnd = 100;
  gSettings.TrainGap = 300;
  gSettings.TmstOnOff = 1;
  const std::int32_t a = kRate, b = 3 * kRate;  // two seconds
  std::vector<std::int32_t> passes_seen;
  const ExportOutcome out = RunExport(Job(a, b, 4), cancel_, [&](const ExportProgress& p) {
    if (passes_seen.empty() || passes_seen.back() != p.pass) passes_seen.push_back(p.pass);
  });
  ASSERT_EQ(out.how, ExportEnd::kDone);
  EXPECT_EQ(passes_seen, (std::vector<std::int32_t>{1, 2, 3, 4}));

  const vktest::Samples s = vktest::ReadWavData(dir_.File("out.wav"));
  const std::vector<Sound> runs = SoundRuns(s, 2000);
  ASSERT_EQ(runs.size(), 4u);
  const std::int32_t block = kRate / 10;
  const int speeds[] = {60, 80, 100, 100};
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const std::int32_t want = (b - a) * 100 / speeds[i];
    EXPECT_GE(runs[i].length, want - 2) << "pass " << i + 1;
    EXPECT_LT(runs[i].length, want + block) << "pass " << i + 1;
    EXPECT_NEAR(Frequency(s, runs[i]), 441.0, 5.0) << "pass " << i + 1;
    if (i > 0) {
      // The pause: 300 ms of silence, plus what the sine's own zero samples add.
      const std::int32_t gap = runs[i].start - (runs[i - 1].start + runs[i - 1].length);
      EXPECT_NEAR(gap, kRate * 3 / 10, 3) << "before pass " << i + 1;
    }
  }
  EXPECT_EQ(Others(), (std::vector<std::string>{"out.wav"}));
}

TEST_F(PracticeExportTest, UntrainedPassesKeepTheControlSpeedAndResample) {
  gSettings.TrainOnOff = 0;
  gSettings.TmstOnOff = 0;
  gSettings.Speed = 5;  // 50 %: resampled, an octave down
  gSettings.TrainGap = 0;
  const std::int32_t a = 2 * kRate, b = 3 * kRate;
  ASSERT_EQ(RunExport(Job(a, b, 3), cancel_, nullptr).how, ExportEnd::kDone);
  const vktest::Samples s = vktest::ReadWavData(dir_.File("out.wav"));
  const auto frames = static_cast<std::int32_t>(s.size() / 2);
  EXPECT_GE(frames, 3 * 2 * (b - a) - 6);
  EXPECT_LT(frames, 3 * (2 * (b - a) + kRate / 10));
  EXPECT_NEAR(Frequency(s, Sound{0, frames}), 220.5, 3.0);
}

TEST_F(PracticeExportTest, CancelLeavesNoFileAndKeepsAnOlderOutput) {
  vktest::WriteFile(dir_.File("out.wav"), std::string_view("older"));
  int calls = 0;
  const ExportOutcome out = RunExport(Job(0, 0, 1), cancel_, [&](const ExportProgress&) {
    if (++calls == 3) cancel_.store(true);
  });
  EXPECT_EQ(out.how, ExportEnd::kCancelled);
  const vktest::Bytes older = vktest::ReadFile(dir_.File("out.wav"));
  EXPECT_EQ(std::string(older.begin(), older.end()), "older");
  EXPECT_EQ(Others(), (std::vector<std::string>{"out.wav"}));
}

TEST_F(PracticeExportTest, FailuresLeaveNothingBehind) {
  ExportJob missing = Job(0, 0, 1);
  missing.source = dir_.File("missing.wav");
  EXPECT_EQ(RunExport(missing, cancel_, nullptr).how, ExportEnd::kOpenFailed);
  ExportJob onto_itself = Job(0, 0, 1);
  onto_itself.output = onto_itself.source;
  EXPECT_EQ(RunExport(onto_itself, cancel_, nullptr).how, ExportEnd::kSameFile);
  ExportJob no_folder = Job(0, 0, 1);
  no_folder.output = dir_.File("no/such/folder/out.wav");
  EXPECT_EQ(RunExport(no_folder, cancel_, nullptr).how, ExportEnd::kOpenFailed);
  EXPECT_TRUE(Others().empty());
}

// A name ending in .flac gets the same sound packed losslessly: decoded again
// it is the WAV export sample for sample.
TEST_F(PracticeExportTest, FlacOutputHoldsTheSameSamplesAsTheWav) {
  gSettings.RvrbOnOff = 1;
  gSettings.Speed = 10;
  ASSERT_EQ(RunExport(Job(kRate, 2 * kRate, 2), cancel_, nullptr).how, ExportEnd::kDone);
  ExportJob flac = Job(kRate, 2 * kRate, 2);
  flac.output = dir_.File("out.FLAC");
  ASSERT_EQ(RunExport(flac, cancel_, nullptr).how, ExportEnd::kDone);

  const vktest::Samples wav = vktest::ReadWavData(dir_.File("out.wav"));
  FFSet ff;
  ASSERT_EQ(FfOpen(flac.output.c_str(), ff, FfOpenMode::kFull), 0);
  vktest::Samples decoded;
  std::vector<std::uint8_t> buf(4096 * 4);
  int end = 0;
  while (end == 0) {
    ASSERT_EQ(FfRead(ff, 4096, buf.data(), &end), 0);
    if (ff.ReadSmpl <= 0) break;
    const auto* p = reinterpret_cast<const std::int16_t*>(buf.data());
    decoded.insert(decoded.end(), p, p + 2 * ff.ReadSmpl);
  }
  FfClose(ff);
  EXPECT_EQ(decoded.size(), wav.size());
  EXPECT_TRUE(decoded == wav);
  EXPECT_EQ(Others(), (std::vector<std::string>{"out.FLAC", "out.wav"}));
}

TEST(ExportFractionTest, CountsPassesAndTheWholeFile) {
  EXPECT_DOUBLE_EQ(ExportFraction(100, 200, 4, 1, 100, 1000), 0.0);
  EXPECT_DOUBLE_EQ(ExportFraction(100, 200, 4, 2, 150, 1000), 0.375);
  EXPECT_DOUBLE_EQ(ExportFraction(100, 200, 4, 4, 200, 1000), 1.0);
  EXPECT_DOUBLE_EQ(ExportFraction(100, 200, 4, 9, 250, 1000), 1.0);  // never past the end
  EXPECT_DOUBLE_EQ(ExportFraction(0, 0, 1, 0, 250, 1000), 0.25);
  EXPECT_DOUBLE_EQ(ExportFraction(0, 0, 1, 0, 250, 0), 0.0);
}

}  // namespace
}  // namespace vk
