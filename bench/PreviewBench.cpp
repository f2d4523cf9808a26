// The preview's work at the layer limit, in the process: the state (the program generated, read
// back and checked) and the window's layout of it, for the example gutter at 1 to 100 000
// layers.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "preview/PreviewLayout.h"
#include "preview/PreviewState.h"
#include "project/ProjectData.h"

namespace {

TPanelsProject ExampleGutter(std::int32_t layers) {
  std::ifstream in(TECTOPLAN_EXAMPLES_DIR "/gutter.tcj", std::ios::binary);
  TPanelsProject project;
  project.OpenFromText(std::string(std::istreambuf_iterator<char>(in), {}));
  project.SetLayerCount(layers);
  project.ComputeFaces();
  return project;
}

void BM_PreviewState(benchmark::State& state) {
  const TPanelsProject project = ExampleGutter(static_cast<std::int32_t>(state.range(0)));
  for (auto _ : state) {
    preview::TPreviewState made = preview::BuildPreviewState(project, TTextLanguage::English);
    benchmark::DoNotOptimize(made.program.statementCount);
  }
}
BENCHMARK(BM_PreviewState)->Arg(2)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PreviewLayout(benchmark::State& state) {
  const TPanelsProject project = ExampleGutter(static_cast<std::int32_t>(state.range(0)));
  const preview::TPreviewState made = preview::BuildPreviewState(project, TTextLanguage::English);
  preview::TPreviewInput input;
  input.workArea = made.workArea;
  input.language = TTextLanguage::English;
  for (auto _ : state) {
    preview::TPreviewLayout layout =
        preview::LayOutProgram(made.program, made.report, input, preview::WindowTarget(860, 500));
    benchmark::DoNotOptimize(layout.outlines.size());
  }
}
BENCHMARK(BM_PreviewLayout)->Arg(2)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
