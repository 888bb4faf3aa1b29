#include "rasterback/row_table.h"

#include <cstring>

namespace tolvane {

std::optional<std::vector<uint8_t*>> ReadRowTable(const void* rowTable, int height) {
    std::vector<uint8_t*> rows;
    if (height <= 0) return rows;
    if (!rowTable) return std::nullopt;
    const unsigned char* firstEntry = nullptr;
    std::memcpy(&firstEntry, rowTable, sizeof firstEntry);
    if (!firstEntry) return std::nullopt;
    rows.resize(static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::memcpy(&rows[i], firstEntry + i * kRowTableEntryBytes, sizeof rows[i]);
        if (!rows[i]) return std::nullopt;
    }
    return rows;
}

}  // namespace tolvane
