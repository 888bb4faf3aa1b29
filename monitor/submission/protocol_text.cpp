#include "monitor/submission/protocol_text.h"

namespace tolvane {

namespace {

bool BreaksCommand(char c) { return c == '\r' || c == '\n' || c == '\0'; }

}  // namespace

std::string ProtocolValue(std::string_view value) {
    std::string clean;
    clean.reserve(value.size());
    for (char c : value) {
        if (!BreaksCommand(c)) clean += c;
    }
    return clean;
}

std::string QuotedProtocolValue(std::string_view value) {
    std::string clean;
    clean.reserve(value.size());
    for (char c : value) {
        if (BreaksCommand(c)) continue;
        if (c == '\\' || c == '"') clean += '\\';
        clean += c;
    }
    return clean;
}

std::string QuotedArgument(std::string_view value) { return "\"" + QuotedProtocolValue(value) + "\""; }

std::string TaglineText(std::string_view value) {
    std::string text;
    for (char c : QuotedProtocolValue(value)) {
        if (c == '%') text += '%';
        text += c;
    }
    return text;
}

}  // namespace tolvane
