#include "win32/resource_counts.h"

#include <psapi.h>

namespace dovra::test {

DWORD GdiObjects() {
  const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n) return n;
  DWORD live = 0;
  for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++live;
  return live;
}

namespace {
BOOL CALLBACK CountChild(HWND, LPARAM lp) {
  ++*reinterpret_cast<DWORD*>(lp);
  return TRUE;
}
BOOL CALLBACK CountTop(HWND h, LPARAM lp) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == GetCurrentProcessId()) {
    ++*reinterpret_cast<DWORD*>(lp);
    EnumChildWindows(h, &CountChild, lp);
  }
  return TRUE;
}
}  // namespace

DWORD UserObjects() {
  const DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (n) return n;
  DWORD windows = 0;
  EnumWindows(&CountTop, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

uint64_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof m;
  if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m) &&
      m.PrivateUsage)
    return m.PrivateUsage;
  // Under Wine: the committed private pages, region by region. (Not the Unix
  // status file: Wine's server opens files, so "self" there is the server.)
  uint64_t total = 0;
  MEMORY_BASIC_INFORMATION r;
  for (const char* p = nullptr; VirtualQuery(p, &r, sizeof r) == sizeof r;
       p = static_cast<const char*>(r.BaseAddress) + r.RegionSize)
    if (r.State == MEM_COMMIT && r.Type == MEM_PRIVATE) total += r.RegionSize;
  return total;
}

}  // namespace dovra::test
