// velkaris-cli export: the same play thread and effect chain, into a WAV file
// instead of the sound device, to the end of the file. The A-B repeat never
// applies: nothing sets its points here.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/Commands.h"
#include "cli/PlayOptions.h"
#include "cli/PlaySession.h"
#include "cli/Refusal.h"
#include "cli/Terminal.h"
#include "engine/WaveOut.h"

namespace vk::cli {
namespace {

class QuietView final : public SessionView {
 public:
  void OnStarted(std::int32_t, std::int32_t) override {}
  void OnPosition(std::int32_t, std::int32_t) override {}
  bool OnIdle() override { return !QuitRequested(); }
};

}  // namespace

int RunExport(int argc, char** argv) {
  PlayOptions options;
  std::string error;
  if (!ParsePlayOptions(argc, argv, OptionSet::kExport, &options, &error) ||
      !ApplySettingOptions(options, &error)) {
    std::fprintf(stderr, "velkaris-cli export: %s\n", error.c_str());
    return 2;
  }
  if (SameFile(options.file, options.output)) {
    std::fprintf(stderr, "velkaris-cli export: the output would overwrite %s\n",
                 options.file.c_str());
    return 2;
  }
  if (!ParseWaveOutChoice("wav:" + options.output, &options.audio)) {
    std::fprintf(stderr, "velkaris-cli export: output path too long\n");
    return 2;
  }
  const auto player = std::make_unique<Player>();
  player->Output = options.audio;
  InstallQuitHandler();

  QuietView view;
  const SessionResult result = RunPlaySession(*player, options.file, view);
  if (result.how == SessionEnd::kFailed) {
    PrintEngineRefusal("export", options.file, result.code);
    return 1;
  }
  if (result.how == SessionEnd::kStopped) {
    std::fprintf(stderr, "velkaris-cli export: interrupted; %s holds the part written so far\n",
                 options.output.c_str());
    return 1;
  }
  if (player->OutStatus.WavOutputFailed) {
    std::fprintf(stderr, "velkaris-cli export: writing %s failed\n", options.output.c_str());
    return 1;
  }
  return 0;
}

}  // namespace vk::cli
