// Pellwick runs all day: what one tick of the tray host's 1000 ms timer costs, against
// reading the clock (which every tick does anyway), and whether memory grows with ticks.
//   build/bench/tray_host/tray_tick_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QLoggingCategory>
#include <fstream>

#include "fakes/fake_desktop_windows.h"
#include "fakes/fake_services.h"
#include "fakes/fake_settings_store.h"
#include "fakes/fake_user_messages.h"
#include "platform/linux/qt_tray_shell.h"
#include "tray_host/frm_sys_tray.h"
#include "tray_host/program_windows.h"

namespace pellwick {
namespace {

// The tray host over the real Qt tray shell; the services a tick never touches are fakes.
class TrayHost {
 public:
  TrayHost() {
    platform_.trayShell = std::make_unique<QtTrayShell>();
    platform_.desktopWindows = std::make_unique<testing::FakeDesktopWindows>();
    platform_.autoRun = std::make_unique<testing::FakeAutoRun>();
    platform_.userFolders = std::make_unique<testing::FakeUserFolders>();
    platform_.singleInstance = std::make_unique<testing::FakeSingleInstance>();
    windows_ = std::make_unique<ProgramWindows>(ProgramEnvironment{
        platform_, settings_, messages_, [] { return QDateTime::currentDateTime(); },
        ExecutableFile{"/usr/bin/pellwick", "pellwick"}, [](int) {}});
  }
  FrmSysTray& host() { return windows_->frmSysTray(); }

 private:
  PlatformServices platform_;
  testing::FakeSettingsStore settings_;
  testing::FakeUserMessages messages_;
  std::unique_ptr<ProgramWindows> windows_;
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
  TrayHost tray;
  tray.host().UpdateTrayIcon(TrayCommand::Add);  // the first tick loads the pictures
  const long before = residentKilobytes();
  for (auto _ : state) tray.host().UpdateTrayIcon(TrayCommand::Add);
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
