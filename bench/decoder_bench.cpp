// decoder_bench.cpp — how fast orvo.dll and orvu.dll decode a 10-minute track into the track
// loader's chunk buffer, against the flac tool and sox decoding the same files in the same run.
// The files are made on the first run (sox, flac) and kept in the build folder.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/decoder_engine.h"
#include "tests/support/decoder_fixtures.h"
#include "tests/support/decoder_libraries.h"

namespace {
namespace fs = std::filesystem;
using nf::test::Quoted;
using nf::test::RunTool;

constexpr std::int32_t ChunkLimit = 81'607'680;  // the track loader's chunk
constexpr int TrackSeconds = 600;
constexpr int Repetitions = 5;  // the machine is shared: the fastest run is the fairest

struct Track {
  const char* name;
  int rate;
  int bits;
};
const Track Tracks[] = {{"cd-16-44k", 44100, 16}, {"hires-24-96k", 96000, 24}};

fs::path DataFolder() {
  return NF_BENCH_DATA_FOLDER;
}

// Music-like content (pink noise well below full scale) compresses about as real music does.
bool MakeTrack(const Track& track) {
  const fs::path wav = DataFolder() / (std::string(track.name) + ".wav");
  const fs::path flac = DataFolder() / (std::string(track.name) + ".flac");
  if (fs::exists(wav) && fs::exists(flac)) return true;
  std::fprintf(stderr, "making %s (once)...\n", track.name);
  fs::create_directories(DataFolder());
  return RunTool("sox -n -r " + std::to_string(track.rate) + " -c 2 -b " +
                 std::to_string(track.bits) + " " + Quoted(wav) + " synth " +
                 std::to_string(TrackSeconds) + " pinknoise vol 0.25") &&
         RunTool("flac -s -f " + Quoted(wav) + " -o " + Quoted(flac));
}

// As the track loader reads a track: the whole buffer asked for each time, until less comes.
void DecodeWithEngine(benchmark::State& state, fs::path file) {
  const nf::engine::DecoderEngine& orvo = nf::test::RealDecoder();
  std::vector<std::uint8_t> buffer(ChunkLimit, 1);  // touched, so no page faults are timed
  for (auto _ : state) {
    const std::uint32_t handle = nf::test::OpenStream(file);
    if (!handle) {
      state.SkipWithError("the engine refused the file");
      return;
    }
    std::int64_t bytes = 0;
    for (std::int32_t got = ChunkLimit; got == ChunkLimit;) {
      got = orvo.Orvo_ChannelGetData(handle, buffer.data(), ChunkLimit);
      bytes += std::max(got, 0);
    }
    benchmark::DoNotOptimize(buffer.data());
    const bool whole = bytes == orvo.Orvo_ChannelGetLength(handle, 0);
    orvo.Orvo_StreamFree(handle);
    if (!whole) {
      state.SkipWithError("the track was not decoded to its end");
      return;
    }
  }
  state.counters["x_real_time"] =
      benchmark::Counter(TrackSeconds, benchmark::Counter::kIsIterationInvariantRate);
}

// What a probe costs: opening a stream (its exact length included) and freeing it.
void OpenAndFree(benchmark::State& state, fs::path file) {
  const nf::engine::DecoderEngine& orvo = nf::test::RealDecoder();
  for (auto _ : state) {
    const std::uint32_t handle = nf::test::OpenStream(file, nf::engine::OrvoProbeFlags);
    if (!handle) {
      state.SkipWithError("the engine refused the file");
      return;
    }
    orvo.Orvo_StreamFree(handle);
  }
}

void DecodeWithTool(benchmark::State& state, std::string command) {
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!RunTool(command)) {
      state.SkipWithError(("failed: " + command).c_str());
      return;
    }
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["x_real_time"] =
      benchmark::Counter(TrackSeconds, benchmark::Counter::kIsIterationInvariantRate);
}

// Keeps the fastest repetition of each benchmark, for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> fastest_seconds;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const double seconds =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      auto [it, added] = fastest_seconds.try_emplace(run.run_name.function_name, seconds);
      if (!added) it->second = std::min(it->second, seconds);
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void PrintSummary(const SummaryReporter& reporter) {
  auto speed = [&](const std::string& name) {
    const auto found = reporter.fastest_seconds.find(name);
    return found == reporter.fastest_seconds.end() ? 0.0 : TrackSeconds / found->second;
  };
  std::printf("\n| file | engine | flac -d | sox | engine / flac -d | engine / sox |\n");
  std::printf("|---|---:|---:|---:|---:|---:|\n");
  for (const Track& track : Tracks) {
    for (const char* extension : {".flac", ".wav"}) {
      const std::string file = std::string(track.name) + extension;
      const double engine = speed("engine/" + file);
      const double flac = speed("flac-d/" + file);
      const double sox = speed("sox/" + file);
      auto cell = [](double x) { return x > 0 ? std::to_string(static_cast<int>(x)) + "x" : "-"; };
      auto ratio = [&](double peer) {
        char text[16];
        std::snprintf(text, sizeof text, "%.2f", engine / peer);
        return peer > 0 && engine > 0 ? std::string(text) : std::string("-");
      };
      std::printf("| %s | %s | %s | %s | %s | %s |\n", file.c_str(), cell(engine).c_str(),
                  cell(flac).c_str(), cell(sox).c_str(), ratio(flac).c_str(), ratio(sox).c_str());
    }
  }
  std::printf("\nx real time = %d s of audio / fastest of the repetitions\n", TrackSeconds);
  std::printf("\nprobe (open with the exact length, then free):");
  for (const auto& [name, seconds] : reporter.fastest_seconds)
    if (name.starts_with("probe/")) std::printf(" %s %.0f us;", name.c_str() + 6, seconds * 1e6);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  for (const Track& track : Tracks)
    if (!MakeTrack(track)) {
      std::fprintf(stderr, "could not make the benchmark files with sox and flac\n");
      return 1;
    }
  for (const Track& track : Tracks) {
    for (const char* extension : {".flac", ".wav"}) {
      const std::string file = std::string(track.name) + extension;
      const fs::path path = DataFolder() / file;
      RunTool("cat " + Quoted(path) + " > /dev/null");  // every decoder reads from the cache
      benchmark::RegisterBenchmark(("engine/" + file).c_str(), DecodeWithEngine, path)
          ->Unit(benchmark::kMillisecond)
          ->Iterations(1)
          ->Repetitions(Repetitions)
          ->UseRealTime();
      benchmark::RegisterBenchmark(("probe/" + file).c_str(), OpenAndFree, path)
          ->Unit(benchmark::kMicrosecond)
          ->UseRealTime();
      if (std::string(extension) == ".flac")
        benchmark::RegisterBenchmark(
            ("flac-d/" + file).c_str(), DecodeWithTool,
            "flac -d -s -c --force-raw-format --endian=little --sign=signed " + Quoted(path) +
                " > /dev/null")
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(Repetitions)
            ->UseManualTime();
      benchmark::RegisterBenchmark(
          ("sox/" + file).c_str(), DecodeWithTool,
          "sox " + Quoted(path) + " -t raw -e floating-point -b 32 /dev/null")
          ->Unit(benchmark::kMillisecond)
          ->Iterations(1)
          ->Repetitions(Repetitions)
          ->UseManualTime();
    }
  }
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintSummary(reporter);
  benchmark::Shutdown();
  return 0;
}
