#include "analyzer/AutoResetEvent.h"

#include <gtest/gtest.h>

#include <thread>

namespace orvane::analyzer {
namespace {

using std::chrono::milliseconds;

TEST(AutoResetEvent, ASignalIsKeptUntilExactlyOneWaitTakesIt) {
  AutoResetEvent event;
  EXPECT_FALSE(event.WaitFor(milliseconds(0)));
  event.Set();
  event.Set();  // signals do not add up
  EXPECT_TRUE(event.WaitFor(milliseconds(0)));
  EXPECT_FALSE(event.WaitFor(milliseconds(1)));
}

TEST(AutoResetEvent, ResetClearsAnUntakenSignal) {
  AutoResetEvent event;
  event.Set();
  event.Reset();
  EXPECT_FALSE(event.WaitFor(milliseconds(0)));
}

TEST(AutoResetEvent, WakesAWaiterInAnotherThread) {
  AutoResetEvent event;
  bool woken = false;
  std::thread waiter([&] { woken = event.WaitFor(milliseconds(10000)); });
  event.Set();
  waiter.join();
  EXPECT_TRUE(woken);
  EXPECT_FALSE(event.WaitFor(milliseconds(0)));
}

}  // namespace
}  // namespace orvane::analyzer
