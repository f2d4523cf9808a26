// Throughput of the cutting program generator per panel type and layer count, and of saving a
// large program. Heap allocations are counted to show that statements allocate nothing; the
// text's reservation is shown beside its size.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "project/ProjectData.h"

namespace {
std::atomic<std::size_t> gAllocations{0};
}  // namespace

// The replaced operator new takes its memory from malloc, so free is the matching release.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) {
    return p;
  }
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

// A project of the given type with workshop-like dimensions (millimetres).
void MakeProject(TPanelsProject& project, TRoofPanelType type, std::int32_t layers) {
  project.SetPanelType(type);
  project.RoofPanel().SetDimA(60);
  project.RoofPanel().SetDimB(110);
  project.RoofPanel().SetDimC(80);
  project.RoofPanel().SetDimD(110);
  project.SetPanelLength(1000.5);
  project.SetFrontBaseWidth(1000.5);
  project.SetRearBaseWidth(900.25);
  project.SetTopSpace(1.5);
  project.SetElevation(2);
  project.SetLeftSpace(2);
  project.SetLayerCount(layers);
  project.ComputeFaces();
}

void BM_GenerateProject(benchmark::State& state) {
  TPanelsProject project;
  MakeProject(project, static_cast<TRoofPanelType>(state.range(0)),
              static_cast<std::int32_t>(state.range(1)));
  std::size_t bytes = 0;
  const std::size_t allocationsBefore = gAllocations.load();
  for (auto _ : state) {
    // As the unattended run and the window generate: the gate's check of every move included.
    TPrjGenerator generator(project);
    GenerateCheckedProgram(generator);
    bytes = generator.FileData().size();
    benchmark::DoNotOptimize(generator.FileData().data());
  }
  const double allocations = static_cast<double>(gAllocations.load() - allocationsBefore);
  TPrjGenerator generator(project);
  GenerateCheckedProgram(generator);
  std::size_t statements = 0;
  for (const char c : generator.FileData()) {
    statements += c == '\n';
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  state.counters["statements"] = static_cast<double>(statements);
  state.counters["allocs/run"] = allocations / static_cast<double>(state.iterations());
  // The text's size and the room reserved for it: pages of the room never written are never
  // taken from the system.
  state.counters["MiB"] = static_cast<double>(bytes) / (1 << 20);
  state.counters["reserved MiB"] = static_cast<double>(generator.FileData().capacity()) / (1 << 20);
}
BENCHMARK(BM_GenerateProject)
    ->ArgNames({"type", "layers"})
    ->ArgsProduct({{ptFlat, ptGutter, ptSlope, ptDoubleSlopeNarrow}, {1, 100}});
// Every panel type at the layer limit.
BENCHMARK(BM_GenerateProject)
    ->ArgNames({"type", "layers"})
    ->ArgsProduct({{ptFlat, ptGutter, ptGutter3E, ptRidge, ptRidge3E, ptSlope, ptDoubleSlope,
                    ptDoubleSlopeNarrow},
                   {100000}})
    ->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
  TPanelsProject project;
  MakeProject(project, ptGutter, 100000);
  TPrjGenerator generator(project);
  generator.GenerateProject();
  char folder[] = "/tmp/tectoplan-bench-XXXXXX";
  const std::string target = std::string(::mkdtemp(folder)) + "/gutter.plt";
  for (auto _ : state) {
    generator.Save(target);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(generator.FileData().size() + 2) *
                          state.iterations());
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
