// Imports that the static runtime (winpthreads, behind std::mutex and the
// clocks) makes of functions older Windows lacks, answered here so that every
// binary still loads there. Each definition below takes the place of the
// import slot the linker would otherwise take from libkernel32.a: the runtime
// calls through `__imp_<name>`, and because this object is linked into each
// binary ahead of the system libraries, that symbol resolves here. The real
// function is looked up at run time and used when the system has it.
//
// GetTickCount64 came with Vista; AddVectoredExceptionHandler and
// RemoveVectoredExceptionHandler with XP (winpthreads registers a handler only
// to name threads for a debugger and skips the naming when it gets none);
// msvcrt's _fstat64, which libstdc++'s file streams import in 32-bit builds,
// with XP's msvcrt.dll (Windows 2000's has _fstati64, the same with 32-bit
// times). GetModuleHandleExW came with XP too: libstdc++ pins the module with
// it once a thread registers an end-of-thread destructor (std::thread).
//
// Nothing may call these functions by their own names (the thunk would pull
// the library's import back in, and the link fails with a duplicate symbol).

#include <sys/stat.h>
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "common/tick_count.h"
#include "common/win32/procedure_address.h"

// The import slot's symbol: `__imp_Name` on x86_64, `__imp__Name@bytes` for
// the __stdcall names of i686.
#ifdef _WIN64
#define TOLVANE_IMPORT_SLOT(name, argumentBytes) "__imp_" #name
#else
#define TOLVANE_IMPORT_SLOT(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#endif

namespace {

template <typename Function>
Function LookUpKernel32(const char* name) {
    return tolvane::ProcedureAddress<Function>(GetModuleHandleW(L"kernel32.dll"), name);
}

std::atomic<std::uint64_t> latestTickCount{0};

ULONGLONG WINAPI WidenedTickCount() { return tolvane::WidenTickCount(latestTickCount, GetTickCount()); }

using TickCount64Function = ULONGLONG(WINAPI*)();
std::atomic<TickCount64Function> tickCount64{nullptr};

ULONGLONG WINAPI TickCount64() {
    TickCount64Function function = tickCount64.load(std::memory_order_acquire);
    if (!function) {
        function = LookUpKernel32<TickCount64Function>("GetTickCount64");
        if (!function) function = WidenedTickCount;
        tickCount64.store(function, std::memory_order_release);
    }
    return function();
}

using AddHandlerFunction = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
using RemoveHandlerFunction = ULONG(WINAPI*)(PVOID);

// Without vectored handlers (Windows 2000) no handler is registered: the
// runtime then gets nothing to remove either.
// Both are called while the runtime attaches to or detaches from the process,
// where no lock may be taken: they look the function up on every call (twice
// in the life of a process) instead of keeping it in a guarded static.
PVOID WINAPI AddVectoredHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler) {
    const auto function = LookUpKernel32<AddHandlerFunction>("AddVectoredExceptionHandler");
    return function ? function(first, handler) : nullptr;
}

ULONG WINAPI RemoveVectoredHandler(PVOID handle) {
    const auto function = LookUpKernel32<RemoveHandlerFunction>("RemoveVectoredExceptionHandler");
    return function && handle ? function(handle) : 0;
}

using ModuleHandleExFunction = BOOL(WINAPI*)(DWORD, LPCWSTR, HMODULE*);

// Where the system lacks it (Windows 2000): the module holding an address is
// the allocation the address lies in; a reference that is never given back
// stands for the counted handle, and for pinning.
BOOL WINAPI ModuleHandleEx(DWORD flags, LPCWSTR nameOrAddress, HMODULE* module) {
    const auto function = LookUpKernel32<ModuleHandleExFunction>("GetModuleHandleExW");
    if (function) return function(flags, nameOrAddress, module);
    if (module == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *module = nullptr;
    if ((flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) != 0) {
        MEMORY_BASIC_INFORMATION region{};
        if (VirtualQuery(nameOrAddress, &region, sizeof region) == 0 || region.AllocationBase == nullptr) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return FALSE;
        }
        *module = static_cast<HMODULE>(region.AllocationBase);
    } else {
        *module = GetModuleHandleW(nameOrAddress);
        if (*module == nullptr) return FALSE;
    }
    if ((flags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT) == 0) {
        wchar_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(*module, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) LoadLibraryW(path);
    }
    return TRUE;
}

#ifndef _WIN64
using Fstat64Function = int(__cdecl*)(int, struct _stat64*);
using Fstati64Function = int(__cdecl*)(int, struct _stat32i64*);

int __cdecl Fstat64(int file, struct _stat64* status) {
    // The binary imports msvcrt.dll itself, so it is loaded.
    HMODULE crt = GetModuleHandleW(L"msvcrt.dll");
    const auto modern = tolvane::ProcedureAddress<Fstat64Function>(crt, "_fstat64");
    if (modern) return modern(file, status);
    const auto older = tolvane::ProcedureAddress<Fstati64Function>(crt, "_fstati64");
    if (!older) return -1;
    struct _stat32i64 narrow {};
    const int result = older(file, &narrow);
    if (result != 0) return result;
    *status = {};
    status->st_dev = narrow.st_dev;
    status->st_ino = narrow.st_ino;
    status->st_mode = narrow.st_mode;
    status->st_nlink = narrow.st_nlink;
    status->st_uid = narrow.st_uid;
    status->st_gid = narrow.st_gid;
    status->st_rdev = narrow.st_rdev;
    status->st_size = narrow.st_size;
    status->st_atime = narrow.st_atime;
    status->st_mtime = narrow.st_mtime;
    status->st_ctime = narrow.st_ctime;
    return 0;
}
#endif

}  // namespace

extern "C" {
TickCount64Function tolvaneImportGetTickCount64 __asm__(TOLVANE_IMPORT_SLOT(GetTickCount64, 0)) = TickCount64;
AddHandlerFunction tolvaneImportAddVectoredExceptionHandler __asm__(TOLVANE_IMPORT_SLOT(AddVectoredExceptionHandler,
                                                                                        8)) = AddVectoredHandler;
RemoveHandlerFunction tolvaneImportRemoveVectoredExceptionHandler __asm__(
    TOLVANE_IMPORT_SLOT(RemoveVectoredExceptionHandler, 4)) = RemoveVectoredHandler;
ModuleHandleExFunction tolvaneImportGetModuleHandleExW __asm__(TOLVANE_IMPORT_SLOT(GetModuleHandleExW,
                                                                                   12)) = ModuleHandleEx;
#ifndef _WIN64
// A __cdecl name: one underscore more, no argument size.
Fstat64Function tolvaneImportFstat64 __asm__("__imp___fstat64") = Fstat64;
#endif
}
