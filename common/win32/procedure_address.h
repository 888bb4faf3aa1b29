#pragma once
// A function of a system DLL looked up at run time, for what older Windows
// lacks: the program still loads there and takes its fallback instead.

#include <windows.h>

namespace tolvane {

// The function `name` of `module` as a pointer of type Function; null when the
// module is null or does not export it.
template <typename Function>
Function ProcedureAddress(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace tolvane
