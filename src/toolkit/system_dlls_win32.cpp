#include "toolkit/system_dlls_win32.h"

#include <atomic>

#include "toolkit/program_win32.h"

namespace dovra {

namespace {

struct SystemDll {
  const wchar_t* name;
  std::atomic<HMODULE> module{nullptr};
};
SystemDll g_winmm{L"winmm.dll"}, g_msimg32{L"msimg32.dll"}, g_oleacc{L"oleacc.dll"}, g_wtsapi32{L"wtsapi32.dll"};

// The function's address, found once (the music's thread calls some of them
// too: two threads finding it at once find the same address). The DLL stays
// loaded for the rest of the process.
template <typename Fn>
Fn Find(SystemDll& dll, std::atomic<void*>& slot, const char* name) {
  void* p = slot.load(std::memory_order_acquire);
  if (!p) {
    HMODULE m = dll.module.load(std::memory_order_acquire);
    if (!m) {
      m = LoadSystemDll(dll.name);
      dll.module.store(m, std::memory_order_release);
    }
    p = m ? reinterpret_cast<void*>(GetProcAddress(m, name)) : nullptr;
    slot.store(p, std::memory_order_release);
  }
  return reinterpret_cast<Fn>(p);
}

// Each function's address once found.
std::atomic<void*> slot_mciSendStringA{nullptr};
std::atomic<void*> slot_mciGetErrorStringA{nullptr};
std::atomic<void*> slot_PlaySoundA{nullptr};
std::atomic<void*> slot_waveOutGetNumDevs{nullptr};
std::atomic<void*> slot_waveOutOpen{nullptr};
std::atomic<void*> slot_waveOutPrepareHeader{nullptr};
std::atomic<void*> slot_waveOutUnprepareHeader{nullptr};
std::atomic<void*> slot_waveOutWrite{nullptr};
std::atomic<void*> slot_waveOutReset{nullptr};
std::atomic<void*> slot_waveOutClose{nullptr};
std::atomic<void*> slot_timeGetTime{nullptr};
std::atomic<void*> slot_timeBeginPeriod{nullptr};
std::atomic<void*> slot_timeEndPeriod{nullptr};
std::atomic<void*> slot_TransparentBlt{nullptr};
std::atomic<void*> slot_GradientFill{nullptr};
std::atomic<void*> slot_LresultFromObject{nullptr};
std::atomic<void*> slot_CreateStdAccessibleObject{nullptr};
std::atomic<void*> slot_AccessibleObjectFromWindow{nullptr};
std::atomic<void*> slot_WTSRegisterSessionNotification{nullptr};
std::atomic<void*> slot_WTSUnRegisterSessionNotification{nullptr};

}  // namespace

// Each call: the function found in its DLL, or the failure the system reports
// when a driver or function is missing.
#define DOVRA_CALL(dll, fn, failure, ...)                            \
  const auto call = Find<decltype(&::fn)>(g_##dll, slot_##fn, #fn); \
  return call ? call(__VA_ARGS__) : (failure)

namespace winmm {

MCIERROR mciSendStringA(LPCSTR command, LPSTR reply, UINT capacity, HWND callback) {
  DOVRA_CALL(winmm, mciSendStringA, MCIERR_DEVICE_NOT_INSTALLED, command, reply, capacity, callback);
}
BOOL mciGetErrorStringA(MCIERROR code, LPSTR text, UINT capacity) {
  DOVRA_CALL(winmm, mciGetErrorStringA, FALSE, code, text, capacity);
}
BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags) {
  DOVRA_CALL(winmm, PlaySoundA, FALSE, sound, module, flags);
}
UINT waveOutGetNumDevs() { DOVRA_CALL(winmm, waveOutGetNumDevs, 0u); }
MMRESULT waveOutOpen(LPHWAVEOUT out, UINT device, LPCWAVEFORMATEX format, DWORD_PTR callback, DWORD_PTR instance,
                     DWORD flags) {
  DOVRA_CALL(winmm, waveOutOpen, MMSYSERR_NODRIVER, out, device, format, callback, instance, flags);
}
MMRESULT waveOutPrepareHeader(HWAVEOUT out, LPWAVEHDR header, UINT size) {
  DOVRA_CALL(winmm, waveOutPrepareHeader, MMSYSERR_NODRIVER, out, header, size);
}
MMRESULT waveOutUnprepareHeader(HWAVEOUT out, LPWAVEHDR header, UINT size) {
  DOVRA_CALL(winmm, waveOutUnprepareHeader, MMSYSERR_NODRIVER, out, header, size);
}
MMRESULT waveOutWrite(HWAVEOUT out, LPWAVEHDR header, UINT size) {
  DOVRA_CALL(winmm, waveOutWrite, MMSYSERR_NODRIVER, out, header, size);
}
MMRESULT waveOutReset(HWAVEOUT out) { DOVRA_CALL(winmm, waveOutReset, MMSYSERR_NODRIVER, out); }
MMRESULT waveOutClose(HWAVEOUT out) { DOVRA_CALL(winmm, waveOutClose, MMSYSERR_NODRIVER, out); }
DWORD timeGetTime() { DOVRA_CALL(winmm, timeGetTime, GetTickCount()); }
MMRESULT timeBeginPeriod(UINT period) { DOVRA_CALL(winmm, timeBeginPeriod, TIMERR_NOCANDO, period); }
MMRESULT timeEndPeriod(UINT period) { DOVRA_CALL(winmm, timeEndPeriod, TIMERR_NOCANDO, period); }

}  // namespace winmm

namespace msimg32 {

BOOL TransparentBlt(HDC to, int x, int y, int w, int h, HDC from, int fromX, int fromY, int fromW, int fromH,
                    UINT transparent) {
  DOVRA_CALL(msimg32, TransparentBlt, FALSE, to, x, y, w, h, from, fromX, fromY, fromW, fromH, transparent);
}
BOOL GradientFill(HDC dc, PTRIVERTEX vertices, ULONG vertexCount, PVOID mesh, ULONG meshCount, ULONG mode) {
  DOVRA_CALL(msimg32, GradientFill, FALSE, dc, vertices, vertexCount, mesh, meshCount, mode);
}

}  // namespace msimg32

namespace oleacc {

LRESULT LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN object) {
  DOVRA_CALL(oleacc, LresultFromObject, static_cast<LRESULT>(E_NOTIMPL), riid, wParam, object);
}
HRESULT CreateStdAccessibleObject(HWND hwnd, LONG idObject, REFIID riid, void** object) {
  DOVRA_CALL(oleacc, CreateStdAccessibleObject, E_NOTIMPL, hwnd, idObject, riid, object);
}
HRESULT AccessibleObjectFromWindow(HWND hwnd, DWORD idObject, REFIID riid, void** object) {
  DOVRA_CALL(oleacc, AccessibleObjectFromWindow, E_NOTIMPL, hwnd, idObject, riid, object);
}

}  // namespace oleacc

namespace wtsapi32 {

BOOL WTSRegisterSessionNotification(HWND hwnd, DWORD flags) {
  DOVRA_CALL(wtsapi32, WTSRegisterSessionNotification, FALSE, hwnd, flags);
}
BOOL WTSUnRegisterSessionNotification(HWND hwnd) { DOVRA_CALL(wtsapi32, WTSUnRegisterSessionNotification, FALSE, hwnd); }

}  // namespace wtsapi32

}  // namespace dovra
