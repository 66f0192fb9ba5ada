// How quickly the full-screen saver ends on Escape, against a minimal program
// that does nothing but end on Escape, in the same run: the time from posting
// the key to the end of the process, median of 20 each.
//   escape_reaction DOVRA.scr [RUNS]     (escape_baseline.exe beside this program)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Starts the program, waits for its window, lets it run a second, posts Escape
// and times the end of the process. Negative when something went wrong.
double OneRun(const std::string& exe, const std::string& args, const wchar_t* caption) {
  std::string cmd = "\"" + exe + "\" " + args;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  HWND w = nullptr;
  for (int i = 0; i < 1000 && !w; ++i) {
    w = FindWindowW(nullptr, caption);
    if (!w || !IsWindowVisible(w)) { w = nullptr; Sleep(10); }
  }
  double ms = -1;
  if (w) {
    Sleep(1000);
    const double t0 = Now();
    PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0) ms = Now() - t0;
  }
  if (ms < 0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 20;
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string baseline(self);
  baseline = baseline.substr(0, baseline.find_last_of('\\')) + "\\escape_baseline.exe";
  std::vector<double> saver, minimal;
  for (int i = 0; i < runs; ++i) {
    const double a = OneRun(argv[1], "/s", L"Vormix_Main");
    const double b = OneRun(baseline, "", L"escape_baseline");
    if (a >= 0) saver.push_back(a);
    if (b >= 0) minimal.push_back(b);
  }
  const double ms = Median(saver), base = Median(minimal);
  std::printf("Escape to process end, median of %zu: Dovra %.1f ms\n", saver.size(), ms);
  std::printf("Escape to process end, median of %zu: minimal program %.1f ms\n", minimal.size(), base);
  std::printf("ratio: %.2f, difference: %.1f ms\n", ms / base, ms - base);
  return 0;
}
