#include "monitor/submission/upload_compression.h"

#include "common/letter_case.h"

namespace tolvane {

UploadCompression ParseUploadCompression(std::u16string_view text) {
    return EqualsIgnoringCase(text, u"Off") ? UploadCompression::kOff : UploadCompression::kAuto;
}

}  // namespace tolvane
