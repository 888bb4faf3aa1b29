#include "monitor/submission/submission_settings.h"

namespace tolvane {

SubmissionSettings SubmissionSettingsFrom(const PortConfigRecord& record, const AnsiEncoder& toAnsi) {
    auto text = [&](ConfigSlot slot) { return toAnsi(SlotText(record, slot)); };
    return {.server = text(ConfigSlot::kServer),
            .username = text(ConfigSlot::kUsername),
            .password = text(ConfigSlot::kPassword),
            .advertising = text(ConfigSlot::kAdvertising),
            .pageSize = text(ConfigSlot::kPageSize),
            .maxDials = text(ConfigSlot::kMaxDials),
            .maxTries = text(ConfigSlot::kMaxTries),
            .validity = text(ConfigSlot::kValidity),
            .ignorePassiveIp = text(ConfigSlot::kIgnorePassiveIp)};
}

}  // namespace tolvane
