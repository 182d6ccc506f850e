// Runs velkaris-cli as a user runs it from a shell and collects what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace vktest {

struct CliRun {
  int status = -1;   // the exit code, -1 when the program did not exit normally
  std::string text;  // stdout, with stderr when merged
};

enum class Stderr { kMerged, kDropped, kOnly };  // kOnly: stdout dropped, stderr kept

// `env` is put before the program, e.g. "HOME=/tmp/x".
inline CliRun RunCli(const std::string& args, Stderr err = Stderr::kMerged, const std::string& env = "") {
  CliRun r;
  const std::string command = env + " " + VK_CLI_PATH + " " + args +
                              (err == Stderr::kMerged ? " 2>&1" : err == Stderr::kOnly ? " 2>&1 >/dev/null" : " 2>/dev/null") + " </dev/null";
  std::FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return r;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.text.append(buf, n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

}  // namespace vktest
