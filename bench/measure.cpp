#include "bench/measure.h"

#include <sys/prctl.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace quenzart::bench {
namespace {

double Quantile(const std::vector<double>& sorted, double q) {
  const double position = q * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(position));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  const double fraction = position - static_cast<double>(below);
  return sorted[below] + (sorted[above] - sorted[below]) * fraction;
}

// Columns line up by characters, not bytes: the table holds "×", "–" and "≤".
std::size_t DisplayWidth(const std::string& text) {
  std::size_t width = 0;
  for (const char c : text) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return width;
}

std::string Pad(const std::string& text, std::size_t width, bool right) {
  const std::size_t have = DisplayWidth(text);
  const std::string fill(have < width ? width - have : 0, ' ');
  return right ? fill + text : text + fill;
}

std::string Format(double value) {
  char text[32];
  const double magnitude = std::fabs(value);
  const char* format = magnitude >= 100 ? "%.0f" : magnitude >= 10 ? "%.1f" : "%.2f";
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Range(double low, double high) {
  return Format(low) + "–" + Format(high);
}

}  // namespace

Summary Summarize(std::vector<double> values) {
  Summary summary;
  if (values.empty()) return summary;
  std::sort(values.begin(), values.end());
  summary.median = Quantile(values, 0.5);
  summary.q1 = Quantile(values, 0.25);
  summary.q3 = Quantile(values, 0.75);
  summary.min = values.front();
  summary.max = values.back();
  return summary;
}

void PrintTable(const std::vector<Figure>& figures) {
  const std::vector<std::string> header{"figure",   "unit",    "runs",  "median",
                                        "IQR",      "min–max", "floor", "floor IQR",
                                        "vs floor", "goal",    "met"};
  std::vector<std::vector<std::string>> rows{header};
  for (const Figure& figure : figures) {
    const Summary product = Summarize(figure.product);
    const Summary floor = Summarize(figure.floor);
    const double ratio = floor.median > 0 ? product.median / floor.median : 0;
    std::string comparison = "×" + Format(ratio);
    std::string goal = "—";
    std::string met = "—";
    switch (figure.goal) {
      case Figure::Goal::None:
        break;
      case Figure::Goal::Excess: {
        const double excess = product.median - floor.median;
        comparison = (excess >= 0 ? "+" : "") + Format(excess) + " " + figure.unit;
        break;
      }
      case Figure::Goal::RatioAtMost:
        goal = "≤ ×" + Format(figure.limit);
        met = ratio <= figure.limit ? "yes" : "NO";
        break;
      case Figure::Goal::ExcessAtMost: {
        const double excess = product.median - floor.median;
        comparison = (excess >= 0 ? "+" : "") + Format(excess) + " " + figure.unit;
        goal = "≤ +" + Format(figure.limit) + " " + figure.unit;
        met = excess <= figure.limit ? "yes" : "NO";
        break;
      }
    }
    rows.push_back({figure.name, figure.unit, std::to_string(figure.product.size()),
                    Format(product.median), Range(product.q1, product.q3),
                    Range(product.min, product.max), Format(floor.median),
                    Range(floor.q1, floor.q3), comparison, goal, met});
  }
  std::vector<std::size_t> widths(header.size(), 0);
  for (const auto& row : rows) {
    for (std::size_t column = 0; column < row.size(); ++column) {
      widths[column] = std::max(widths[column], DisplayWidth(row[column]));
    }
  }
  auto print = [&](const std::vector<std::string>& row) {
    std::string line;
    for (std::size_t column = 0; column < row.size(); ++column) {
      if (column > 0) line += "  ";
      line += Pad(row[column], widths[column], column >= 2 && column <= 7);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::printf("%s\n", line.c_str());
  };
  print(rows.front());
  std::string rule;
  std::size_t total = 0;
  for (const std::size_t width : widths) total += width + 2;
  for (std::size_t i = 2; i < total; ++i) rule += "-";
  std::printf("%s\n", rule.c_str());
  for (std::size_t row = 1; row < rows.size(); ++row) print(rows[row]);
  std::fflush(stdout);
}

std::vector<std::string> DescribeMachine() {
  std::vector<std::string> lines;
  lines.push_back("cores online: " + std::to_string(sysconf(_SC_NPROCESSORS_ONLN)));
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      const auto colon = line.find(':');
      lines.push_back("CPU: " + (colon == std::string::npos ? line : line.substr(colon + 2)));
      break;
    }
  }
  utsname name{};
  if (uname(&name) == 0) {
    lines.push_back(std::string("kernel: ") + name.sysname + " " + name.release + " " +
                    name.machine);
  }
  return lines;
}

void BecomeSubreaper() {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
}

void ReapOneOrphan() {
  int status = 0;
  while (waitpid(-1, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace quenzart::bench
