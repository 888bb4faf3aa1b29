#pragma once
// The registry as the portable code sees it: keys named by backslash-separated
// paths below one root, values of type REG_SZ. The monitor's store is the
// spooler's registry callbacks (rooted at the monitor's key), the setup tool's is
// advapi (rooted at HKEY_LOCAL_MACHINE), the tests' is an in-memory tree.
//
// Every operation answers a Windows error code (0 = success) so the callers can
// pass it on to the spooler unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tolvane {

// The Windows error codes the portable code produces or tests for.
namespace win_error {
inline constexpr std::uint32_t kSuccess = 0;
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kNotEnoughMemory = 8;
inline constexpr std::uint32_t kInvalidParameter = 87;
inline constexpr std::uint32_t kCallNotImplemented = 120;
inline constexpr std::uint32_t kInsufficientBuffer = 122;
inline constexpr std::uint32_t kInvalidLevel = 124;
inline constexpr std::uint32_t kMoreData = 234;
inline constexpr std::uint32_t kInternalError = 1359;
inline constexpr std::uint32_t kNoMoreItems = 259;
inline constexpr std::uint32_t kUnsupportedType = 1630;
inline constexpr std::uint32_t kPrinterAlreadyExists = 1802;
}  // namespace win_error

// The registry's value types the portable code tells apart.
namespace value_type {
inline constexpr std::uint32_t kText = 1;            // REG_SZ
inline constexpr std::uint32_t kExpandableText = 2;  // REG_EXPAND_SZ, read as it is stored
inline constexpr std::uint32_t kDword = 4;           // REG_DWORD
}  // namespace value_type

enum class KeyAccess { kRead, kWrite, kAll };

class KeyStore {
public:
    virtual ~KeyStore() = default;

    // Whether the key exists and can be opened with the given access.
    virtual std::uint32_t OpenKey(const std::u16string& path, KeyAccess access) = 0;

    // Creates the key (and missing parents); an existing key is fine.
    virtual std::uint32_t CreateKey(const std::u16string& path) = 0;

    // Deletes a key that has no subkeys.
    virtual std::uint32_t DeleteKey(const std::u16string& path) = 0;

    // The name of the subkey at `index`; kNoMoreItems past the last one.
    // Names longer than `maxNameLength` characters answer kMoreData.
    virtual std::uint32_t EnumSubkey(const std::u16string& path, std::uint32_t index, std::size_t maxNameLength,
                                     std::u16string& name) = 0;

    // The bytes of a text value (REG_SZ or REG_EXPAND_SZ), at most `maxBytes` of
    // them: a longer value answers kMoreData and yields nothing. A value of any
    // other type (a REG_DWORD typed in by hand) answers kUnsupportedType and
    // yields nothing, so that it reads as missing instead of as UTF-16 garbage.
    virtual std::uint32_t QueryValue(const std::u16string& path, const std::u16string& name, std::size_t maxBytes,
                                     std::vector<std::uint8_t>& data) = 0;

    // Sets a REG_SZ value (text plus terminating null) in an existing key.
    virtual std::uint32_t SetStringValue(const std::u16string& path, const std::u16string& name,
                                         const std::u16string& text) = 0;

    virtual std::uint32_t DeleteValue(const std::u16string& path, const std::u16string& name) = 0;

    // Leaves the key (and the keys it will get) readable and writable by the
    // local system and the administrators only, inheriting nothing from its
    // parent: a port key holds the fax server's password.
    virtual std::uint32_t RestrictToAdministrators(const std::u16string& path) = 0;
};

// A value's bytes read as UTF-16 text: up to the first null or the end of the
// data, whichever comes first (an odd last byte is dropped).
std::u16string TextFromValueBytes(const std::vector<std::uint8_t>& data);

// Reads a text value of at most `maxChars` characters (plus terminator).
// Answers true and the text when found; false when missing, unreadable, longer
// or not text.
bool ReadStringValue(KeyStore& store, const std::u16string& path, const std::u16string& name, std::size_t maxChars,
                     std::u16string& text);

// Enumerates the names of all subkeys of `path`, index 0 upwards until the store
// reports an error. An unopenable key gives an empty list.
std::vector<std::u16string> EnumerateSubkeys(KeyStore& store, const std::u16string& path, std::size_t maxNameLength);

}  // namespace tolvane
