// MP3 files with a picture in their ID3v2 tag, for the cover tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "support/TestFiles.h"

namespace vktest {

// PNG's signature and some bytes: enough for the picture to be told a PNG.
inline const std::string kCoverPng = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(200, 'p');

// An MP3 file in `dir` with an ID3v2.3 tag holding one APIC frame of `picture`
// labelled `mime`, before the frames of a committed fixture.
inline std::string Mp3WithPicture(const TempDir& dir, const std::string& name, const std::string& mime,
                                  const std::string& picture) {
  std::string body;
  body += '\0';  // Latin-1 texts
  body += mime;
  body += '\0';
  body += '\x03';  // front cover
  body += "cover";
  body += '\0';
  body += picture;
  std::string frame = "APIC";
  const auto n = static_cast<std::uint32_t>(body.size());
  for (int shift : {24, 16, 8, 0}) frame += static_cast<char>((n >> shift) & 0xFF);
  frame += std::string(2, '\0');  // flags
  frame += body;
  const auto size = static_cast<std::uint32_t>(frame.size());
  std::string tag = "ID3";
  tag += std::string("\x03\x00\x00", 3);  // version 2.3, no flags
  for (int shift : {21, 14, 7, 0}) tag += static_cast<char>((size >> shift) & 0x7F);  // syncsafe
  tag += frame;
  std::ifstream in(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_notag_44k.mp3", std::ios::binary);
  const std::string audio((std::istreambuf_iterator<char>(in)), {});
  const std::string path = dir.File(name);
  std::ofstream(path, std::ios::binary) << tag << audio;
  return path;
}

}  // namespace vktest
