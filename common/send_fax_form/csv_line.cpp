#include "common/send_fax_form/csv_line.h"

namespace tolvane {

namespace {

// Reads one field starting at `pos`. With `stopAtComma` the field ends at the
// first comma outside quotes (which is consumed); otherwise at the line end.
std::string ReadField(std::string_view line, std::size_t& pos, bool stopAtComma) {
    std::string field;
    if (pos < line.size() && line[pos] == '"') {
        ++pos;
        while (pos < line.size()) {
            if (line[pos] == '"') {
                if (pos + 1 < line.size() && line[pos + 1] == '"') {
                    field.push_back('"');
                    pos += 2;
                    continue;
                }
                ++pos;  // closing quote
                break;
            }
            field.push_back(line[pos++]);
        }
    }
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == ',' && stopAtComma) break;
        if (c != '"') field.push_back(c);
    }
    return field;
}

std::string Cut(std::string text) {
    if (text.size() > kCsvFieldLimit) text.resize(kCsvFieldLimit);
    return text;
}

std::string Quoted(std::string_view field) {
    std::string out = "\"";
    for (char c : field.substr(0, kCsvFieldLimit)) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

}  // namespace

CsvEntry SplitCsvLine(std::string_view line) {
    std::size_t pos = 0;
    CsvEntry entry;
    entry.name = Cut(ReadField(line, pos, true));
    if (pos < line.size()) entry.number = Cut(ReadField(line, pos, false));
    return entry;
}

std::string FormatCsvLine(std::string_view name, std::string_view number) {
    return Quoted(name) + "," + Quoted(number);
}

}  // namespace tolvane
