// What velkaris-cli says when it refuses a file: the file, the system's message
// where there is one, then which reader refused it, its code and what the code
// means, on standard error.
#pragma once

#include <string>

namespace vk::cli {

// Why the readers refuse `path`, in words: the system's reason when the file
// cannot be opened as a regular file, else each reader tried with its code and
// meaning ("MP3 reader code 3: ファイルが途切れている。 - the file is cut off").
std::string WhyUnreadable(const std::string& path);

// The meaning of a WAV reader's open code, or of an MP3 reader's open code
// (its system text, then a gloss).
std::string WavOpenMeaning(int code);
std::string Mp3OpenMeaning(int code);

// "velkaris-cli COMMAND: FILE: MESSAGE (REASON)" on standard error; without the
// brackets when `reason` is empty.
void PrintRefusal(const char* command, const std::string& file, const std::string& message,
                  const std::string& reason);

// A play-engine failure on `file` (the engine's own message, then why).
void PrintEngineRefusal(const char* command, const std::string& file, int engine_code);

}  // namespace vk::cli
