// Runs every benchmark of the panel and prints one table: the median and
// spread of each figure over repeated runs, its floor measured in the same
// runs (interleaved run by run, the order swapped every other run), and how
// the two compare against the goal.
//
//   quenzart-bench [--quick]
//
// --quick runs each figure a few times only, to see that everything works.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "bench/restore_bench.h"
#include "bench/start_bench.h"
#include "bench/window_runs.h"

namespace {

namespace fs = std::filesystem;
using namespace quenzart::bench;

struct Plan {
  int startupPairs = 25;
  int memoryPairs = 15;
  int memoryIdleMs = 500;
  int startPairs = 30;
  int typicalRestorePairs = 30;
  int typicalRestoreBatch = 200;
  int largeRestorePairs = 15;
};

std::string MakeWorkDirectory() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/quenzart-bench.XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a directory under " + pattern);
  }
  return pattern;
}

// Under a real display when there is one, else on Qt's offscreen platform.
std::string ChooseDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  if (chosen != nullptr && *chosen != '\0')
    return std::string("QT_QPA_PLATFORM=") + chosen + " as set";
  if (x11 != nullptr && *x11 != '\0') return std::string("DISPLAY=") + x11;
  if (wayland != nullptr && *wayland != '\0') return std::string("WAYLAND_DISPLAY=") + wayland;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  return "no DISPLAY: QT_QPA_PLATFORM=offscreen";
}

int Run(const Plan& plan) {
  const std::string display = ChooseDisplay();
  BecomeSubreaper();
  const std::string work = MakeWorkDirectory();
  std::vector<Figure> figures;
  std::string platform;
  std::string qtVersion;

  {
    // Both window programs start in a directory with a saved-settings file,
    // so that the panel's restore runs as it does for an operator.
    const std::string directory = work + "/window";
    fs::create_directories(directory);
    FILE* saved = std::fopen((directory + "/quenzartsrv.ini").c_str(), "wb");
    const std::string bytes = TypicalSavedSettings();
    std::fwrite(bytes.data(), 1, bytes.size(), saved);
    std::fclose(saved);

    // Warm the page cache and the font caches for both alike.
    const WindowRun warm = RunWindowProgram(QUENZART_BENCH_PANEL, directory, 0);
    RunWindowProgram(QUENZART_BENCH_BARE, directory, 0);
    platform = warm.platform;
    qtVersion = warm.qtVersion;

    Figure paint{"start-up to first paint", "ms", {}, {}, Figure::Goal::RatioAtMost, 1.10};
    Figure lifetime{"start-up, whole process (to exit)", "ms", {}, {}, Figure::Goal::None, 0};
    Figure cpu{"start-up, processor time (to exit)", "ms", {}, {}, Figure::Goal::None, 0};
    auto runPanel = [&] {
      const WindowRun run = RunWindowProgram(QUENZART_BENCH_PANEL, directory, 0);
      paint.product.push_back(run.firstPaintMs);
      lifetime.product.push_back(run.lifetimeMs);
      cpu.product.push_back(run.cpuMs);
    };
    auto runBare = [&] {
      const WindowRun run = RunWindowProgram(QUENZART_BENCH_BARE, directory, 0);
      paint.floor.push_back(run.firstPaintMs);
      lifetime.floor.push_back(run.lifetimeMs);
      cpu.floor.push_back(run.cpuMs);
    };
    RunInterleaved(plan.startupPairs, runPanel, runBare);
    figures.push_back(paint);
    figures.push_back(lifetime);
    figures.push_back(cpu);

    Figure memory{
        "peak resident memory, shown and idle", "MiB", {}, {}, Figure::Goal::ExcessAtMost, 5};
    Figure own{"private resident memory (RssAnon), idle", "MiB", {}, {}, Figure::Goal::Excess, 0};
    RunInterleaved(
        plan.memoryPairs,
        [&] {
          const WindowRun run =
              RunWindowProgram(QUENZART_BENCH_PANEL, directory, plan.memoryIdleMs);
          memory.product.push_back(run.peakMib);
          own.product.push_back(run.privateMib);
        },
        [&] {
          const WindowRun run = RunWindowProgram(QUENZART_BENCH_BARE, directory, plan.memoryIdleMs);
          memory.floor.push_back(run.peakMib);
          own.floor.push_back(run.privateMib);
        });
    figures.push_back(memory);
    figures.push_back(own);
  }

  {
    const PairedSamples start = RunStartBench(work + "/start", plan.startPairs);
    figures.push_back({"Start (command1_Click)", "ms", start.product, start.floor,
                       Figure::Goal::RatioAtMost, 1.5});
  }
  {
    const PairedSamples typical =
        RunRestoreBench(work + "/restore-typical", TypicalSavedSettings(), plan.typicalRestorePairs,
                        plan.typicalRestoreBatch);
    auto microseconds = [](std::vector<double> values) {
      for (double& value : values) value *= 1000;
      return values;
    };
    figures.push_back({"restore, typical saved settings", "µs", microseconds(typical.product),
                       microseconds(typical.floor), Figure::Goal::None, 0});
    const PairedSamples large = RunRestoreBench(
        work + "/restore-10mb", HandEditedSettings(10u << 20), plan.largeRestorePairs, 1);
    figures.push_back({"restore, 10 MB hand-edited file", "ms", large.product, large.floor,
                       Figure::Goal::RatioAtMost, 2.0});
  }

  std::error_code ignored;
  fs::remove_all(work, ignored);

  for (const std::string& line : DescribeMachine()) std::printf("%s\n", line.c_str());
  std::printf("Qt: %s, platform %s (%s)\n\n", qtVersion.c_str(), platform.c_str(), display.c_str());
  PrintTable(figures);
  std::printf(
      "\nFloors: start-up and memory: a bare 646x510 window with one label in the panel's font;\n"
      "Start: the same two files' bytes written with the same durability and one detached\n"
      "launch of the same program; restore: one read and one parse of the decoded file.\n");
  for (const Figure& figure : figures) {
    if (figure.goal != Figure::Goal::RatioAtMost && figure.goal != Figure::Goal::ExcessAtMost) {
      continue;
    }
    const Summary product = Summarize(figure.product);
    const Summary floor = Summarize(figure.floor);
    const bool met = figure.goal == Figure::Goal::RatioAtMost
                         ? product.median <= figure.limit * floor.median
                         : product.median - floor.median <= figure.limit;
    if (!met) return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Plan plan;
  for (int index = 1; index < argc; ++index) {
    if (std::strcmp(argv[index], "--quick") == 0) {
      plan = Plan{3, 2, 200, 3, 3, 20, 2};
    } else {
      std::fprintf(stderr, "usage: %s [--quick]\n", argv[0]);
      return 64;
    }
  }
  try {
    return Run(plan);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "quenzart-bench: %s\n", failure.what());
    return 1;
  }
}
