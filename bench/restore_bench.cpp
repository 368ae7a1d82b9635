#include "bench/restore_bench.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>

#include "bench/measure.h"
#include "panel/form1.h"
#include "platform/native_platform.h"
#include "platform/posix/codec_posix.h"
#include "platform/posix/profile_reader_posix.h"
#include "platform/profile_parser.h"
#include "settings/settings_files.h"
#include "tests/fakes.h"

namespace quenzart::bench {
namespace {

namespace fs = std::filesystem;
using testing::FakeProgram;
using testing::FakeView;
using testing::Journal;

PanelSettings TypicalSettings() {
  PanelSettings settings;
  settings.ServerName = u"北岸联机对战服务器";
  settings.Location = u"杭州";
  settings.URL = u"http://www.example.net/quenzart/";
  settings.MaxUsers = u"32";
  settings.Port = u"23456";
  settings.Public = true;
  settings.IP = u"192.0.2.10";
  settings.FloodMsgNb = u"5";
  settings.FloodMsgTime = u"10";
  settings.MinPing = u"300";
  settings.MaxConnSet = 4;
  settings.WelcomeMessage = u"欢迎光临！\r\n每晚八点开赛，请准时上线。\r\n有事请留言。";
  return settings;
}

std::string ReadWhole(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + path);
  struct stat status {};
  fstat(fd, &status);
  std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  close(fd);
  bytes.resize(done);
  return bytes;
}

}  // namespace

std::string TypicalSavedSettings() {
  return Cp936Codec().Encode(ComposeSavedSettings(TypicalSettings()));
}

std::string HandEditedSettings(std::size_t junkBytes) {
  std::mt19937_64 random(20240611);
  auto below = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
  auto printable = [&] { return static_cast<char>(' ' + below(95)); };
  std::string text;
  text.reserve(junkBytes + 4096);
  while (text.size() < junkBytes) {
    const unsigned kind = below(100);
    if (kind < 2) {
      text.push_back('[');
      for (unsigned i = 0, n = 3 + below(20); i < n; ++i) text.push_back(printable());
      text.push_back(']');
    } else {
      const std::size_t start = text.size();
      const unsigned length = below(100);
      for (unsigned i = 0; i < length; ++i) text.push_back(printable());
      if (kind < 40 && length > 0) text[start + below(length)] = '=';
    }
    text.push_back('\r');
    text.push_back('\n');
  }
  text += TypicalSavedSettings();
  return text;
}

PairedSamples RunRestoreBench(const std::string& directory, const std::string& bytes, int pairs,
                              int batch) {
  fs::create_directories(directory);
  const std::string path = (fs::path(directory) / "quenzartsrv.ini").string();
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) throw std::runtime_error("cannot write " + path);
  }
  // At start-up the saved settings date from an earlier Start. The lookup
  // trusts its parsed copy only for a file last changed more than two seconds
  // before it was read, so let the new file age past that first.
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));
  const fs::path savedDirectory = fs::current_path();
  fs::current_path(directory);
  const PanelSettings expected = TypicalSettings();
  const Cp936Codec codec;

  auto product = [&] {
    double total = 0;
    for (int run = 0; run < batch; ++run) {
      Journal journal;
      FakeProgram program(journal);
      NativePlatform native(program);
      FakeView view(journal);
      Form1 form(view, native.platform());
      const Clock::time_point start = Clock::now();
      form.Load();
      total += MillisecondsSince(start);
      if (view.Text(ControlId::Text1_0) != expected.ServerName ||
          view.Text(ControlId::Text1_8) != expected.MinPing ||
          !view.IsSelected(ControlId::Option3_4) || !view.IsSelected(ControlId::Option2)) {
        throw std::runtime_error("the restore did not restore the saved settings");
      }
    }
    return total / batch;
  };
  auto floor = [&] {
    double total = 0;
    for (int run = 0; run < batch; ++run) {
      const Clock::time_point start = Clock::now();
      const ParsedProfile parsed(DecodeProfileBytes(ReadWhole(path), codec));
      total += MillisecondsSince(start);
      if (parsed.Lookup(u"Last", u"ServerName") != expected.ServerName) {
        throw std::runtime_error("the parse did not find the saved settings");
      }
    }
    return total / batch;
  };

  product();
  floor();
  PairedSamples samples;
  RunInterleaved(
      pairs, [&] { samples.product.push_back(product()); },
      [&] { samples.floor.push_back(floor()); });
  fs::current_path(savedDirectory);
  return samples;
}

}  // namespace quenzart::bench
