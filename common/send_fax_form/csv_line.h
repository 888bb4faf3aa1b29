#pragma once
// One line of the address book's "numbers.csv": a display name and a fax
// number, each enclosed in double quotes, separated by a comma.
//
// Fields are written as quoted CSV with a quote inside a field doubled, so a
// name such as "Smith, John" survives a reload. Reading accepts that form and
// every line earlier versions wrote (they did not double inner quotes):
//  - a field that starts with a quote runs to the next single quote; a doubled
//    quote inside it is one quote character; anything after its closing quote
//    up to the separating comma is kept, with its quotes dropped;
//  - a field that does not start with a quote runs to the comma; quotes in it
//    are dropped;
//  - the first separating comma ends the name; the number is the rest of the
//    line, commas included; a line without a comma is a name with no number.
// Names and numbers are cut to kCsvFieldLimit characters (never overrun).

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvane {

inline constexpr std::size_t kCsvFieldLimit = 127;

struct CsvEntry {
    std::string name;
    std::string number;
};

CsvEntry SplitCsvLine(std::string_view line);

// The line for an entry (no line end): "name","number" with inner quotes
// doubled, each field cut to kCsvFieldLimit characters first.
std::string FormatCsvLine(std::string_view name, std::string_view number);

}  // namespace tolvane
