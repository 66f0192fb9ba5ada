// Command: the owner-drawn push button, a child window of its own with a
// persistent drawing surface that its paint handling copies to the screen, and
// a windowless caption label drawn over it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "controls/button_face_win32.h"
#include "controls/button_state.h"
#include "surface/surface_win32.h"
#include "toolkit/accessible_win32.h"
#include "toolkit/system_colours.h"
#include "toolkit/handles_win32.h"
#include "toolkit/program_win32.h"

namespace dovra {

class Command : public ButtonHost, private AccessibleSource {
 public:
  Command();
  ~Command() override;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // Creates the child window at a position and size in twips and loads its
  // properties from the container's store.
  bool Create(HWND parent, double left, double top, double width, double height, int id,
              const PropertyStore& store, const FontDesc& ambientFont);
  HWND hwnd() const { return hwnd_; }
  CommandButton& Button() { return button_; }
  // Lays the control out again at the layout density now in force (its
  // dialog moved to a monitor of another scale): place, size, faces, font,
  // and the look it showed.
  void Rescale();
  void Initialize() { button_.Initialize(); }

  std::function<void()> Click;

  // ButtonHost.
  void DrawFace(Look look, bool hoverGradient) override;
  void EnableCaption(bool enabled) override;
  void SetCaptionColour(uint32_t colour) override;
  void RaiseClick() override;
  void StartPoll(uint32_t intervalMs) override;
  bool CursorOverOwnWindow() override;
  void PropertyChanged(const char* name) override;

  // The face as last drawn, for tests: the persistent surface.
  const Vormix_C1& Surface() const { return surface_; }
  Look LastLook() const { return lastLook_; }

 private:
  // To accessibility clients: a push button named by its caption, unavailable
  // while not enabled; its default action clicks it (no look changes).
  acc::Item Self() override;
  void DoDefaultAction(size_t part) override;

  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC dc);
  void UpdateFont();
  void LoadFaces();
  RECT PixelBox() const;

  HWND hwnd_ = nullptr;
  CommandButton button_;
  Picture faces_[6];
  int faceFactor_ = 1;  // the faces' pictures are made at 1 or 2 times their size
  Vormix_C1 surface_;
  FaceGeometry geometry_;
  UniqueFont font_;
  bool captionEnabled_ = true;
  COLORREF captionColour_ = 0;
  Look lastLook_ = Look::Normal;
  bool lastHover_ = false;
  ColourScheme scheme_;  // as the last look was drawn in
  double box_[4] = {};  // left, top, width, height in twips
  AccessibleWindow accessible_{*this};
};

}  // namespace dovra
