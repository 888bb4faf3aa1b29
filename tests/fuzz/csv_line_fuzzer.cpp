// A line of "numbers.csv": the file is the user's, kept in a folder anyone may
// write to, and older versions wrote lines this one must still read.
#include <string>

#include "common/send_fax_form/csv_line.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane;
    using fuzz::Require;
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    const CsvEntry entry = SplitCsvLine(line);

    Require(entry.name.size() <= kCsvFieldLimit && entry.number.size() <= kCsvFieldLimit,
            "names and numbers are cut to their limit");
    // The address book keeps in memory what a reload of the line it wrote gives
    // back, so writing an entry and reading it again must give the entry.
    const CsvEntry reread = SplitCsvLine(FormatCsvLine(entry.name, entry.number));
    Require(reread.name == entry.name && reread.number == entry.number, "an entry written and read is the same");

    // The same for any two texts the user types, cut to the limit.
    fuzz::FuzzInput input(data, size);
    const std::string_view name = input.Field();
    const std::string_view number = input.Rest();
    const CsvEntry typed = SplitCsvLine(FormatCsvLine(name, number));
    Require(typed.name == name.substr(0, kCsvFieldLimit) && typed.number == number.substr(0, kCsvFieldLimit),
            "a typed entry written and read is the same, cut to the limit");
    return 0;
}
