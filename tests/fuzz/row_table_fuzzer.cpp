// The page image's row table comes from the raster driver's render plug-in,
// which is not ours: a table whose entries or first address are null must be
// refused, never followed. The input gives the page height (any int, also
// zero and negative ones), which entries are null, and the bytes that fill the
// part of each 8-byte entry a 32-bit address leaves unread.
#include <cstring>
#include <vector>

#include "rasterback/row_table.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane;
    using fuzz::Require;
    fuzz::FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    std::int32_t height = 0;
    const std::string_view heightBytes = input.Take(4);
    std::memcpy(&height, heightBytes.data(), heightBytes.size());
    if (height > 0) height = static_cast<std::int32_t>(height % 2048);  // the plug-in's table has a row per line

    const std::size_t rows = height > 0 ? static_cast<std::size_t>(height) : 0;
    std::vector<std::uint8_t> pixels(rows + 1);
    std::vector<std::uint8_t> table(rows * kRowTableEntryBytes + 1);
    std::vector<std::uint8_t*> expected;
    bool anyNull = false;
    for (std::size_t i = 0; i < rows; ++i) {
        std::uint8_t* entry = table.data() + i * kRowTableEntryBytes;
        const std::string_view filler = input.Take(kRowTableEntryBytes);
        std::memcpy(entry, filler.data(), filler.size());
        const bool null = (i == 0 && (flags & 0x04)) || (filler.size() > 0 && (filler[0] & 0x7F) == 0x7F);
        std::uint8_t* row = null ? nullptr : pixels.data() + i;
        std::memcpy(entry, &row, sizeof row);
        anyNull |= null;
        expected.push_back(row);
    }
    const void* firstEntry = (flags & 0x01) ? nullptr : table.data();
    const void* rowTable = (flags & 0x02) ? nullptr : &firstEntry;

    const std::optional<std::vector<std::uint8_t*>> read = ReadRowTable(rowTable, height);

    if (height <= 0) {
        Require(read && read->empty(), "a page without rows has no row addresses");
        return 0;
    }
    const bool refused = rowTable == nullptr || firstEntry == nullptr || anyNull;
    Require(read.has_value() == !refused, "a table is refused exactly when an address in it is null");
    if (read) Require(*read == expected, "row i is the address in entry i");
    return 0;
}
