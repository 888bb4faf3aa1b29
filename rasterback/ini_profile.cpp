#include "rasterback/ini_profile.h"

#include <climits>
#include <fstream>
#include <sstream>

namespace tolvane {

namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

IniProfile::IniProfile(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    std::map<std::string, std::string>* current = nullptr;
    while (std::getline(in, line)) {
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[') {
            const auto close = t.find(']');
            const std::string name =
                Lower(Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            current = &sections_[name];
            continue;
        }
        if (!current) continue;
        const auto eq = t.find('=');
        if (eq == std::string::npos) continue;
        current->emplace(Lower(Trim(t.substr(0, eq))), Trim(t.substr(eq + 1)));
    }
}

IniProfile IniProfile::FromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return IniProfile(text.str());
}

const std::string* IniProfile::Find(const char* section, const char* key) const {
    const auto s = sections_.find(Lower(section));
    if (s == sections_.end()) return nullptr;
    const auto k = s->second.find(Lower(key));
    return k == s->second.end() ? nullptr : &k->second;
}

int IniProfile::ReadInt(const char* section, const char* key, int fallback) {
    const std::string* value = Find(section, key);
    if (!value || value->empty()) return fallback;
    return ParseProfileInt(*value);
}

std::string IniProfile::ReadText(const char* section, const char* key, const char* fallback, std::size_t maxChars) {
    const std::string* found = Find(section, key);
    std::string value = found ? *found : std::string(fallback);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > maxChars) value.resize(maxChars);
    return value;
}

int ParseProfileInt(const std::string& text) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) value = INT_MAX;  // saturate rather than wrap into a different choice
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace tolvane
