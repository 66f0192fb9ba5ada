// The scene on a screen of s times the usual density (its DPI / 96): pictures
// and balls s times their size, projected positions spread by s around the
// centre, stars squares of round(s) pixels. Every per-frame quantity (zoom,
// angles, depths, star speeds) stays as it is; scaling happens only where
// pixels are placed. At s = 1 nothing at all changes.
#pragma once
#include <cstdint>

namespace dovra {

class SceneScale {
 public:
  SceneScale() = default;
  // A density of 0 or less (the system could not say) counts as 96.
  static SceneScale FromDpi(int32_t dpi);
  double Factor() const { return s_; }
  bool IsOne() const { return s_ == 1.0; }
  // round(pixels * s), halves to even; never 0 for a positive size.
  int32_t Size(int32_t pixels) const;
  // The side of a star's square: round(s), at least 1.
  int32_t StarSide() const;
  // Which stored picture to scale from: the nearest one at least as large,
  // 1 (as made) up to s = 1, else 2 (made at twice the size).
  int32_t PictureFactor() const { return s_ <= 1.0 ? 1 : 2; }
  // A projected position moved s times as far from the centre of an area
  // `extent` pixels long (the centre the projection used: extent / 2).
  double Spread(float screen, int32_t extent) const;

 private:
  explicit SceneScale(double s) : s_(s) {}
  double s_ = 1.0;
};

}  // namespace dovra
