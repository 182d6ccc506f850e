#include "audio/StreamRecord.h"

namespace vk {

WaveFormatEx DeliveredFormat(std::uint32_t rate_hz) {
  WaveFormatEx f;
  f.wFormatTag = kWaveFormatPcm;
  f.nChannels = 2;
  f.nSamplesPerSec = rate_hz;
  f.wBitsPerSample = 16;
  f.nBlockAlign = kDeliveredBytesPerSample;
  f.nAvgBytesPerSec = kDeliveredBytesPerSample * rate_hz;
  f.cbSize = 0;
  return f;
}

}  // namespace vk
