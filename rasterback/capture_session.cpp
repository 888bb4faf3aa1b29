#include "rasterback/capture_session.h"

#include <tiffio.h>

#include "rasterback/backend_settings.h"

namespace tolvane {

CaptureSession::CaptureSession(CaptureHost& host) : host_(host) {}

CaptureSession::~CaptureSession() { CloseFile(); }

short CaptureSession::StartDocument(const std::optional<std::string>& printerName) {
    host_.DebugText("StartDocEntry\r\n");
    // Each document names its own printer: the hand-off depends on it.
    printerName_ = printerName ? printerName->substr(0, kPrinterNameMaxBytes) : std::string();
    // libtiff's own messages would reach the user as console or message-box
    // noise; the back end reports the failures that matter itself.
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    outputPath_ = ReadOutputPath(host_.Settings());
    CloseFile();
    fileOpenPending_ = true;
    return 0;
}

short CaptureSession::StartPage() {
    pageStartPending_ = true;
    host_.DebugText("StartPageEntry\r\n");
    return 0;
}

short CaptureSession::EndPage(const PageRequest& page) {
    if (fileOpenPending_) {
        tiff_ = TIFFOpen(outputPath_.c_str(), "w");
        if (!tiff_) {
            host_.ShowMessage(kCannotOpenMessage);
            return kNoFileOpen;
        }
    }
    fileOpenPending_ = false;

    const CompressionScheme scheme = ReadCompressionScheme(host_.Settings());
    if (!tiff_) {
        host_.ShowMessage(kNoFileMessage);
        return kNoFileOpen;
    }
    const PageOutcome outcome = WritePage(tiff_, page, scheme, pageStartPending_);
    if (outcome.result == kPageRefused)
        host_.DebugText("EndPageEntry: page " + std::to_string(page.pageNumber) + " refused: " + outcome.problem +
                        "\r\n");
    return outcome.result;
}

void CaptureSession::CloseFile() {
    if (tiff_) {
        TIFFClose(tiff_);
        tiff_ = nullptr;
    }
}

}  // namespace tolvane
