// The balls of a figure and the eleven built-in figures.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace dovra {

// One ball (or one star): model position, projected position and depth,
// the drawn mark of the current frame and the state of the figure's own motion.
struct Vertex {
  float X = 0, Y = 0, Z = 0;
  float ScreenX = 0, ScreenY = 0, Depth = 0;
  int16_t Drawn = 0;      // 16-bit boolean: 0 or -1
  uint8_t MoveState = 0;
};

// Balls are numbered from 1, because the motions address them by position;
// position 0 always exists and is never projected, drawn or moved.
class VertexList {
 public:
  VertexList() : items_(1) {}
  void Clear() { items_.resize(1); items_[0] = Vertex{}; }
  void Append(const Vertex& v) { items_.push_back(v); }
  int32_t Last() const { return static_cast<int32_t>(items_.size()) - 1; }  // 0 when empty
  bool Empty() const { return items_.size() <= 1; }
  Vertex& operator[](int32_t i) { return items_[static_cast<size_t>(i)]; }
  const Vertex& operator[](int32_t i) const { return items_[static_cast<size_t>(i)]; }
  Vertex* Data() { return items_.data(); }
  void Reserve(size_t balls) { items_.reserve(balls + 1); }

 private:
  std::vector<Vertex> items_;
};

constexpr uint8_t kLastShape = 10;

// Sine and cosine of an angle in degrees (a * atan(1) / 45 radians).
double SinDeg(double a);
double CosDeg(double a);

// Appends one ball at (x, y, z) with every other field zero.
void AddVertex(VertexList& list, float x, float y, float z);

// Empties the list and appends the balls of figure shapeNo in their fixed order.
// A number above 10 leaves the list empty.
void LoadShape(VertexList& list, uint8_t shapeNo);

}  // namespace dovra
