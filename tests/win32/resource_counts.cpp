#include "win32/resource_counts.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
  // Under Wine, Z: is the Unix root: read this process's data size there.
  FILE* f = std::fopen("Z:\\proc\\self\\status", "r");
  if (!f) return 0;
  char line[256];
  uint64_t kb = 0;
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, "VmData:", 7) == 0) kb = std::strtoull(line + 7, nullptr, 10);
  std::fclose(f);
  return kb * 1024;
}

}  // namespace dovra::test
