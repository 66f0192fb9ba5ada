// The settings' platform side: the INI file's bytes, the code page's
// conversions and the readability test.
#pragma once
#include <cstdint>
#include <string>

#include "startup/ini_store.h"
#include "startup/settings.h"

namespace dovra {

// Reads the file through the wide calls; replaces it through a new file beside
// it that is written, flushed and then moved over it in one step.
class Win32IniFiles : public FilePort {
 public:
  Got Read(const std::string& path, std::string& bytes) override;
  bool Replace(const std::string& path, const std::string& bytes) override;
};

// The system's conversions. The settings' text is in code page ansi, the
// process's own unless a test asks for another.
class Win32CodePages : public CodePagePort {
 public:
  explicit Win32CodePages(uint32_t ansi);
  Win32CodePages();
  uint32_t Ansi() const override { return ansi_; }
  bool ToUtf8(uint32_t codePage, const std::string& bytes, std::string& utf8) const override;
  bool FromUtf8(uint32_t codePage, const std::string& utf8, std::string& bytes) const override;
  bool ShortPath(const std::string& utf8, std::string& ansi) const override;
  bool WholePath(const std::string& utf8, std::string& whole) const override;

 private:
  uint32_t ansi_;
};

namespace detail {
struct Win32IniPorts {
  Win32IniFiles files;
  Win32CodePages codePages;
};
}  // namespace detail

// The INI store over the system's files and the process's code page.
class Win32ProfileStore : private detail::Win32IniPorts, public IniFileStore {
 public:
  Win32ProfileStore() : IniFileStore(files, codePages) {}
};

// Opens the file for reading the way a sequential read would: a folder, a
// missing file or one locked against reading gives false.
bool CanOpenForReadingWin32(const std::string& path);

// LoadSettings with the program's folder, the system's files and code page.
// The dialog saves through the same store, so that a value written back as it
// was read keeps its text.
void LoadSettingsWin32(Settings& s, ProfileStore& store);
void LoadSettingsWin32(Settings& s);

}  // namespace dovra
