// One small move-only owner per handle type: each releases its handle exactly once.
#pragma once
#include <windows.h>

#include <utility>

namespace dovra {

template <typename H, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, H{}));
    return *this;
  }
  H Get() const { return h_; }
  H Release() { return std::exchange(h_, H{}); }
  void Reset(H h = H{}) {
    H old = std::exchange(h_, h);
    if (old) Traits::Close(old);
  }
  explicit operator bool() const { return h_ != H{}; }

 private:
  H h_{};
};

struct GdiObjectTraits { static void Close(HGDIOBJ h) { DeleteObject(h); } };
struct DcTraits { static void Close(HDC h) { DeleteDC(h); } };
struct FileTraits { static void Close(HANDLE h) { if (h != INVALID_HANDLE_VALUE) CloseHandle(h); } };
struct KernelTraits { static void Close(HANDLE h) { CloseHandle(h); } };
struct PowerNotifyTraits { static void Close(HPOWERNOTIFY h) { UnregisterPowerSettingNotification(h); } };

using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniqueMemDC = UniqueHandle<HDC, DcTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelTraits>;
using UniquePowerNotify = UniqueHandle<HPOWERNOTIFY, PowerNotifyTraits>;

// A file handle: INVALID_HANDLE_VALUE means none.
class UniqueFile {
 public:
  explicit UniqueFile(HANDLE h) : h_(h) {}
  ~UniqueFile() { if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_); }
  UniqueFile(const UniqueFile&) = delete;
  UniqueFile& operator=(const UniqueFile&) = delete;
  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

// A window DC obtained with GetDC, given back with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND w) : w_(w), dc_(GetDC(w)) {}
  ~WindowDC() { if (dc_) ReleaseDC(w_, dc_); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND w_;
  HDC dc_;
};

}  // namespace dovra
