#pragma once
// The page image as the render plug-in hands it over: `rowTable` is the address
// of a pointer-sized location holding the address of the first table entry;
// each entry is 8 bytes and starts with the address of its row (a 32-bit
// address and 4 unread bytes in a 32-bit process, the whole 8 bytes in a
// 64-bit one). Entry i is row i from the top of the page.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

constexpr std::size_t kRowTableEntryBytes = 8;
static_assert(sizeof(void*) <= kRowTableEntryBytes, "a row address must fit a table entry");

// The addresses of the first `height` rows, or nothing when the table or one of
// its row addresses is null.
std::optional<std::vector<uint8_t*>> ReadRowTable(const void* rowTable, int height);

}  // namespace tolvane
