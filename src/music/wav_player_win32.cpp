#include "music/wav_player_win32.h"

#include <mmsystem.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "music/wav_stream.h"
#include "toolkit/handles_win32.h"
#include "toolkit/system_dlls_win32.h"
#include "toolkit/text_win32.h"

namespace dovra {

namespace {

// Four buffers of a quarter of a second: a second of sound queued, so a busy
// disk or machine is not heard, and little memory whatever the file's size.
constexpr int kBuffers = 4;
constexpr DWORD kStopWaitMs = 1000;

struct Job {
  std::wstring path;
  UniqueKernelHandle stop;  // the thread's own handle of the player's stop event
};

uint32_t ReadFileAt(HANDLE file, uint64_t offset, uint8_t* buffer, uint32_t n) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  return ReadFile(file, buffer, n, &got, &at) ? got : 0;
}

void Play(const Job& job) {
  // Shared for writing and deleting: the user may replace or remove the file.
  UniqueFile file(CreateFileW(ExtendedLengthPath(job.path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) return;
  const HANDLE h = file.Get();
  const ReadAt read = [h](uint64_t offset, uint8_t* buffer, uint32_t n) { return ReadFileAt(h, offset, buffer, n); };
  WavLayout layout;
  if (!ParseWav(read, static_cast<uint64_t>(size.QuadPart), layout)) return;
  WavLoop loop(read, layout);

  UniqueKernelHandle done(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  HWAVEOUT out = nullptr;
  // The mapper finds a device for the format, converting it where it must.
  if (!done || winmm::waveOutOpen(&out, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(layout.format.data()),
                           reinterpret_cast<DWORD_PTR>(done.Get()), 0, CALLBACK_EVENT) != MMSYSERR_NOERROR)
    return;
  uint32_t piece = std::clamp<uint32_t>(layout.bytesPerSecond / 4, 4096, 256 * 1024);
  piece = std::max<uint32_t>(piece - piece % layout.blockAlign, layout.blockAlign);
  std::vector<uint8_t> bytes(static_cast<size_t>(piece) * kBuffers);
  WAVEHDR header[kBuffers] = {};
  bool queued[kBuffers] = {};
  for (int i = 0; i < kBuffers; ++i) {
    header[i].lpData = reinterpret_cast<LPSTR>(&bytes[static_cast<size_t>(piece) * i]);
    header[i].dwBufferLength = piece;
    winmm::waveOutPrepareHeader(out, &header[i], sizeof header[i]);
  }
  const auto feed = [&](int i) {
    const uint32_t n = loop.Fill(reinterpret_cast<uint8_t*>(header[i].lpData), piece);
    header[i].dwBufferLength = n;
    queued[i] = n > 0 && winmm::waveOutWrite(out, &header[i], sizeof header[i]) == MMSYSERR_NOERROR;
  };
  for (int i = 0; i < kBuffers; ++i) feed(i);
  const HANDLE waits[] = {job.stop.Get(), done.Get()};
  while (std::any_of(std::begin(queued), std::end(queued), [](bool q) { return q; })) {
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;  // stopped
    for (int i = 0; i < kBuffers; ++i)
      if (queued[i] && (header[i].dwFlags & WHDR_DONE)) feed(i);
  }
  winmm::waveOutReset(out);  // gives every buffer back at once
  for (WAVEHDR& h : header) winmm::waveOutUnprepareHeader(out, &h, sizeof h);
  winmm::waveOutClose(out);
}

DWORD WINAPI Run(void* arg) {
  std::unique_ptr<Job> job(static_cast<Job*>(arg));
  Play(*job);
  return 0;
}

}  // namespace

bool WavStreamPlayer::Start(const std::wstring& path) {
  Stop();
  UniqueKernelHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE theirs = nullptr;
  if (!stop || !DuplicateHandle(GetCurrentProcess(), stop.Get(), GetCurrentProcess(), &theirs, 0, FALSE,
                                DUPLICATE_SAME_ACCESS))
    return false;
  auto job = std::make_unique<Job>();
  job->path = path;
  job->stop.Reset(theirs);
  HANDLE thread = CreateThread(nullptr, 0, Run, job.get(), 0, nullptr);
  if (!thread) return false;
  job.release();  // the thread owns it now
  thread_ = thread;
  stop_ = stop.Release();
  return true;
}

void WavStreamPlayer::Stop() {
  if (!thread_) return;
  SetEvent(stop_);
  WaitForSingleObject(thread_, kStopWaitMs);
  CloseHandle(thread_);
  CloseHandle(stop_);
  thread_ = stop_ = nullptr;
}

bool WavStreamPlayer::Running() const { return thread_ && WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT; }

}  // namespace dovra
