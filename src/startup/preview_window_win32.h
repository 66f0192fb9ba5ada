// Vormix_R: the still picture shown inside the display settings' preview pane.
#pragma once
#include <windows.h>

#include "toolkit/program_win32.h"
#include "toolkit/window_win32.h"

namespace dovra {

class Vormix_R : public Window {
 public:
  static constexpr const char* kCaption = "Preview Window";
  // Creates the window hidden, black, with the preview still.
  bool Load();
  // Places the picture control (here: the area the still is drawn into).
  // A pane larger than the still's own 152 x 112 pixels (a scaled screen)
  // shows the still made at twice the size.
  void PlaceImage(int width, int height);

 protected:
  void Form_Paint(HDC dc) override;
  void Form_Unload(int16_t& cancel) override;
  void Form_Destroyed() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  Picture Img_Prev;
  int imageW_ = 0, imageH_ = 0;
};

// Runs the preview in the host's pane until the window is gone; the preview
// never outlives its pane.
[[noreturn]] void RunPreview(uint32_t hostHandle);

}  // namespace dovra
