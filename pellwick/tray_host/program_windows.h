#pragma once
// Pellwick's program-wide windows and what they share. Each window is created, and its load
// step run, on first use; the one orderly way out of the program is exitProgram().

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/executable_file.h"
#include "platform/platform_services.h"
#include "title_clock/display_marks.h"
#include "tray_host/clock.h"
#include "tray_host/settings_store.h"
#include "tray_host/user_messages.h"

class QWidget;

namespace pellwick {

class Calendar;
class ControlsForm;
class CorvaneTime;
class FrmSysTray;
class Reminders;
class TitleClock;

struct ProgramEnvironment {
  // desktopWindows is needed: the title-bar clock runs from the start.
  PlatformServices& platform;
  SettingsStore& settings;
  UserMessages& messages;
  Clock clock;
  ExecutableFile executable;
  // Ends the process once the current handler has returned (QCoreApplication::exit).
  std::function<void(int exitCode)> endProcess;
};

class ProgramWindows {
 public:
  explicit ProgramWindows(ProgramEnvironment environment);
  ~ProgramWindows();
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  // The program's entry: the clock window is the first window, loaded and then shown.
  // False when its load step ended the program.
  bool start();

  CorvaneTime& corvaneTime();
  FrmSysTray& frmSysTray();
  ControlsForm& controlsForm();
  bool hasFrmSysTray() const { return frmSysTray_ != nullptr; }
  bool hasControlsForm() const { return controlsForm_ != nullptr; }
  void unloadControlsForm();

  // Created on first use; closing either unloads it, and the next use makes a new one.
  Reminders& reminders();
  Calendar& calendar();
  bool hasReminders() const { return !reminders_.isNull(); }
  bool hasCalendar() const { return !calendar_.isNull(); }
  void showReminders();
  void showCalendar();

  // Run by the load steps: when another copy is running, says so and ends the program.
  // False then, and the load step stops.
  bool passesSingleInstanceTest();

  // "&Exit Program", a logout and termination requests all end here. The window the
  // title-bar clock rewrote last gets its own caption back before anything else ends.
  void exitProgram();
  bool ended() const { return ended_; }

 private:
  void tickTitleClock(const DisplayMarks& marks);
  void stopTitleClock();
  void endAtOnce(int exitCode);

  ProgramEnvironment environment_;
  bool ended_ = false;
  std::unique_ptr<TitleClock> titleClock_;
  std::unique_ptr<CorvaneTime> corvaneTime_;
  std::unique_ptr<FrmSysTray> frmSysTray_;
  std::unique_ptr<ControlsForm> controlsForm_;
  QPointer<Reminders> reminders_;
  QPointer<Calendar> calendar_;
  // Unloaded windows wait here until no handler of theirs can still be running.
  std::vector<std::unique_ptr<QWidget>> unloaded_;
};

}  // namespace pellwick
