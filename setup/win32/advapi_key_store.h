#pragma once
// The setup tool's registry: advapi32 on the local machine's keys, rooted at
// HKEY_LOCAL_MACHINE (the port settings store's paths start there). The tool
// runs as an administrator and is 32-bit; the keys it touches lie under
// SYSTEM, which 64-bit Windows does not redirect.

#include "common/key_store.h"

namespace tolvane {

class AdvapiKeyStore final : public KeyStore {
public:
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
};

}  // namespace tolvane
