// Helpers shared by the test executables: scratch folders and little-endian
// byte builders for synthetic files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vktest {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system temp folder, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const Bytes& bytes);
void WriteFile(const std::string& path, std::string_view text);
Bytes ReadFile(const std::string& path);

// The process's peak resident memory so far (VmHWM), in kB: a test that
// compares it before and after a load proves the load did not balloon.
long PeakResidentKb();

// A FIFO at `path` (made by the test; no writer ever opens it).
void MakeFifo(const std::string& path);

void PutU16(Bytes& b, std::uint32_t v);
void PutU32(Bytes& b, std::uint32_t v);
void PutTag(Bytes& b, std::string_view four_cc);
void Append(Bytes& b, const Bytes& more);

}  // namespace vktest
