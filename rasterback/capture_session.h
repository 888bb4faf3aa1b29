#pragma once
// The back end's process-wide state and the document and page steps of its
// entry points. The Windows shell owns one instance per load of the library
// and turns each export into one call here.

#include <optional>
#include <string>

#include "rasterback/handoff.h"
#include "rasterback/page_writer.h"
#include "rasterback/profile_reader.h"

typedef struct tiff TIFF;

namespace tolvane {

// What the session needs from the system around it.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;
    // Calderine.ini, located anew for every read.
    virtual ProfileReader& Settings() = 0;
    // A modal message box with no owner, an empty caption and an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A line for a debugger (OutputDebugString on Windows).
    virtual void DebugText(const std::string& text) = 0;
    // The document's fax file, created or truncated (libtiff's "w" mode), or
    // null when it cannot be created. Hosts other than the product's may write
    // the file through their own I/O.
    virtual TIFF* OpenOutput(const std::string& path);
};

constexpr const char* kCannotOpenMessage =
    "Cannot open TIFF file. Check to make sure you have enough disk space.  You should have at least 50mb free.";
constexpr const char* kNoFileMessage = "gout is null and it shouldn't be";
constexpr std::size_t kPrinterNameMaxBytes = 255;

// EndDocEntry's result when the document's file could not be written: the file
// was removed, nothing was handed on and the user was told.
constexpr short kDocumentNotWritten = -4;

// What the user reads when the file could not be written (a full disk).
std::string WriteFailedText(const std::string& path);

// What a document has left in its file so far.
enum class DocumentFile {
    kNothing,  // no page stored (maybe not even opened)
    kStored,   // at least one page stored
    kLost,     // a write failed: the file was removed and the user told
};

class CaptureSession {
public:
    explicit CaptureSession(CaptureHost& host);
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // StartDocEntry. `printerName` is the printer's name in the OEM code page,
    // or nothing when it did not fit the 256-byte buffer. Every document opens
    // its own file: a file left open by a plug-in that never ended its
    // document is closed first, so that file is complete.
    short StartDocument(const std::optional<std::string>& printerName);
    // StartPageEntry.
    short StartPage();
    // EndPageEntry: opens the file on the document's first page (again on the
    // next page when that fails), then writes the page. Once a write has
    // failed, the document's later pages are not written (kPageNotWritten).
    short EndPage(const PageRequest& page);
    // The first step of EndDocEntry: closes the file, which also finishes a
    // directory that a page left open. A file without a stored page is not
    // kept (no reader accepts a TIFF without a directory).
    DocumentFile CloseFile();
    // EndDocEntry: closes the file and hands it on when this document stored a
    // page in it (RunHandoff's result); 0 when it stored none, as then there
    // is nothing of this document to hand on; kDocumentNotWritten when the
    // file could not be written.
    short EndDocument(ProfileReader& settings, HandoffShell& shell);

    const std::string& PrinterName() const { return printerName_; }
    std::string& OutputPath() { return outputPath_; }
    bool FileOpen() const { return tiff_ != nullptr; }

private:
    // Closes and removes the file after a failed write and tells the user.
    void DiscardFile(const std::string& problem);

    CaptureHost& host_;
    std::string printerName_;
    std::string outputPath_;
    bool fileOpenPending_ = true;
    TIFF* tiff_ = nullptr;
    bool pageStartPending_ = false;
    DocumentFile document_ = DocumentFile::kNothing;
};

}  // namespace tolvane
