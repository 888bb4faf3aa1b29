#pragma once
// The send-fax form's countdown: one tick a second; the caption behind "Time
// To Cancel:" runs from 179 down to -1 and the form cancels itself on the
// 181st tick, also while the name dialog is open.

#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

inline constexpr int kCountdownStartSeconds = 180;

class Countdown {
public:
    explicit Countdown(int startSeconds = kCountdownStartSeconds) : secondsLeft_(startSeconds) {}

    // One timer tick; true when the form must cancel now.
    bool Tick() { return --secondsLeft_ < 0; }
    int SecondsLeft() const { return secondsLeft_; }

private:
    int secondsLeft_;
};

// The caption after a tick: the current caption up to and including its first
// ":" (nothing when it has none) followed by the seconds in decimal.
std::u16string CountdownCaption(std::u16string_view currentCaption, int secondsLeft);

// The start value for tests only. Automated tests of the dialog cannot wait
// three minutes, so a test may shorten (never lengthen) the countdown by
// setting KORRIM_TEST_COUNTDOWN_SECONDS to a number from 1 to 180. Anything
// else, and the variable's absence, gives the normal 180 seconds.
int CountdownStartFromTestSetting(const std::optional<std::string>& setting);

}  // namespace tolvane
