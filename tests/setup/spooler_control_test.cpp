#include "setup/spooler_control.h"

#include <gtest/gtest.h>

#include "tests/setup/setup_fakes.h"

namespace tolvane {
namespace {

using Events = std::vector<std::string>;

class SpoolerControlTest : public ::testing::Test {
protected:
    Events Calls() const { return journal_.With({"service start", "service stop", "sleep", "run"}); }

    testing::Journal journal_;
    testing::FakeServiceControl services_{journal_};
};

TEST_F(SpoolerControlTest, RunningPendingAndPausedStatesCountAsRunning) {
    // SERVICE_STOPPED 1, START_PENDING 2, STOP_PENDING 3, RUNNING 4,
    // CONTINUE_PENDING 5, PAUSE_PENDING 6, PAUSED 7.
    const bool expected[] = {false, false, false, true, true, true, true};
    for (std::uint32_t state = 1; state <= 7; ++state)
        EXPECT_EQ(SpoolerStateCountsAsRunning(state), expected[state - 1]) << state;

    EXPECT_TRUE(IsSpoolerRunning(services_));
    services_.running = false;
    EXPECT_FALSE(IsSpoolerRunning(services_));
    services_.managerAvailable = false;
    EXPECT_FALSE(IsSpoolerRunning(services_));
}

TEST_F(SpoolerControlTest, AStartAlwaysWaitsTwoSecondsAndAnswersTheQuery) {
    services_.running = false;
    EXPECT_TRUE(StartSpooler(services_));
    EXPECT_EQ(Calls(), (Events{"service start", "sleep 2000"}));

    journal_.events.clear();
    services_.running = false;
    services_.startRefused = true;
    EXPECT_FALSE(StartSpooler(services_));
    services_.managerAvailable = false;
    EXPECT_FALSE(StartSpooler(services_));
    EXPECT_EQ(Calls(), (Events{"service start", "sleep 2000", "service start", "sleep 2000"}));
}

TEST_F(SpoolerControlTest, AStopWaitsUnlessTheManagerCannotBeOpened) {
    EXPECT_TRUE(StopSpooler(services_));
    services_.stopRefused = true;
    EXPECT_FALSE(StopSpooler(services_));
    services_.managerAvailable = false;
    EXPECT_FALSE(StopSpooler(services_));
    EXPECT_EQ(Calls(), (Events{"service stop", "sleep 2000", "service stop", "sleep 2000", "service stop"}));
}

TEST_F(SpoolerControlTest, ARestartByTheManagerNeedsNoFallback) {
    EXPECT_TRUE(RestartSpooler(services_));
    EXPECT_EQ(Calls(), (Events{"service stop", "sleep 2000", "service start", "sleep 2000"}));
}

TEST_F(SpoolerControlTest, AFailedStopOrStartFallsBackToTheNetCommandsOneAfterTheOther) {
    services_.stopRefused = true;
    EXPECT_TRUE(RestartSpooler(services_)) << "the spooler still runs";
    const Events fallback{"service stop",         "sleep 2000", "service start",         "sleep 2000",
                          "run net stop spooler", "sleep 2000", "run net start spooler", "sleep 2000"};
    EXPECT_EQ(Calls(), fallback);
    EXPECT_EQ(journal_.events.back(), "service query") << "the answer comes after the commands' waits";

    journal_.events.clear();
    services_.stopRefused = false;
    services_.startRefused = true;
    EXPECT_FALSE(RestartSpooler(services_)) << "stopped, and neither start brought it back";
    EXPECT_EQ(Calls(), fallback);

    journal_.events.clear();
    services_.running = true;
    services_.netStartWorks = true;
    EXPECT_TRUE(RestartSpooler(services_)) << "\"net start spooler\" brought it back";
}

}  // namespace
}  // namespace tolvane
