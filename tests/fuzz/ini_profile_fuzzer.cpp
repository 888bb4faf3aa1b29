// Calderine.ini lies in the Windows folder, written by installers, editors and
// administrators. The fuzzer's bytes are the file; the raster back end reads
// its settings from it, and every key the file holds must be found again.
#include <cctype>
#include <string>

#include "rasterback/backend_settings.h"
#include "rasterback/ini_profile.h"
#include "tests/fuzz/fuzz_input.h"

namespace tolvane::fuzz {
namespace {

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Each "key = value" line below a "[section]" line: a lookup by those names,
// in any letter case, finds a value, and a text never exceeds its limit.
void CheckEveryKeyIsFound(IniProfile& profile, std::string_view text) {
    std::string section;
    bool inSection = false;
    std::size_t start = 0;
    for (int lines = 0; start <= text.size() && lines < 64; ++lines) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const std::size_t close = line.find(']');
            section = Trimmed(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            // A name with a NUL cannot be asked for through the C strings of
            // the profile interface.
            inSection = section.find('\0') == std::string::npos;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos) continue;
        const std::string key = Trimmed(line.substr(0, equals));
        if (key.find('\0') != std::string::npos) continue;
        // Found, not a fallback: two different fallbacks give the same text.
        const std::string found = profile.ReadText(section.c_str(), key.c_str(), "0", 64);
        Require(profile.ReadText(section.c_str(), key.c_str(), "1", 64) == found, "a key the file holds is found");
        Require(found.size() <= 64, "a text is cut to its limit");
        Require(profile.ReadText(Upper(section).c_str(), Upper(key).c_str(), "1", 64) == found,
                "names match in any letter case");
    }
}

}  // namespace
}  // namespace tolvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane;
    using fuzz::Require;
    const std::string text(reinterpret_cast<const char*>(data), size);
    IniProfile profile(text);

    const std::string output = ReadOutputPath(profile);
    Require(output.size() >= 4 && output.compare(output.size() - 4, 4, ".tif") == 0, "the output is a .tif file");
    Require(output.size() <= kOutputFileMaxChars + 4, "the output path keeps its limit");
    const CompressionScheme scheme = ReadCompressionScheme(profile);
    Require(
        scheme == CompressionScheme::None || scheme == CompressionScheme::Group3 || scheme == CompressionScheme::Group4,
        "the compression is one of the three");
    const FollowUpProgram program = ReadFollowUpProgram(profile);
    Require(program.program.size() <= kProgramPathMaxChars, "the follow-up program keeps its limit");
    Require(program.enabled || program.program.empty(), "a disabled follow-up program names nothing");

    fuzz::CheckEveryKeyIsFound(profile, text);
    return 0;
}
