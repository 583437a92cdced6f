#include "platform/linux/posix_termination_requests.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>

#include "fakes/qt_test_application.h"

namespace pellwick {
namespace {

// Runs the event loop until `done` or 5 s have passed.
bool processEventsUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  return done();
}

class PosixTerminationRequestsTest : public ::testing::TestWithParam<int> {};

TEST_P(PosixTerminationRequestsTest, ASignalBecomesOneRequestOnTheEventLoop) {
  PosixTerminationRequests requests;
  int handled = 0;
  requests.setHandler([&handled] { ++handled; });
  ASSERT_EQ(::raise(GetParam()), 0);
  EXPECT_EQ(handled, 0) << "never inside the signal handler";
  EXPECT_TRUE(processEventsUntil([&handled] { return handled > 0; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(handled, 1);
}

INSTANTIATE_TEST_SUITE_P(EveryEndingSignal, PosixTerminationRequestsTest,
                         ::testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST(PosixTerminationRequests, PutsThePreviousHandlersBack) {
  struct sigaction before {};
  ::sigaction(SIGTERM, nullptr, &before);
  { PosixTerminationRequests requests; }
  struct sigaction after {};
  ::sigaction(SIGTERM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
}

}  // namespace
}  // namespace pellwick
