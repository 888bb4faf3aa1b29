#include "rasterback/capture_session.h"

#include <cstdio>

#include <tiffio.h>

#include "rasterback/backend_settings.h"

namespace tolvane {

TIFF* CaptureHost::OpenOutput(const std::string& path) { return TIFFOpen(path.c_str(), "w"); }

std::string WriteFailedText(const std::string& path) {
    return "The fax file " + path +
           " could not be written. Check to make sure you have enough disk space.\r\n"
           "The document was not handed on: print it again.";
}

CaptureSession::CaptureSession(CaptureHost& host) : host_(host) {}

CaptureSession::~CaptureSession() { CloseFile(); }

short CaptureSession::StartDocument(const std::optional<std::string>& printerName) {
    host_.DebugText("StartDocEntry\r\n");
    // Closed before the output path is read again: a failed close removes the
    // file at the path it was written to.
    CloseFile();
    // Each document names its own printer: the hand-off depends on it.
    printerName_ = printerName ? printerName->substr(0, kPrinterNameMaxBytes) : std::string();
    // libtiff's own messages would reach the user as console or message-box
    // noise; the back end reports the failures that matter itself.
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    outputPath_ = ReadOutputPath(host_.Settings());
    fileOpenPending_ = true;
    document_ = DocumentFile::kNothing;
    return 0;
}

short CaptureSession::StartPage() {
    pageStartPending_ = true;
    host_.DebugText("StartPageEntry\r\n");
    return 0;
}

short CaptureSession::EndPage(const PageRequest& page) {
    // The user has been told; later pages alone would make a fax with a gap.
    if (document_ == DocumentFile::kLost) return kPageNotWritten;
    if (fileOpenPending_) {
        tiff_ = host_.OpenOutput(outputPath_);
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
    if (outcome.result == kPageNotWritten)
        DiscardFile("page " + std::to_string(page.pageNumber) + ": " + outcome.problem);
    if (outcome.result == kPageHandled && page.height > 0) document_ = DocumentFile::kStored;
    return outcome.result;
}

DocumentFile CaptureSession::CloseFile() {
    if (!tiff_) return document_;
    // The flush writes a directory that a page left open; TIFFClose would
    // swallow its failure.
    const bool flushed = TIFFFlush(tiff_) == 1;
    TIFFClose(tiff_);
    tiff_ = nullptr;
    if (!flushed && document_ != DocumentFile::kNothing)
        DiscardFile("the last page's directory");
    else if (document_ == DocumentFile::kNothing)
        std::remove(outputPath_.c_str());
    return document_;
}

void CaptureSession::DiscardFile(const std::string& problem) {
    if (tiff_) TIFFClose(tiff_);
    tiff_ = nullptr;
    std::remove(outputPath_.c_str());
    document_ = DocumentFile::kLost;
    host_.DebugText("PellmarkSys: " + outputPath_ + " not written (" + problem + ")\r\n");
    host_.ShowMessage(WriteFailedText(outputPath_));
}

short CaptureSession::EndDocument(ProfileReader& settings, HandoffShell& shell) {
    switch (CloseFile()) {
    case DocumentFile::kStored:
        return RunHandoff(printerName_, outputPath_, settings, shell);
    case DocumentFile::kLost:
        return kDocumentNotWritten;
    case DocumentFile::kNothing:
        break;
    }
    // A file at the output path is an earlier document's: handing it on would
    // send or save that one again.
    host_.DebugText("EndDocEntry: no page was stored, nothing is handed on\r\n");
    return 0;
}

}  // namespace tolvane
