#pragma once
// An in-memory registry for tests: keys by path (case-insensitive, as the
// registry compares names), values with their type, subkeys in creation order. Keys can be
// marked unreadable or unwritable to play a registry that refuses access.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/key_store.h"

namespace tolvane::testing {

class MemoryKeyStore final : public KeyStore {
public:
    MemoryKeyStore();
    ~MemoryKeyStore() override;

    std::uint32_t OpenKey(const std::u16string& path, KeyAccess access) override;
    std::uint32_t CreateKey(const std::u16string& path) override;
    std::uint32_t DeleteKey(const std::u16string& path) override;
    std::uint32_t EnumSubkey(const std::u16string& path, std::uint32_t index, std::size_t maxNameLength,
                             std::u16string& name) override;
    std::uint32_t QueryValue(const std::u16string& path, const std::u16string& name, std::size_t maxBytes,
                             std::vector<std::uint8_t>& data) override;
    std::uint32_t SetStringValue(const std::u16string& path, const std::u16string& name,
                                 const std::u16string& text) override;
    std::uint32_t DeleteValue(const std::u16string& path, const std::u16string& name) override;
    std::uint32_t RestrictToAdministrators(const std::u16string& path) override;

    // Test helpers.
    bool HasKey(const std::u16string& path) const;
    bool IsRestricted(const std::u16string& path) const;
    // The stored text of a value (without its terminator), or nothing when absent.
    std::optional<std::u16string> Value(const std::u16string& path, const std::u16string& name) const;
    std::size_t ValueCount(const std::u16string& path) const;
    void SetRawValue(const std::u16string& path, const std::u16string& name, std::vector<std::uint8_t> bytes,
                     std::uint32_t type = value_type::kText);
    void DenyAccess(const std::u16string& path, KeyAccess access);

private:
    struct Node;
    Node* Find(const std::u16string& path) const;
    std::unique_ptr<Node> root_;
};

}  // namespace tolvane::testing
