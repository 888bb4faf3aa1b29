#pragma once
// The monitor's registry: the spooler's registry callbacks on the monitor's root
// key, with a fallback to the advapi functions on a key of the monitor's own when
// a callback answers ERROR_CALL_NOT_IMPLEMENTED (Wine stubs them all).
//
// The spooler calls the ports on threads that act for the printing user, and
// the port keys are the system's and the administrators' only: every operation
// here is done as the spooler process itself, the thread's identity restored
// afterwards.

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <atomic>

#include "common/key_store.h"

namespace tolvane {

class SpoolerKeyStore final : public KeyStore {
public:
    explicit SpoolerKeyStore(const MONITORINIT& init);
    ~SpoolerKeyStore() override;
    SpoolerKeyStore(const SpoolerKeyStore&) = delete;
    SpoolerKeyStore& operator=(const SpoolerKeyStore&) = delete;

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

private:
    // An open key and which side opened it: handles of one side mean nothing to the other.
    struct Key {
        HANDLE handle = nullptr;
        bool viaSpooler = false;
    };
    class OpenedKey;

    LONG Open(const std::u16string& path, REGSAM access, Key& key);
    void Close(const Key& key);
    bool UseSpooler() const { return haveCallbacks_ && !callbacksMissing_; }
    // Notes that the spooler does not implement its callbacks; answers whether it did.
    bool Implemented(LONG result);

    HANDLE spooler_ = nullptr;
    HANDLE spoolerRoot_ = nullptr;
    MONITORREG callbacks_{};  // a copy: the spooler's block need not outlive initialisation
    bool haveCallbacks_ = false;
    std::atomic<bool> callbacksMissing_{false};  // set by whichever spooler thread learns it first
    HKEY ownRoot_ = nullptr;                     // advapi copy of the root, opened while it was valid
};

}  // namespace tolvane
