// Helpers for the tests that run under Wine against the real system calls.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "win32/resource_counts.h"

namespace dovra::test {

// A fresh folder under the temporary folder, removed with its files afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

std::vector<unsigned char> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileThere(const std::string& path);

// Handles this thread's messages for ms milliseconds.
void Pump(DWORD ms);

}  // namespace dovra::test
