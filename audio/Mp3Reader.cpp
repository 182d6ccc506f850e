// Reset and close of the MPEG reader's record.
#include "audio/Mp3Reader.h"

#include "audio/Mp3Diagnostics.h"

namespace vk {

// Assigning a fresh record releases whatever the old one still held, so a
// reset can never leak a file, a table or a decoder stream.
void Mp3Reset(MP3Set& mp3) { mp3 = MP3Set{}; }

void Mp3Close(MP3Set& mp3, int code, Mp3CloseFlags flags) {
  if ((flags & kMp3CloseReport) != 0) Mp3WriteOpenReport(mp3, code);
  Mp3Reset(mp3);
}

}  // namespace vk
