// A WAV file played in a loop through the wave device, read from the file a
// piece at a time on a thread of its own: for music the system sound player
// should not load whole (a large file) or cannot open by name (a long path).
// It holds a second of sound in memory whatever the file's size, trusts
// nothing the file's header claims, and a file that is cut or cannot be read
// while it plays ends in silence, never in a fault.
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/handles_win32.h"

namespace dovra {

class WavStreamPlayer {
 public:
  WavStreamPlayer() = default;
  ~WavStreamPlayer() { Stop(); }
  WavStreamPlayer(const WavStreamPlayer&) = delete;
  WavStreamPlayer& operator=(const WavStreamPlayer&) = delete;

  // Stops what played before and starts looping the file. True once the
  // player's thread has opened the file and the wave device; false when it
  // could not, or did not within a second (a read hanging on a vanished
  // network share): then it is given up and never makes a sound.
  bool Start(const std::wstring& path);
  // Stops the sound. Waits for the player's thread a short while at most: a
  // read hanging on a vanished network share must not hold up the saver's end.
  void Stop();
  // Whether the player's thread is still at work (the sound may have ended).
  bool Running() const;

 private:
  UniqueKernelHandle thread_;
  UniqueKernelHandle stop_;
};

}  // namespace dovra
