// Pellwick runs all day: what one tick of the tray icon's 1000 ms timer costs, against
// reading the clock (which every tick does anyway), and whether memory grows with ticks.
//   build/bench/tray/tray_tick_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QLoggingCategory>
#include <fstream>

#include "fakes/fake_services.h"
#include "fakes/fake_user_messages.h"
#include "platform/linux/qt_tray_icons.h"
#include "tray/tray_controller.h"

namespace pellwick {
namespace {

// The tray icon over Qt's real tray; the services a tick never touches are fakes.
class Tray {
 public:
  Tray()
      : controller_({trayIcons_, folders_, messages_, [] { return QDateTime::currentDateTime(); }},
                    pictures_, menu_, *menu_.addAction("&My Tray Folder"),
                    *menu_.addAction("&Exit Program")) {}
  void tick() { controller_.tick(); }

 private:
  QtTrayIcons trayIcons_;
  testing::FakeUserFolders folders_;
  testing::FakeUserMessages messages_;
  DayPictures pictures_;
  QMenu menu_;
  TrayController controller_;
};

long residentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_ReadClock(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(QDateTime::currentDateTime().date().day());
}
BENCHMARK(BM_ReadClock);

void BM_TrayTick(benchmark::State& state) {
  Tray tray;
  tray.tick();  // the first tick loads the picture
  const long before = residentKilobytes();
  for (auto _ : state) tray.tick();
  state.counters["rss_growth_kB"] = static_cast<double>(residentKilobytes() - before);
}
BENCHMARK(BM_TrayTick);
// A day of ticks and then some: memory must stay flat.
BENCHMARK(BM_TrayTick)->Name("BM_TrayTick/a_day")->Iterations(100000);

}  // namespace
}  // namespace pellwick

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Offscreen has no tray to watch for; Qt says so once per icon.
  QLoggingCategory::setFilterRules("qt.core.qobject.connect=false");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
