#pragma once
// The spool file of a fax job: the PostScript the spooler hands to the port,
// kept in the temporary folder under a unique "FAX" name until the document
// has been submitted.

#include <windows.h>

#include <string>

#include "monitor/print_path/end_of_document.h"
#include "monitor/win32/fax_job.h"

namespace tolvane {

// Creates a new, empty spool file for the job (read and write, not shared)
// and stores its handle and path in the job. False with the last error set.
bool CreateSpoolFile(FaxJob& job);

// Appends data to the job's open spool file; false with the last error set.
bool AppendToSpoolFile(FaxJob& job, const BYTE* data, DWORD size);

// Flushes and closes the job's spool file if it is open.
void CloseSpoolFile(FaxJob& job);

// A document that never reached EndDocPort (the spooler started the next one
// on the port, or closed it): its spool file is closed and deleted.
void DiscardUnfinishedDocument(FaxJob& job);

// The captured document as the end-of-document sequence sees it. Keep moves
// it to "Unsent faxes" in the profile of the user the thread acts for (the
// printing user's; the process's own when the thread acts for nobody).
class SpoolFileDocument final : public CapturedDocument {
public:
    SpoolFileDocument(std::wstring path, std::wstring documentName, DWORD jobId)
        : path_(std::move(path)), documentName_(std::move(documentName)), jobId_(jobId) {}
    std::u16string Path() const override;
    bool Delete() override;
    std::u16string Keep() override;

private:
    std::wstring path_;
    std::wstring documentName_;
    DWORD jobId_;
};

}  // namespace tolvane
