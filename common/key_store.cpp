#include "common/key_store.h"

namespace tolvane {

std::u16string TextFromValueBytes(const std::vector<std::uint8_t>& data) {
    std::u16string text;
    text.reserve(data.size() / 2);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

bool ReadStringValue(KeyStore& store, const std::u16string& path, const std::u16string& name, std::size_t maxChars,
                     std::u16string& text) {
    std::vector<std::uint8_t> data;
    if (store.QueryValue(path, name, (maxChars + 1) * sizeof(char16_t), data) != win_error::kSuccess) return false;
    text = TextFromValueBytes(data);
    return true;
}

std::vector<std::u16string> EnumerateSubkeys(KeyStore& store, const std::u16string& path, std::size_t maxNameLength) {
    std::vector<std::u16string> names;
    std::u16string name;
    for (std::uint32_t index = 0;; ++index) {
        if (store.EnumSubkey(path, index, maxNameLength, name) != win_error::kSuccess) break;
        names.push_back(name);
    }
    return names;
}

}  // namespace tolvane
