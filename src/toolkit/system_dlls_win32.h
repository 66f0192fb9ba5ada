// The calls Dovra makes into system DLLs that are not among Windows' "known
// DLLs" (winmm, msimg32, oleacc, wtsapi32). Windows looks for such a DLL in the program's own
// folder first, so a winmm.dll planted beside a downloaded Dovra.scr would run
// its code as soon as Dovra starts if Dovra imported it. Dovra imports only
// known DLLs; these are loaded at their first use from the system folder only
// (LoadSystemDll). A call whose DLL or function cannot be had fails as the
// system call fails, without a fault.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <oleacc.h>
#include <wtsapi32.h>

namespace dovra::winmm {

MCIERROR mciSendStringA(LPCSTR command, LPSTR reply, UINT capacity, HWND callback);
BOOL mciGetErrorStringA(MCIERROR code, LPSTR text, UINT capacity);
BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
UINT waveOutGetNumDevs();
MMRESULT waveOutOpen(LPHWAVEOUT out, UINT device, LPCWAVEFORMATEX format, DWORD_PTR callback, DWORD_PTR instance,
                     DWORD flags);
MMRESULT waveOutPrepareHeader(HWAVEOUT out, LPWAVEHDR header, UINT size);
MMRESULT waveOutUnprepareHeader(HWAVEOUT out, LPWAVEHDR header, UINT size);
MMRESULT waveOutWrite(HWAVEOUT out, LPWAVEHDR header, UINT size);
MMRESULT waveOutReset(HWAVEOUT out);
MMRESULT waveOutClose(HWAVEOUT out);
// Without winmm: the system's tick count.
DWORD timeGetTime();
MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);

}  // namespace dovra::winmm

namespace dovra::msimg32 {

BOOL TransparentBlt(HDC to, int x, int y, int w, int h, HDC from, int fromX, int fromY, int fromW, int fromH,
                    UINT transparent);
BOOL GradientFill(HDC dc, PTRIVERTEX vertices, ULONG vertexCount, PVOID mesh, ULONG meshCount, ULONG mode);

}  // namespace dovra::msimg32

namespace dovra::oleacc {

LRESULT LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN object);
HRESULT CreateStdAccessibleObject(HWND hwnd, LONG idObject, REFIID riid, void** object);
HRESULT AccessibleObjectFromWindow(HWND hwnd, DWORD idObject, REFIID riid, void** object);

}  // namespace dovra::oleacc

namespace dovra::wtsapi32 {

BOOL WTSRegisterSessionNotification(HWND hwnd, DWORD flags);
BOOL WTSUnRegisterSessionNotification(HWND hwnd);

}  // namespace dovra::wtsapi32
