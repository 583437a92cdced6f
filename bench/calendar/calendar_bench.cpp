// Opening the calendar the first time: create it (its load step fills the year list up to
// 5000), open it and let it paint; then delete it. The reference is the cheapest window
// the program could open: a label and a button, shown and painted the same way.
//
//   QT_QPA_PLATFORM=offscreen build/bench/calendar/calendar_bench
//
// The first benchmark runs once, first in the process, so it also pays for finding the
// serif font; the others run warm.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "calendar/calendar.h"

namespace {

template <typename Open>
void measureOpening(benchmark::State& state, Open open) {
  for (auto _ : state) {
    QWidget* window = open();
    QCoreApplication::processEvents();  // the first expose paints the window
    state.PauseTiming();
    delete window;
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}

QWidget* openCalendar() {
  auto* calendar = new pellwick::Calendar();
  calendar->open();
  return calendar;
}

QWidget* openPlainWindow() {
  auto* window = new QWidget;
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(new QLabel("Tray Calendar"));
  layout->addWidget(new QPushButton("Hide"));
  window->show();
  return window;
}

void BM_CalendarFirstOpenInProcess(benchmark::State& state) { measureOpening(state, openCalendar); }
void BM_PlainWindowOpen(benchmark::State& state) { measureOpening(state, openPlainWindow); }
void BM_CalendarOpen(benchmark::State& state) { measureOpening(state, openCalendar); }

BENCHMARK(BM_CalendarFirstOpenInProcess)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWindowOpen)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarOpen)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace
