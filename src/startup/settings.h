// The three music settings, kept in "VormixDovra.ini" beside the program.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/lead_bytes.h"

namespace dovra {

// Strings here are in the system's ANSI code page, which the music's and the
// dialog's ANSI calls take.
struct Settings {
  int16_t BgmKind = 0;    // 0 none, 1 audio CD, 2 MP3 or WAV file
  int16_t BgmRepeat = 0;  // CD track to repeat; 0 = the whole disc
  std::string BgmFile;    // full path of the music file, may be empty
  std::string BgmDir;     // folder the file dialog opens first
  std::string IniPath;    // full path of the INI file
};

// The INI names. The keys are fixed Shift-JIS (code page 932) bytes, the form
// the earlier program wrote on Japanese systems; how they are written on other
// code pages is IniFileStore's business.
namespace ini {
constexpr const char* kFileName = "\\VormixDovra.ini";
constexpr const char* kSection = "Section";
constexpr const char* kKeyKind = "BGM\x8B\xE6\x95\xAA";             // BGM区分
constexpr const char* kKeyRepeat = "BGM\xD8\xCB\xDF\xB0\xC4";       // BGMﾘﾋﾟｰﾄ
constexpr const char* kKeyFile = "BGM\xCC\xA7\xB2\xD9";             // BGMﾌｧｲﾙ
}  // namespace ini

// What the settings need of the INI file.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // As GetPrivateProfileStringA: copies the value (or def) into buffer, at most
  // size - 1 bytes and a NUL; returns the number of bytes copied.
  virtual uint32_t GetString(const char* section, const char* key, const char* def,
                             char* buffer, uint32_t size, const char* file) = 0;
  // Stores every key=value of entries in section in one step: the file is
  // changed whole or not at all. Nonzero on success.
  using Entries = std::vector<std::pair<std::string, std::string>>;
  virtual int32_t WriteStrings(const std::string& section, const Entries& entries,
                               const std::string& file) = 0;
};

// The stored value, whole however long, or "" when the file, section or key is
// missing. (A path chosen in the file dialog can be over 255 bytes in Shift-JIS.)
std::string ReadIni(ProfileStore& store, const std::string& section, const std::string& key,
                    const std::string& file);
// Stores the value; the store's result goes to ApiResult. Returns "".
std::string WriteIni(ProfileStore& store, const std::string& section, const std::string& key,
                     const std::string& value, const std::string& file);
// Stores kind, repeat and file, all three or none; the result goes to ApiResult.
void WriteSettings(ProfileStore& store, const Settings& s);

// Folder part of a path: "C:\Music\a.mp3" -> "C:\Music", "C:\a.mp3" -> "C:".
// Only a byte that starts a character of the code page can be a separator.
std::string GetFolder(const std::string& path, const LeadBytes& lead);

// Whether the last character of text (not merely its last byte) is c.
bool EndsInCharacter(const std::string& text, char c, const LeadBytes& lead);

// Whether a file can be opened for reading; a trailing "\" is dropped first.
using CanOpenForReading = std::function<bool(const std::string& path)>;
bool FileExists(const std::string& path, const CanOpenForReading& canOpen, const LeadBytes& lead);

// Fills every field from the INI file in programDir. Never writes anything.
void LoadSettings(Settings& s, const std::string& programDir, ProfileStore& store,
                  const CanOpenForReading& canOpen, const LeadBytes& lead);

// The text a numeric setting is stored as: " 2", " 0", "-1".
std::string SettingText(int16_t v);

}  // namespace dovra
