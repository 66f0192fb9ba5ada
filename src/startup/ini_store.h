// The settings' INI file read and written byte by byte, so that a file written on
// one ANSI code page keeps its settings on any other.
//
// The system's profile functions convert the whole file through the ANSI code
// page of whoever writes it: on the UTF-8 code page every Shift-JIS byte that
// UTF-8 cannot read became a replacement character, on code page 932 a UTF-8
// key's last byte swallowed the "=". Here each line keeps its bytes, and the
// key's form tells how its value is encoded:
//  - the Shift-JIS bytes: the value is Shift-JIS. Written on code page 932, so
//    that the file stays exactly what the earlier program wrote and reads there.
//    (The earlier program wrote these keys on every code page, its values in
//    that code page: a path is read as Shift-JIS only where that names a file.)
//  - the keys' UTF-8 text: the value is UTF-8, which holds every path. Written
//    on every other code page (as the earlier program's calls wrote it on the
//    UTF-8 code page), and on 932 for a path that 932 cannot spell;
//  - read only: the UTF-8 the system made of the Shift-JIS bytes when an
//    earlier Dovra handed them to the profile functions on the UTF-8 code page.
// A value read in a form the code page does not write is converted; a path the
// code page cannot spell is given as its short name. A value written back as
// it was read keeps its text, and a short name is written as the whole name,
// so that the file names the music the same way for every code page.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "startup/settings.h"

namespace dovra {

// The INI file's bytes.
class FilePort {
 public:
  virtual ~FilePort() = default;
  // The whole file; kNoFile when there is none, kFailed when it is there but
  // cannot be read (a save then leaves it alone).
  enum class Got { kBytes, kNoFile, kFailed };
  virtual Got Read(const std::string& path, std::string& bytes) = 0;
  // Puts bytes in place of the file whole, or leaves it as it was: false then.
  virtual bool Replace(const std::string& path, const std::string& bytes) = 0;
};

// The system's conversions, by code page number (932, 65001, the ANSI one).
class CodePagePort {
 public:
  virtual ~CodePagePort() = default;
  // The code page the settings' text is in.
  virtual uint32_t Ansi() const = 0;
  // bytes of codePage as UTF-8; false when they are not valid there.
  virtual bool ToUtf8(uint32_t codePage, const std::string& bytes, std::string& utf8) const = 0;
  // utf8 in codePage exactly (no look-alike, no "?"); false when it cannot hold it.
  virtual bool FromUtf8(uint32_t codePage, const std::string& utf8, std::string& bytes) const = 0;
  // The ANSI code page's short name of the file the UTF-8 path names.
  virtual bool ShortPath(const std::string& utf8, std::string& ansi) const = 0;
  // The UTF-8 path with the short names in it spelt out; false when it names no file.
  virtual bool WholePath(const std::string& utf8, std::string& whole) const = 0;
};

class IniFileStore : public ProfileStore {
 public:
  IniFileStore(FilePort& files, const CodePagePort& codePages) : files_(files), cp_(codePages) {}
  uint32_t GetString(const char* section, const char* key, const char* def, char* buffer,
                     uint32_t size, const char* file) override;
  int32_t WriteStrings(const std::string& section, const Entries& entries,
                       const std::string& file) override;

  struct Form {
    std::string key;
    uint32_t codePage;  // of the values written under it
  };

 private:
  // The key's forms, the one written on this code page first.
  std::vector<Form> FormsOf(const std::string& key) const;
  struct Read {
    std::string given;  // what GetString gave
    size_t form;
    std::string raw;    // the value's bytes in the file
    std::string utf8;   // and its text, when they were valid in the form's code page
    bool text;
  };
  // The bytes value is written as, and in which of the forms.
  std::string ValueBytes(const std::vector<Form>& forms, const std::string& value, bool path,
                         const Read* read, size_t& form) const;

  FilePort& files_;
  const CodePagePort& cp_;
  std::map<std::tuple<std::string, std::string, std::string>, Read> read_;  // by file, section, key
};

}  // namespace dovra
