// Loads the settings from a profile store whose three values are arbitrary bytes,
// and a program folder and music path made of arbitrary bytes too.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "startup/settings.h"
#include "support/fake_profile_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string dir = in.ConsumeRandomLengthString(300);
  dovra::test::FakeProfileStore store;
  const std::string ini = dir + dovra::ini::kFileName;
  store.Set(ini, dovra::ini::kKeyKind, in.ConsumeRandomLengthString(2000));
  store.Set(ini, dovra::ini::kKeyRepeat, in.ConsumeRandomLengthString(2000));
  const std::string file = in.ConsumeRandomLengthString(2000);
  store.Set(ini, dovra::ini::kKeyFile, file);
  const bool exists = in.ConsumeBool();
  dovra::Settings s;
  dovra::LoadSettings(s, dir, store, [&](const std::string&) { return exists; }, dovra::LeadBytes::ShiftJis());
  // What the rest of the program relies on after loading.
  if (s.BgmKind == 2 && s.BgmFile.empty()) __builtin_trap();
  if (!s.BgmFile.empty() && s.BgmFile != file.substr(0, file.find('\0'))) __builtin_trap();
  if (!store.writes.empty()) __builtin_trap();
  if (s.BgmFile.empty() && s.BgmDir != dir) __builtin_trap();
  return 0;
}
