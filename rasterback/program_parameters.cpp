#include "rasterback/program_parameters.h"

namespace tolvane {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool StartsWithoutInterpreter(const std::string& program) {
    std::string name = program;
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    const std::size_t dot = name.find_last_of(".\\/:");
    if (dot == std::string::npos || name[dot] != '.') return false;
    std::string extension;
    for (std::size_t i = dot + 1; i < name.size(); ++i) extension += Lower(name[i]);
    return extension == "exe" || extension == "com";
}

std::optional<std::string> PathParameter(const std::string& path, const std::string& program) {
    const bool percentAllowed = StartsWithoutInterpreter(program);
    for (const char c : path)
        if (c == '"' || static_cast<unsigned char>(c) < 0x20 || (c == '%' && !percentAllowed)) return std::nullopt;
    std::string text = "\"" + path;
    // Backslashes before the closing quote would escape it for the runtime.
    for (std::size_t i = path.size(); i > 0 && path[i - 1] == '\\'; --i) text += '\\';
    return text + "\"";
}

}  // namespace tolvane
