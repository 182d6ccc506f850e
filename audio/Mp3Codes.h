// Result codes of the MPEG reader. Open codes double as the verdicts of the
// open report (Mp3ResultText); decode and seek number their failures apart.
#pragma once

namespace vk {

// Mp3Open (and the steps inside it).
inline constexpr int kMp3Ok = 0;
inline constexpr int kMp3NoMemory = 1;
inline constexpr int kMp3CannotOpen = 2;
inline constexpr int kMp3Truncated = 3;
inline constexpr int kMp3TellFailed = 4;
inline constexpr int kMp3SeekFailed = 5;
inline constexpr int kMp3ShortRead = 6;
inline constexpr int kMp3RiffSize = 7;  // a "fmt " chunk too short for MPEG audio
inline constexpr int kMp3RiffForm = 8;
inline constexpr int kMp3RiffFormat = 9;
inline constexpr int kMp3RiffNoFmt = 10;
inline constexpr int kMp3RiffNoData = 11;
inline constexpr int kMp3BadOffset = 12;
inline constexpr int kMp3TagSize = 13;
inline constexpr int kMp3BadVersion = 14;
inline constexpr int kMp3BadLayer = 15;
inline constexpr int kMp3BadBitRate = 16;
inline constexpr int kMp3BadSmplRate = 17;
inline constexpr int kMp3UnsupportedVersion = 18;  // never raised
inline constexpr int kMp3FreeFormat = 19;
inline constexpr int kMp3Mpeg25NotLayer3 = 20;
inline constexpr int kMp3VariableVersion = 21;
inline constexpr int kMp3VariableLayer = 22;
inline constexpr int kMp3VbrWithoutHeader = 23;  // never raised
inline constexpr int kMp3VariableSmplRate = 24;
inline constexpr int kMp3VariableMono = 25;
inline constexpr int kMp3VbrFlags = 26;  // not raised: a Xing header gives what its flags announce
inline constexpr int kMp3VbrNumFrame = 27;
inline constexpr int kMp3VbrDataSize = 28;
inline constexpr int kMp3FormatSuggest = 29;
inline constexpr int kMp3StreamOpen = 30;

// Mp3Decode.
inline constexpr int kMp3DecodeNoMonoBuf = 3;
inline constexpr int kMp3DecodeNotOpen = 4;
inline constexpr int kMp3DecodeNoDst = 5;
inline constexpr int kMp3DecodeNoRoom = 6;  // also: no source buffer
inline constexpr int kMp3DecodeSeek = 7;
inline constexpr int kMp3DecodeRead = 8;
inline constexpr int kMp3DecodePrepare = 9;
inline constexpr int kMp3DecodeConvert = 10;

// Mp3Seek.
inline constexpr int kMp3SeekNotOpen = 1;
inline constexpr int kMp3SeekFile = 2;
inline constexpr int kMp3SeekReopen = 3;

}  // namespace vk
