#include "common/language/language_ini.h"

#include <cstdint>

#include "common/letter_case.h"

namespace tolvane {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

std::u16string DecodeUtf16Le(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)  // an odd last byte is dropped
        text.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                             (static_cast<std::uint8_t>(bytes[i + 1]) << 8)));
    return text;
}

// UTF-8, for a file an editor saved with the UTF-8 mark; a malformed sequence
// becomes one replacement character and the decoding goes on after it.
std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = static_cast<std::uint8_t>(bytes[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t least = 0;
        if (lead < 0x80) {
            text.push_back(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, least = 0x10000;
        }
        std::size_t taken = 1;
        while (length != 0 && taken < length && i + taken < bytes.size() &&
               (static_cast<std::uint8_t>(bytes[i + taken]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<std::uint8_t>(bytes[i + taken]) & 0x3F);
            ++taken;
        }
        i += taken;
        if (length == 0 || taken != length || code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            text.push_back(kReplacement);
        } else if (code >= 0x10000) {
            text.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(code));
        }
    }
    return text;
}

// The file's text: UTF-16LE after its mark, UTF-8 after its mark, else bytes
// of the ASCII range (any other byte stands for a character of an unknown code
// page and reads as the replacement character).
std::u16string DecodeFile(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return DecodeUtf16Le(bytes.substr(2));
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return DecodeUtf8(bytes.substr(3));
    std::u16string text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const auto unit = static_cast<std::uint8_t>(byte);
        text.push_back(unit < 0x80 ? static_cast<char16_t>(unit) : kReplacement);
    }
    return text;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::u16string_view Unquote(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// A path or name the tool can hold; a null view stands for a null pointer.
bool Acceptable(std::u16string_view text) { return text.data() != nullptr && text.size() <= kLanguageTextMaxChars; }

}  // namespace

std::u16string CutText(const std::u16string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    if (end > 0 && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
    return text.substr(0, end);
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument document;
    const std::u16string text = DecodeFile(bytes);
    std::map<std::u16string, std::u16string>* current = nullptr;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        const std::u16string_view line = Trim(std::u16string_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == u';') continue;
        if (line.front() == u'[') {
            const std::size_t close = line.find(u']');
            const std::u16string_view name =
                Trim(line.substr(1, close == std::u16string_view::npos ? line.npos : close - 1));
            // The profile functions look a key up in the first section of a
            // name only, so a repeated section's keys are never found.
            const auto [section, added] = document.sections_.try_emplace(AsciiUpper(name));
            current = added ? &section->second : nullptr;
            if (added) document.order_.emplace_back(name);
            continue;
        }
        const std::size_t equals = line.find(u'=');
        if (current == nullptr || equals == std::u16string_view::npos) continue;
        const std::u16string_view key = Trim(line.substr(0, equals));
        if (key.empty()) continue;
        current->try_emplace(AsciiUpper(key), Unquote(Trim(line.substr(equals + 1))));
    }
    return document;
}

const std::u16string* IniDocument::Find(std::u16string_view section, std::u16string_view key) const {
    const auto found = sections_.find(AsciiUpper(section));
    if (found == sections_.end()) return nullptr;
    const auto value = found->second.find(AsciiUpper(key));
    return value == found->second.end() ? nullptr : &value->second;
}

int LanguageIni::SetFile(std::u16string_view path, std::string_view bytes) {
    if (!Acceptable(path)) return -1;
    path_ = path;
    document_ = IniDocument::Parse(bytes);
    return 0;
}

int LanguageIni::SetSection(std::u16string_view name) {
    if (!Acceptable(name)) return -1;
    section_ = name;
    return 0;
}

std::u16string LanguageIni::Read(std::u16string_view key) const {
    const std::u16string* value = key.data() == nullptr ? nullptr : document_.Find(section_, key);
    return value == nullptr ? std::u16string(kNoValue) : CutText(*value, kLanguageTextMaxChars);
}

std::string EncodeUtf16Le(std::u16string_view text) {
    std::string bytes("\xFF\xFE", 2);
    bytes.reserve(2 + text.size() * 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

}  // namespace tolvane
