// PellmarkSys.dll: the entry points the render plug-in calls. All state is
// process-wide, one capture session per load of the library.

#include "rasterback/win32/pellmark_sys.h"

#include <exception>
#include <optional>
#include <string>

#include "rasterback/capture_session.h"
#include "rasterback/handoff.h"
#include "rasterback/win32/win32_handoff_shell.h"
#include "rasterback/win32/win32_profile.h"

namespace tolvane {
namespace {

class Win32CaptureHost : public CaptureHost {
public:
    ProfileReader& Settings() override { return profile_; }
    void ShowMessage(const std::string& text) override { MessageBoxA(nullptr, text.c_str(), "", MB_OK); }
    void DebugText(const std::string& text) override { OutputDebugStringA(text.c_str()); }

private:
    Win32Profile profile_;
};

Win32CaptureHost host;
CaptureSession session(host);

// The printer's name in the OEM code page, or nothing when it needs more than
// the 256-byte buffer.
std::optional<std::string> OemPrinterName(const wchar_t* name) {
    if (!name) return std::nullopt;
    char buffer[kPrinterNameMaxBytes + 1];
    const int got = WideCharToMultiByte(CP_OEMCP, 0, name, -1, buffer, sizeof buffer, nullptr, nullptr);
    if (got <= 0) return std::nullopt;
    return std::string(buffer);
}

// Nothing is thrown across the library's boundary.
constexpr short kInternalFailure = -3;
template <typename Step>
short Guarded(Step step) {
    try {
        return step();
    } catch (const std::exception& e) {
        OutputDebugStringA((std::string("PellmarkSys: ") + e.what() + "\r\n").c_str());
        return kInternalFailure;
    } catch (...) {
        return kInternalFailure;
    }
}

}  // namespace
}  // namespace tolvane

using namespace tolvane;

extern "C" short WINAPI StartDocEntry(const wchar_t* printerName) {
    return Guarded([&] { return session.StartDocument(OemPrinterName(printerName)); });
}

extern "C" short WINAPI StartPageEntry(void) {
    return Guarded([] { return session.StartPage(); });
}

extern "C" short WINAPI ImageProcessing(LONG, LONG, LONG, LONG, LONG) { return 0; }

extern "C" short WINAPI EndPageEntry(const void* rowTable, LONG rowBytes, LONG width, LONG height, LONG pageNumber,
                                     LONG bilevel, LONG xDpi, LONG yDpi, LONG keepOpen, LONG /*reserved*/) {
    return Guarded([&] {
        return session.EndPage({rowTable, static_cast<int>(rowBytes), static_cast<int>(width), static_cast<int>(height),
                                static_cast<int>(pageNumber), static_cast<int>(bilevel), static_cast<int>(xDpi),
                                static_cast<int>(yDpi), static_cast<int>(keepOpen)});
    });
}

extern "C" short WINAPI EndDocEntry(void) {
    return Guarded([] {
        Win32Profile settings;
        Win32HandoffShell shell;
        return session.EndDocument(settings, shell);
    });
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
