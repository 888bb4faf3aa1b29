// The form's countdown and its caption.
#include "common/send_fax_form/countdown.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvane {
namespace {

TEST(Countdown, CaptionsRunFrom179DownToMinusOneAndTheFormCancelsOnThe181stTick) {
    Countdown countdown;
    std::u16string caption = u"Time To Cancel:";
    std::vector<std::u16string> captions;
    int ticks = 0;
    bool cancel = false;
    while (!cancel && ticks < 1000) {
        cancel = countdown.Tick();
        ++ticks;
        caption = CountdownCaption(caption, countdown.SecondsLeft());
        captions.push_back(caption);
    }
    EXPECT_EQ(ticks, 181);
    EXPECT_EQ(captions.front(), u"Time To Cancel:179");
    EXPECT_EQ(captions[178], u"Time To Cancel:1");
    EXPECT_EQ(captions.back(), u"Time To Cancel:-1");
}

TEST(CountdownCaption, KeepsTheTextUpToTheFirstColonOrNothing) {
    EXPECT_EQ(CountdownCaption(u"Time To Cancel:", 179), u"Time To Cancel:179");
    EXPECT_EQ(CountdownCaption(u"Time To Cancel:12", 11), u"Time To Cancel:11");
    EXPECT_EQ(CountdownCaption(u"Zeit: noch: 5", 4), u"Zeit:4");
    EXPECT_EQ(CountdownCaption(u"Restzeit", 42), u"42");
    EXPECT_EQ(CountdownCaption(u"", -1), u"-1");
}

TEST(CountdownStartFromTestSetting, OnlyShortensAndIgnoresAnythingOdd) {
    EXPECT_EQ(CountdownStartFromTestSetting(std::nullopt), 180);
    EXPECT_EQ(CountdownStartFromTestSetting(std::string("3")), 3);
    EXPECT_EQ(CountdownStartFromTestSetting(std::string("180")), 180);
    for (const char* odd : {"", "0", "181", "999", "-5", " 3", "3s", "1000000"}) {
        EXPECT_EQ(CountdownStartFromTestSetting(std::string(odd)), 180) << odd;
    }
}

}  // namespace
}  // namespace tolvane
