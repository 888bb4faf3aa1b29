#include "common/win32/local_printers.h"

#include <windows.h>

#include <winspool.h>

#include <vector>

#include "common/win32/wide_text.h"

namespace tolvane {

bool LocalPrinterExists(const std::u16string& printer) {
    // The list can grow between asking its size and reading it: a few tries.
    std::vector<BYTE> buffer;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = 0, count = 0;
        if (EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, buffer.empty() ? nullptr : buffer.data(),
                          static_cast<DWORD>(buffer.size()), &needed, &count)) {
            const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
            for (DWORD i = 0; i < count; ++i)
                if (printers[i].pPrinterName != nullptr && ToU16(printers[i].pPrinterName) == printer) return true;
            return false;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) return false;
        buffer.resize(needed);
    }
    return false;
}

}  // namespace tolvane
