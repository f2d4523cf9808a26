// Time and peak heap of the readers of outside files on hostile sizes: the project-file parser
// on a file of line ends (1 MiB, the largest file Open takes, and 100 MB, called directly), and
// the metafile reader on a 16 MiB picture that keeps creating and deleting objects.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "metafile/WmfFormat.h"
#include "metafile/WmfReader.h"
#include "project/ProjectData.h"

namespace {
// Bytes of heap in use and the most in use since the last reset, as malloc counts them.
std::atomic<std::size_t> gInUse{0};
std::atomic<std::size_t> gPeak{0};
}  // namespace

// The replaced operator new takes its memory from malloc, so free is the matching release.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) {
    throw std::bad_alloc();
  }
  const std::size_t now = gInUse.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
  std::size_t peak = gPeak.load();
  while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
  }
  return p;
}
void operator delete(void* p) noexcept {
  if (p != nullptr) {
    gInUse.fetch_sub(malloc_usable_size(p));
    std::free(p);
  }
}
void operator delete(void* p, std::size_t) noexcept {
  operator delete(p);
}

namespace {

constexpr double kMiB = 1 << 20;

// The heap the parser takes above what was in use when it was called (its input included).
class PeakScope {
 public:
  PeakScope() : base_(gInUse.load()) { gPeak.store(base_); }
  std::size_t Extra() const { return gPeak.load() - base_; }

 private:
  std::size_t base_;
};

// A project file of the given size: the section, two keys, then to the size either line ends
// (each an empty line) or lines of a key that no read asks for (each looked at by every read).
std::string ProjectFile(std::size_t size, bool keyLines) {
  std::string text = "[Project]\r\nPanel type=2\r\nLayer count=3\r\n";
  if (keyLines) {
    constexpr std::string_view kLine = "Vertex Z=12.5\r\n";
    while (text.size() + kLine.size() <= size) {
      text += kLine;
    }
  }
  text.resize(size, '\n');
  return text;
}

void BM_ProjectFileParser(benchmark::State& state) {
  const std::string file =
      ProjectFile(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
  std::size_t extra = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::string input = file;
    TPanelsProject project;
    state.ResumeTiming();
    const PeakScope peak;
    project.OpenFromText(std::move(input));
    extra = std::max(extra, peak.Extra());
    benchmark::DoNotOptimize(project.LayerCount());
  }
  state.counters["input_MiB"] = static_cast<double>(file.size()) / kMiB;
  state.counters["peak_over_input_KiB"] = static_cast<double>(extra) / 1024;
  state.counters["peak_per_input_byte"] =
      static_cast<double>(file.size() + extra) / static_cast<double>(file.size());
}
BENCHMARK(BM_ProjectFileParser)
    ->ArgNames({"bytes", "key_lines"})
    ->Args({1 << 20, 0})
    ->Args({1 << 20, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ProjectFileParser)
    ->ArgNames({"bytes", "key_lines"})
    ->Args({100'000'000, 0})
    ->Args({100'000'000, 1})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// The largest picture the reader takes: a table of 65535 objects filled with pens, then, to the
// end, the pen in the last slot deleted and a new one created, so that the lowest free slot is
// always the last.
std::vector<std::uint8_t> ChurnedPicture() {
  constexpr unsigned kObjects = 65535;
  std::vector<std::uint8_t> out;
  Put32(out, wmf::kPlaceableKey);
  for (unsigned w : {0u, 0u, 0u, 1000u, 800u, 1440u, 0u, 0u, 0u}) {
    Put16(out, w);
  }
  for (unsigned w : {1u, 9u, 0x0300u}) {
    Put16(out, w);
  }
  Put32(out, 0);
  Put16(out, kObjects);
  Put32(out, 8);
  Put16(out, 0);
  const auto createPen = [&out] {
    Put32(out, 8);
    Put16(out, wmf::kCreatePenIndirect);
    for (unsigned w : {0u, 1u, 0u, 0x00FFu, 0u}) {
      Put16(out, w);
    }
  };
  for (unsigned i = 0; i < kObjects; ++i) {
    createPen();
  }
  constexpr std::size_t kPair = 8 + 16, kEnd = 6;
  while (out.size() + kPair + kEnd <= kWmfMaxFileSize) {
    Put32(out, 4);
    Put16(out, wmf::kDeleteObject);
    Put16(out, kObjects - 1);
    createPen();
  }
  Put32(out, 3);
  Put16(out, wmf::kEof);
  return out;
}

void BM_MetafileChurn(benchmark::State& state) {
  const std::vector<std::uint8_t> picture = ChurnedPicture();
  std::size_t extra = 0;
  for (auto _ : state) {
    const PeakScope peak;
    TWmfDrawing drawing = ReadWmf(picture);
    extra = std::max(extra, peak.Extra());
    benchmark::DoNotOptimize(drawing.items.size());
  }
  state.counters["input_MiB"] = static_cast<double>(picture.size()) / kMiB;
  state.counters["peak_over_input_MiB"] = static_cast<double>(extra) / kMiB;
}
BENCHMARK(BM_MetafileChurn)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
