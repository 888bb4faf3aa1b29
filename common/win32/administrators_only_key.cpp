#include "common/win32/administrators_only_key.h"

#include <vector>

namespace tolvane {
namespace {

// A well-known SID of the NT authority, freed with the object (built the way
// Windows 2000 can: it lacks CreateWellKnownSid).
class NtSid {
public:
    NtSid(BYTE count, DWORD first, DWORD second = 0) {
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        if (!AllocateAndInitializeSid(&nt, count, first, second, 0, 0, 0, 0, 0, 0, &sid_)) sid_ = nullptr;
    }
    ~NtSid() {
        if (sid_ != nullptr) FreeSid(sid_);
    }
    NtSid(const NtSid&) = delete;
    NtSid& operator=(const NtSid&) = delete;
    PSID Get() const { return sid_; }

private:
    PSID sid_ = nullptr;
};

}  // namespace

LONG RestrictKeyToAdministrators(HKEY root, const wchar_t* path) {
    const NtSid system(1, SECURITY_LOCAL_SYSTEM_RID);
    const NtSid administrators(2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
    if (system.Get() == nullptr || administrators.Get() == nullptr) return static_cast<LONG>(GetLastError());
    const DWORD aclSize = sizeof(ACL) + 2 * (sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD)) + GetLengthSid(system.Get()) +
                          GetLengthSid(administrators.Get());
    std::vector<DWORD> aclBuffer(aclSize / sizeof(DWORD) + 1);
    auto* acl = reinterpret_cast<ACL*>(aclBuffer.data());
    SECURITY_DESCRIPTOR descriptor;
    // Protected: nothing is inherited from the parent (the monitor's key,
    // which every user may read).
    if (!InitializeAcl(acl, aclSize, ACL_REVISION) ||
        !AddAccessAllowedAceEx(acl, ACL_REVISION, CONTAINER_INHERIT_ACE, KEY_ALL_ACCESS, system.Get()) ||
        !AddAccessAllowedAceEx(acl, ACL_REVISION, CONTAINER_INHERIT_ACE, KEY_ALL_ACCESS, administrators.Get()) ||
        !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) ||
        !SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
        return static_cast<LONG>(GetLastError());
    }
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(root, path, 0, WRITE_DAC, &key);
    if (result != ERROR_SUCCESS) return result;
    result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    RegCloseKey(key);
    return result;
}

}  // namespace tolvane
