#include "common/win32/pipe_security.h"

#include "common/win32/scoped_handle.h"

namespace tolvane {

ActingUserOnlySecurity::ActingUserOnlySecurity() {
    ScopedHandle token;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.Out()) &&
        (GetLastError() != ERROR_NO_TOKEN || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Out()))) {
        return;
    }
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    user_.resize(size);
    if (size == 0 || !GetTokenInformation(token.Get(), TokenUser, user_.data(), size, &size)) return;
    const PSID userSid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
    // S-1-5-18, built the way Windows 2000 can (it lacks CreateWellKnownSid).
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    if (!AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system_)) return;
    const DWORD aceBytes = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD);
    acl_.resize(sizeof(ACL) + 2 * aceBytes + GetLengthSid(userSid) + GetLengthSid(system_));
    auto* acl = reinterpret_cast<ACL*>(acl_.data());
    if (!InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) ||
        !AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, system_) ||
        !AddAccessAllowedAce(acl, ACL_REVISION, kConversationUserAccess, userSid) ||
        !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE)) {
        return;
    }
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
    ready_ = true;
}

ActingUserOnlySecurity::~ActingUserOnlySecurity() {
    if (system_) FreeSid(system_);
}

}  // namespace tolvane
