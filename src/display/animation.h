// The figures' own motions, the grow-turn-shrink life of a figure and the
// perspective projection shared by the balls and the star field.
#pragma once
#include <cstdint>

#include "display/shape_model.h"
#include "display/stopwatch.h"

namespace dovra {

struct View {
  float Azimuth = 0;    // turn of the viewer about the z axis, degrees
  float Elevation = 0;  // height angle above the x-y plane, degrees
  float Zoom = 0;       // a length L at the origin is drawn L * Zoom / Distance pixels long
  float Distance = 0;   // viewer to origin
};

constexpr float kStartDistance = 10000.0f;
constexpr int32_t kShapeLifeMs = 20000;

// One frame of figure shapeNo's own motion. Balls are processed in ascending
// position, so a state changed for one ball is seen by those after it.
void AnimateShape(VertexList& list, uint8_t shapeNo);

// Writes ScreenX, ScreenY and Depth of positions 1..last; position 0 is skipped.
void ProjectVertices(Vertex* list, int32_t last, int32_t W, int32_t H, float azimuth,
                     float elevation, float zoom, float distance);
inline void ProjectVertices(VertexList& list, int32_t W, int32_t H, const View& v) {
  ProjectVertices(list.Data(), list.Last(), W, H, v.Azimuth, v.Elevation, v.Zoom, v.Distance);
}

enum class LifePhase { Growing, Shrinking, NextShape };

// The once-per-frame life step: grow and turn for 20 s, then shrink, then load
// the next figure (10 is followed by 0) and restart the watch.
LifePhase ShapeLifeStep(View& view, uint8_t& shapeNo, VertexList& list, Vormix_C2& watch);

}  // namespace dovra
