// Result codes of the MPEG reader. Open codes double as the verdicts of the
// open report (Mp3ResultText); decode and seek number their failures apart.
#pragma once

namespace vk {

// Mp3Open (and the steps inside it).
enum Mp3Result : int {
  kMp3Ok = 0,
  kMp3NoMemory = 1,
  kMp3CannotOpen = 2,
  kMp3Truncated = 3,
  kMp3TellFailed = 4,
  kMp3SeekFailed = 5,
  kMp3ShortRead = 6,
  kMp3RiffSize = 7,  // a "fmt " chunk too short for MPEG audio
  kMp3RiffForm = 8,
  kMp3RiffFormat = 9,
  kMp3RiffNoFmt = 10,
  kMp3RiffNoData = 11,
  kMp3BadOffset = 12,
  kMp3TagSize = 13,
  kMp3BadVersion = 14,
  kMp3BadLayer = 15,
  kMp3BadBitRate = 16,
  kMp3BadSmplRate = 17,
  kMp3UnsupportedVersion = 18,  // never raised
  kMp3FreeFormat = 19,
  kMp3Mpeg25NotLayer3 = 20,
  kMp3VariableVersion = 21,
  kMp3VariableLayer = 22,
  kMp3VbrWithoutHeader = 23,  // never raised
  kMp3VariableSmplRate = 24,
  kMp3VariableMono = 25,
  kMp3VbrFlags = 26,  // not raised: a Xing header gives what its flags announce
  kMp3VbrNumFrame = 27,
  kMp3VbrDataSize = 28,
  kMp3FormatSuggest = 29,
  kMp3StreamOpen = 30,
};

// Mp3Decode.
enum Mp3DecodeResult : int {
  kMp3DecodeNoMonoBuf = 3,
  kMp3DecodeNotOpen = 4,
  kMp3DecodeNoDst = 5,
  kMp3DecodeNoRoom = 6,  // also: no source buffer
  kMp3DecodeSeek = 7,
  kMp3DecodeRead = 8,
  kMp3DecodePrepare = 9,
  kMp3DecodeConvert = 10,
};

// Mp3Seek.
enum Mp3SeekResult : int {
  kMp3SeekNotOpen = 1,
  kMp3SeekFile = 2,
  kMp3SeekReopen = 3,
};

}  // namespace vk
