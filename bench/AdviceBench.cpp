// The cost of explaining a refused program: each input is tried by regenerating the whole
// program, so the time grows with the layer count and the number of inputs the panel type has.
#include <benchmark/benchmark.h>

#include "preview/RefusalAdvice.h"
#include "project/ProjectData.h"

namespace {

// The example projects' dimensions (millimetres), refused at the given layer count: the gutter
// by a left space of -5 mm (its first cut), the double slope by A = -400 (a move of the bottom
// layers).
void MakeRefused(TPanelsProject& project, TRoofPanelType type, std::int32_t layers) {
  project.SetPanelType(type);
  project.SetLayerCount(layers);
  project.SetElevation(2);
  if (type == ptGutter) {
    project.RoofPanel().SetDimA(60);
    project.RoofPanel().SetDimB(110);
    project.RoofPanel().SetDimC(80);
    project.RoofPanel().SetDimD(110);
    project.SetPanelLength(500);
    project.SetTopSpace(10);
    project.SetLeftSpace(-5);
  } else {
    project.RoofPanel().SetDimA(-400);
    project.RoofPanel().SetDimB(80);
    project.RoofPanel().SetDimC(100);
    project.RoofPanel().SetDimD(60);
    project.SetPanelLength(1000);
    project.SetFrontBaseWidth(1000);
    project.SetRearBaseWidth(1000);
    project.SetTopSpace(5);
    project.SetLeftSpace(2);
  }
  project.ComputeFaces();
}

void BM_ExplainRefusal(benchmark::State& state) {
  TPanelsProject project;
  MakeRefused(project, static_cast<TRoofPanelType>(state.range(0)),
              static_cast<std::int32_t>(state.range(1)));
  std::size_t inputs = 0;
  for (auto _ : state) {
    const auto advice = preview::ExplainRefusal(project);
    inputs = advice ? advice->inputs.size() : 0;
    benchmark::DoNotOptimize(inputs);
  }
  state.counters["inputs named"] = static_cast<double>(inputs);
}
BENCHMARK(BM_ExplainRefusal)
    ->ArgNames({"type", "layers"})
    ->ArgsProduct({{ptGutter, ptDoubleSlope}, {1, 20, 300, 1000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
