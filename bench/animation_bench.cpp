// One frame of the figure logic for the largest figure (shape 7, 171 balls):
// its motion, the projection of every ball and the life step.
#include <benchmark/benchmark.h>

#include "display/animation.h"

using namespace dovra;

static void BM_FigureFrameShape7(benchmark::State& state) {
  uint32_t now = 0;
  Vormix_C2 watch([&] { return now; });
  View view{0, 0, 0, kStartDistance};
  uint8_t shape = 7;
  VertexList list;
  LoadShape(list, shape);
  watch.StartWatch();
  for (auto _ : state) {
    AnimateShape(list, shape);
    ProjectVertices(list, 1920, 1080, view);
    ShapeLifeStep(view, shape, list, watch);
    benchmark::DoNotOptimize(list.Data());
  }
  state.SetItemsProcessed(state.iterations() * 171);
}
BENCHMARK(BM_FigureFrameShape7);
