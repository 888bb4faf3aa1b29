#include "rasterback/capture_session.h"

#include <tiffio.h>

#include "rasterback/backend_settings.h"

namespace rasterback {

CaptureSession::CaptureSession(CaptureHost& host) : host_(host) {}

CaptureSession::~CaptureSession() { closeFile(); }

short CaptureSession::startDocument(const std::optional<std::string>& printerName) {
    host_.debugText("StartDocEntry\r\n");
    // Each document names its own printer: the hand-off depends on it.
    printerName_ = printerName ? printerName->substr(0, kPrinterNameMaxBytes) : std::string();
    // libtiff's own messages would reach the user as console or message-box
    // noise; the back end reports the failures that matter itself.
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    outputPath_ = readOutputPath(host_.settings());
    closeFile();
    fileOpenPending_ = true;
    return 0;
}

short CaptureSession::startPage() {
    pageStartPending_ = true;
    host_.debugText("StartPageEntry\r\n");
    return 0;
}

short CaptureSession::endPage(const PageRequest& page) {
    if (fileOpenPending_) {
        tiff_ = TIFFOpen(outputPath_.c_str(), "w");
        if (!tiff_) {
            host_.showMessage(kCannotOpenMessage);
            return kNoFileOpen;
        }
    }
    fileOpenPending_ = false;

    const CompressionScheme scheme = readCompressionScheme(host_.settings());
    if (!tiff_) {
        host_.showMessage(kNoFileMessage);
        return kNoFileOpen;
    }
    const PageOutcome outcome = writePage(tiff_, page, scheme, pageStartPending_);
    if (outcome.result == kPageRefused)
        host_.debugText("EndPageEntry: page " + std::to_string(page.pageNumber) + " refused: " + outcome.problem +
                        "\r\n");
    return outcome.result;
}

void CaptureSession::closeFile() {
    if (tiff_) {
        TIFFClose(tiff_);
        tiff_ = nullptr;
    }
}

}  // namespace rasterback
