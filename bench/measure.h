#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace quenzart::bench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Summary {
  double median = 0, q1 = 0, q3 = 0, min = 0, max = 0;
};

// Median, quartiles (linear interpolation) and extremes; all zero when empty.
Summary Summarize(std::vector<double> values);

// A figure of the product against its floor, measured run by run alike.
struct Figure {
  std::string name;
  std::string unit;
  std::vector<double> product;
  std::vector<double> floor;
  // How the figure is judged: the ratio of the medians, or their difference
  // (shown alone when it is no goal).
  enum class Goal { None, Excess, RatioAtMost, ExcessAtMost } goal = Goal::None;
  double limit = 0;
};

// Samples of a product and of its floor, taken in pairs.
struct PairedSamples {
  std::vector<double> product;
  std::vector<double> floor;
};

// Runs product and floor pairs times each, swapping their order every other
// run, so that noise that drifts over the run hits both alike.
template <typename Product, typename Floor>
void RunInterleaved(int pairs, Product&& product, Floor&& floor) {
  for (int run = 0; run < pairs; ++run) {
    if (run % 2 == 0) {
      product();
      floor();
    } else {
      floor();
      product();
    }
  }
}

// Prints the figures as one table, with a line per figure.
void PrintTable(const std::vector<Figure>& figures);

// Lines saying what machine the figures come from.
std::vector<std::string> DescribeMachine();

// Becomes the reaper of the orphans of its children (the detached launches),
// and reaps one of them, waiting for it.
void BecomeSubreaper();
void ReapOneOrphan();

}  // namespace quenzart::bench
