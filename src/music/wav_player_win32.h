// A WAV file played in a loop through the wave device, read from the file a
// piece at a time on a thread of its own. For music the system sound player
// cannot open by name (a path too long for it): it holds a second of sound in
// memory whatever the file's size, trusts nothing the file's header claims, and
// a file that is cut or cannot be read while it plays ends in silence, never
// in a fault.
#pragma once
#include <windows.h>

#include <string>

namespace dovra {

class WavStreamPlayer {
 public:
  WavStreamPlayer() = default;
  ~WavStreamPlayer() { Stop(); }
  WavStreamPlayer(const WavStreamPlayer&) = delete;
  WavStreamPlayer& operator=(const WavStreamPlayer&) = delete;

  // Stops what played before and starts looping the file; returns at once (the
  // file is opened on the player's thread, so a slow disk never holds up the
  // caller). False when the thread could not be started.
  bool Start(const std::wstring& path);
  // Stops the sound. Waits for the player's thread a short while at most: a
  // read hanging on a vanished network share must not hold up the saver's end.
  void Stop();
  // Whether the player's thread is still at work (the sound may have ended).
  bool Running() const;

 private:
  HANDLE thread_ = nullptr;
  HANDLE stop_ = nullptr;
};

}  // namespace dovra
