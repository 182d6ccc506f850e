#include "engine/ExportSession.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>

#include "audio/FlacWrite.h"
#include "common/Path.h"
#include "common/Text.h"
#include "engine/PlayEngine.h"
#include "engine/PlaySession.h"
#include "engine/Player.h"

namespace vk {
namespace {

// A fresh file beside `path` for the sound while it is being made, with the
// permissions a new output would get; empty when none can be made there.
std::string MakeTemporaryBeside(const std::string& path) {
  std::random_device seed;
  std::mt19937 pick(seed());
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = path + ".tmp-";
    for (int i = 0; i < 6; ++i) name += kLetters[pick() % (sizeof kLetters - 1)];
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return name;
    }
    if (errno != EEXIST) break;
  }
  return {};
}

class ExportView final : public SessionView {
 public:
  ExportView(const ExportJob& job, const Player& player, const std::atomic<bool>& cancel,
             const std::function<void(const ExportProgress&)>& progress)
      : job_(job), player_(player), cancel_(cancel), progress_(progress) {}

  void OnStarted(std::int32_t, std::int32_t) override {}
  void OnPosition(std::int32_t position, std::int32_t total) override {
    if (!progress_) return;
    ExportProgress p;
    p.pass = player_.Engine.LoopPass.load(std::memory_order_relaxed);
    p.position = position;
    p.total = total;
    p.fraction = ExportFraction(job_.a, job_.b, job_.passes, p.pass, position, total);
    progress_(p);
  }
  bool OnIdle() override { return !cancel_.load(std::memory_order_relaxed); }

 private:
  const ExportJob& job_;
  const Player& player_;
  const std::atomic<bool>& cancel_;
  const std::function<void(const ExportProgress&)>& progress_;
};

bool WantsFlac(const std::string& output) {
  return AsciiEqualsNoCase(PathExtension(output), ".flac");
}

// The rendered WAV packed into FLAC under the output's name, through a
// temporary of its own.
ExportOutcome PackFlac(const std::string& wav, const std::string& output,
                       const std::atomic<bool>& cancel) {
  const std::string temp = MakeTemporaryBeside(output);
  if (temp.empty()) return ExportOutcome{ExportEnd::kWriteFailed, 0};
  const int r = WriteFlacFromWav(wav.c_str(), temp.c_str(), &cancel);
  ExportOutcome outcome;
  if (r == kFlacCancelled) {
    outcome = ExportOutcome{ExportEnd::kCancelled, 0};
  } else if (r != kFlacOk) {
    outcome = ExportOutcome{ExportEnd::kWriteFailed, 0};
  } else if (std::rename(temp.c_str(), output.c_str()) != 0) {
    outcome = ExportOutcome{ExportEnd::kRenameFailed, 0};
  } else {
    return outcome;
  }
  std::remove(temp.c_str());
  return outcome;
}

}  // namespace

double ExportFraction(std::int32_t a, std::int32_t b, std::int32_t passes, std::int32_t pass,
                      std::int32_t position, std::int32_t total) {
  double f = 0.0;
  if (a < b) {
    const double span = static_cast<double>(b) - a;
    const double in_pass = std::clamp((static_cast<double>(position) - a) / span, 0.0, 1.0);
    f = (std::max(pass, 1) - 1 + in_pass) / std::max(passes, 1);
  } else if (total > 0) {
    f = static_cast<double>(position) / total;
  }
  return std::clamp(f, 0.0, 1.0);
}

ExportOutcome RunExport(const ExportJob& job, const std::atomic<bool>& cancel,
                        const std::function<void(const ExportProgress&)>& progress) {
  if (SameFile(job.source, job.output)) return ExportOutcome{ExportEnd::kSameFile, 0};
  const std::string temp = MakeTemporaryBeside(job.output);
  if (temp.empty()) return ExportOutcome{ExportEnd::kOpenFailed, kEngineNoDevice};

  const auto player = std::make_unique<Player>();
  ExportOutcome outcome;
  if (!ParseWaveOutChoice("wav:" + temp, &player->Output)) {
    outcome = ExportOutcome{ExportEnd::kOpenFailed, kEngineNoDevice};
  } else {
    PlayStart at;
    if (job.a < job.b) {
      at = PlayStart{job.a, job.a, job.b, std::max(job.passes, 1)};
    }
    ExportView view(job, *player, cancel, progress);
    const SessionResult r =
        RunPlaySession(*player, job.source, view, job.params, job.priority, at);
    if (r.how == SessionEnd::kFailed) {
      outcome = ExportOutcome{ExportEnd::kOpenFailed, r.code};
    } else if (r.how == SessionEnd::kStopped) {
      outcome = ExportOutcome{ExportEnd::kCancelled, 0};
    } else if (player->OutStatus.WavOutputFailed) {
      outcome = ExportOutcome{ExportEnd::kWriteFailed, 0};
    } else if (WantsFlac(job.output)) {
      outcome = PackFlac(temp, job.output, cancel);
    } else if (std::rename(temp.c_str(), job.output.c_str()) != 0) {
      outcome = ExportOutcome{ExportEnd::kRenameFailed, 0};
    } else {
      return outcome;
    }
  }
  std::remove(temp.c_str());
  return outcome;
}

}  // namespace vk
