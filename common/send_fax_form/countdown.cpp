#include "common/send_fax_form/countdown.h"

#include <string>

#include "common/text.h"

namespace tolvane {

std::u16string CountdownCaption(std::u16string_view currentCaption, int secondsLeft) {
    const auto colon = currentCaption.find(u':');
    std::u16string caption;
    if (colon != std::u16string_view::npos) caption = currentCaption.substr(0, colon + 1);
    return caption + FormatDecimal(secondsLeft);
}

int CountdownStartFromTestSetting(const std::optional<std::string>& setting) {
    if (!setting || setting->empty() || setting->size() > 3) return kCountdownStartSeconds;
    int value = 0;
    for (char c : *setting) {
        if (c < '0' || c > '9') return kCountdownStartSeconds;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kCountdownStartSeconds) return kCountdownStartSeconds;
    return value;
}

}  // namespace tolvane
