// velkaris-cli export: the same play thread and effect chain, into a WAV file
// instead of the sound device: the whole file, or with --ab FROM:TO the A-B
// range for --passes N passes (at the loop trainer's speeds when TrainOnOff=1).
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "cli/Commands.h"
#include "cli/PlayOptions.h"
#include "cli/Refusal.h"
#include "cli/Terminal.h"
#include "common/Settings.h"
#include "engine/ExportSession.h"

namespace vk::cli {

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
  ValidateSettings(gSettings);
  ExportJob job;
  job.source = options.file;
  job.output = options.output;
  job.params = PlayParamsFrom(gSettings);
  job.priority = PlayThreadPriority(gSettings.NowPlayThreadPrortyItem);
  job.a = options.ab_from;
  job.b = options.ab_to;
  job.passes = options.passes;
  InstallQuitHandler();

  // The quit signal sets a flag of the terminal's; the export polls its own.
  std::atomic<bool> cancel{false};
  const ExportOutcome outcome = RunExport(job, cancel, [&cancel](const ExportProgress&) {
    if (QuitRequested()) cancel.store(true, std::memory_order_relaxed);
  });
  switch (outcome.how) {
    case ExportEnd::kDone: return 0;
    case ExportEnd::kOpenFailed: PrintEngineRefusal("export", options.file, outcome.code); return 1;
    case ExportEnd::kCancelled:
      std::fprintf(stderr, "velkaris-cli export: interrupted; %s was not written\n",
                   options.output.c_str());
      return 1;
    case ExportEnd::kSameFile:
      std::fprintf(stderr, "velkaris-cli export: the output would overwrite %s\n",
                   options.file.c_str());
      return 2;
    case ExportEnd::kWriteFailed:
    case ExportEnd::kRenameFailed: break;
  }
  std::fprintf(stderr, "velkaris-cli export: writing %s failed\n", options.output.c_str());
  return 1;
}

}  // namespace vk::cli
