#include "music/wav_player_win32.h"

#include <mmsystem.h>

#include <memory>
#include <vector>

#include "music/wav_stream.h"
#include "toolkit/system_dlls_win32.h"
#include "toolkit/text_win32.h"

namespace dovra {

namespace {

constexpr DWORD kStartWaitMs = 1000;
constexpr DWORD kStopWaitMs = 1000;

// What the player hands its thread; the thread owns it and its own handles of
// the player's events, so it may outlive the player.
struct Job {
  std::wstring path;
  UniqueKernelHandle stop, opened;
};

uint32_t ReadFileAt(HANDLE file, uint64_t offset, uint8_t* buffer, uint32_t n) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  return ReadFile(file, buffer, n, &got, &at) ? got : 0;
}

class Win32WaveOut final : public WaveOut {
 public:
  Win32WaveOut(HANDLE stop, HANDLE opened) : stop_(stop), opened_(opened) {}
  ~Win32WaveOut() override {
    if (kept_) {
      // Deliberately never freed: the driver still owns them.
      buffers_.release();
      done_.Release();
    }
  }

  bool StopAsked() override { return WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0; }
  bool Open(const WavLayout& layout, uint32_t bytes) override {
    buffers_ = std::make_unique<Buffers>();
    buffers_->bytes.resize(static_cast<size_t>(bytes) * kBuffers);
    done_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    // The mapper finds a device for the format, converting it where it must.
    if (!done_ || winmm::waveOutOpen(&out_, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(layout.format.data()),
                                     reinterpret_cast<DWORD_PTR>(done_.Get()), 0, CALLBACK_EVENT) != MMSYSERR_NOERROR)
      return false;
    for (int i = 0; i < kBuffers; ++i) {
      WAVEHDR& h = buffers_->header[i];
      h.lpData = reinterpret_cast<LPSTR>(&buffers_->bytes[static_cast<size_t>(bytes) * i]);
      h.dwBufferLength = bytes;
      // One that fails is refused by waveOutWrite and never queued.
      winmm::waveOutPrepareHeader(out_, &h, sizeof h);
    }
    SetEvent(opened_);
    return true;
  }
  uint8_t* Buffer(int i) override { return reinterpret_cast<uint8_t*>(buffers_->header[i].lpData); }
  bool Write(int i, uint32_t n) override {
    buffers_->header[i].dwBufferLength = n;
    return winmm::waveOutWrite(out_, &buffers_->header[i], sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
  }
  bool Done(int i) override { return (buffers_->header[i].dwFlags & WHDR_DONE) != 0; }
  bool WaitForBufferOrStop() override {
    const HANDLE waits[] = {stop_, done_.Get()};
    return WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
  }
  void WaitForBuffer(uint32_t ms) override { WaitForSingleObject(done_.Get(), ms); }
  bool Reset() override { return winmm::waveOutReset(out_) == MMSYSERR_NOERROR; }
  bool Unprepare(int i) override {
    return winmm::waveOutUnprepareHeader(out_, &buffers_->header[i], sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
  }
  bool Close() override { return winmm::waveOutClose(out_) == MMSYSERR_NOERROR; }
  void Keep() override { kept_ = true; }

 private:
  struct Buffers {
    std::vector<uint8_t> bytes;
    WAVEHDR header[kBuffers] = {};
  };
  HANDLE stop_, opened_;
  UniqueKernelHandle done_;
  HWAVEOUT out_ = nullptr;
  std::unique_ptr<Buffers> buffers_;
  bool kept_ = false;
};

void Play(const Job& job) {
  // Shared for writing and deleting: the user may replace or remove the file.
  UniqueFile file(CreateFileW(ExtendedLengthPath(job.path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) return;
  const HANDLE h = file.Get();
  Win32WaveOut out(job.stop.Get(), job.opened.Get());
  StreamWav([h](uint64_t offset, uint8_t* buffer, uint32_t n) { return ReadFileAt(h, offset, buffer, n); },
            static_cast<uint64_t>(size.QuadPart), out);
}

DWORD WINAPI Run(void* arg) {
  std::unique_ptr<Job> job(static_cast<Job*>(arg));
  // Memory runs out, if ever, before the device is opened: no sound, no fault.
  try {
    Play(*job);
  } catch (...) {
  }
  return 0;
}

bool DuplicateInto(const UniqueKernelHandle& from, UniqueKernelHandle& to) {
  HANDLE h = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), from.Get(), GetCurrentProcess(), &h, 0, FALSE, DUPLICATE_SAME_ACCESS))
    return false;
  to.Reset(h);
  return true;
}

}  // namespace

bool WavStreamPlayer::Start(const std::wstring& path) {
  Stop();
  UniqueKernelHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  UniqueKernelHandle opened(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  auto job = std::make_unique<Job>();
  job->path = path;
  if (!stop || !opened || !DuplicateInto(stop, job->stop) || !DuplicateInto(opened, job->opened)) return false;
  UniqueKernelHandle thread(CreateThread(nullptr, 0, Run, job.get(), 0, nullptr));
  if (!thread) return false;
  job.release();  // the thread owns it now
  // Playing has begun once the thread has opened the file and the device; a
  // thread that ends first could not. One that is still at it after a second
  // is given up: it finds the stop before it opens the device.
  const HANDLE waits[] = {opened.Get(), thread.Get()};
  if (WaitForMultipleObjects(2, waits, FALSE, kStartWaitMs) != WAIT_OBJECT_0) {
    SetEvent(stop.Get());
    return false;
  }
  thread_ = std::move(thread);
  stop_ = std::move(stop);
  return true;
}

void WavStreamPlayer::Stop() {
  if (!thread_) return;
  SetEvent(stop_.Get());
  WaitForSingleObject(thread_.Get(), kStopWaitMs);
  thread_.Reset();
  stop_.Reset();
}

bool WavStreamPlayer::Running() const { return thread_ && WaitForSingleObject(thread_.Get(), 0) == WAIT_TIMEOUT; }

}  // namespace dovra
