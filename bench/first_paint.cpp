#include "bench/first_paint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace quenzart::bench {
namespace {

WindowRunOptions options;

std::int64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// A field of /proc/self/status in KiB, or -1.
long StatusKib(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  const std::string format = std::string(field) + ": %ld kB";
  long kib = -1;
  char line[256];
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::sscanf(line, format.c_str(), &kib) == 1) break;
  }
  std::fclose(status);
  return kib;
}

bool TakeNumber(const char* argument, const char* prefix, long long& value) {
  const std::size_t length = std::strlen(prefix);
  if (std::strncmp(argument, prefix, length) != 0) return false;
  value = std::stoll(argument + length);
  return true;
}

void AfterIdle() {
  // The peak counts every page mapped, the pages of the font files that the
  // kernel maps around each glyph read among them; RssAnon is the memory of
  // the process's own.
  std::printf("peak_rss_kib=%ld\nprivate_rss_kib=%ld\n", StatusKib("VmHWM"), StatusKib("RssAnon"));
  std::fflush(stdout);
  QCoreApplication::quit();
}

void AfterFirstPaint() {
  const std::int64_t elapsed = MonotonicNs() - options.startedNs;
  std::printf("first_paint_ns=%lld\nplatform=%s\nqt=%s\n", static_cast<long long>(elapsed),
              QGuiApplication::platformName().toUtf8().constData(), qVersion());
  std::fflush(stdout);
  if (options.idleMs <= 0) {
    QCoreApplication::quit();
    return;
  }
  QTimer::singleShot(options.idleMs, QCoreApplication::instance(), &AfterIdle);
}

class Watch final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
      painted_ = true;
      QMetaObject::invokeMethod(QCoreApplication::instance(), &AfterFirstPaint,
                                Qt::QueuedConnection);
    }
    return false;
  }

 private:
  bool painted_ = false;
};

}  // namespace

WindowRunOptions& ParseWindowRunOptions(int argc, char** argv) {
  for (int index = 0; index < argc; ++index) {
    long long value = 0;
    if (index > 0 && TakeNumber(argv[index], "--started-ns=", value)) {
      options.startedNs = value;
    } else if (index > 0 && TakeNumber(argv[index], "--idle-ms=", value)) {
      options.idleMs = static_cast<int>(value);
    } else {
      options.qtArguments.push_back(argv[index]);
    }
  }
  options.qtArgumentCount = static_cast<int>(options.qtArguments.size());
  options.qtArguments.push_back(nullptr);
  return options;
}

void WatchFirstPaint() {
  QCoreApplication* application = QCoreApplication::instance();
  application->installEventFilter(new Watch(application));
}

}  // namespace quenzart::bench
