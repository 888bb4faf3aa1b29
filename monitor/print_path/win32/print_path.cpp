// The print path of a fax port: StartDocPort creates the spool file, WritePort
// fills it, and EndDocPort asks the user for the recipients, submits the
// document to the fax server, shows the outcome and marks the job sent.

#include <string>

#include "monitor/print_path/end_of_document.h"
#include "monitor/print_path/job_origin.h"
#include "monitor/ports/port_config_io.h"
#include "monitor/print_path/win32/dialog_conversation.h"
#include "monitor/print_path/win32/dialog_launch.h"
#include "monitor/win32/fax_job.h"
#include "monitor/submission/win32/fax_server_submitter.h"
#include "monitor/print_path/win32/job_record.h"
#include "monitor/win32/monitor.h"
#include "monitor/win32/monitor_trace.h"
#include "monitor/print_path/win32/spool_file.h"

namespace tolvane {

namespace {

template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::wstring& text) {
    lstrcpynW(field, text.c_str(), static_cast<int>(N));
}

FaxJob* JobOf(HANDLE port) {
    auto* job = static_cast<FaxJob*>(port);
    return job != nullptr && job->block == job ? job : nullptr;
}

std::wstring PortNameOf(const FaxJob& job) {
    const std::u16string name(SlotText(job.configuration, ConfigSlot::kPortName));
    return std::wstring(AsWide(name));
}

const char* OutcomeName(DocumentOutcome outcome) {
    switch (outcome) {
    case DocumentOutcome::kNoAnswer:
        return "no answer";
    case DocumentOutcome::kCancelled:
        return "cancelled";
    case DocumentOutcome::kSubmitted:
        return "submitted";
    case DocumentOutcome::kNotAllSent:
        return "not every job submitted";
    case DocumentOutcome::kNotCaptured:
        return "not captured whole";
    }
    return "?";
}

}  // namespace

BOOL WINAPI TolvaneStartDocPort(HANDLE port, LPWSTR printerName, DWORD jobId, DWORD level, LPBYTE docInfo) {
    TraceStep(L"StartDocPort(%p, printer \"%ls\", job %lu, level %lu)", port, TraceText(printerName), jobId, level);
    FaxJob* job = JobOf(port);
    if (job == nullptr) return FailWith(ERROR_INVALID_HANDLE);
    // A document that never reached EndDocPort is not sent: its file goes.
    DiscardUnfinishedDocument(*job);
    ResetJobFields(*job);
    CopyField(job->printerName, printerName != nullptr ? std::wstring(printerName) : std::wstring());
    job->jobId = jobId;

    // Levels 1 to 3 of the document information all begin with the document name.
    const wchar_t* documentName =
        docInfo != nullptr ? reinterpret_cast<const DOC_INFO_1W*>(docInfo)->pDocName : nullptr;
    const std::u16string name = DocumentNameFor(level, reinterpret_cast<const char16_t*>(documentName));
    CopyField(job->documentName, std::wstring(AsWide(name)));

    if (job->printerName[0] == L'\0') {
        // The spooler named neither printer nor job (Wine): look them up, so
        // the job can still be marked sent and its origin checked.
        CopyField(job->printerName, PrinterOfPort(PortNameOf(*job)));
        if (job->jobId == 0) job->jobId = FindPrintingJob(job->printerName, job->documentName);
    }
    JobOrigin origin;
    if (ReadJobOrigin(job->printerName, job->jobId, origin)) {
        CopyField(job->machineName, origin.machineName);
        CopyField(job->userName, origin.userName);
    }

    const std::u16string portName(SlotText(job->configuration, ConfigSlot::kPortName));
    if (!ReadPortConfig(job->monitor->registry, portName, job->configuration)) {
        TraceStep(L"port %ls has no settings in the registry", AsWide(portName));
        return FailWith(ERROR_FILE_NOT_FOUND);
    }
    job->uploadCompression = ParseUploadCompression(ReadUploadCompressionValue(job->monitor->registry, portName));

    const std::wstring local = LocalComputerName();
    if (IsFromAnotherComputer(ToU16(job->machineName), ToU16(local.c_str()))) {
        TraceStep(L"job %lu comes from %ls, not from this computer %ls: refused", job->jobId, job->machineName,
                  local.c_str());
        return FailWith(ERROR_ACCESS_DENIED);
    }

    if (!CreateSpoolFile(*job)) {
        const DWORD error = GetLastError();
        TraceStep(L"cannot create a spool file (error %lu)", error);
        return FailWith(error != 0 ? error : ERROR_CANNOT_MAKE);
    }
    TraceStep(L"document \"%ls\" (job %lu, printer \"%ls\", machine \"%ls\") spooled to %ls", job->documentName,
              job->jobId, job->printerName, job->machineName, job->spoolPath);
    return TRUE;
}

BOOL WINAPI TolvaneWritePort(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD written) {
    TraceStep(L"WritePort(%p, %lu bytes)", port, size);
    FaxJob* job = JobOf(port);
    if (job == nullptr || written == nullptr || (buffer == nullptr && size != 0))
        return FailWith(job == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    EnterCriticalSection(&SpoolWriteLock());
    *written = 0;
    const bool ok = AppendToSpoolFile(*job, buffer, size);
    const DWORD error = GetLastError();
    if (ok) *written = size;
    if (!ok) job->writeFailed = true;
    LeaveCriticalSection(&SpoolWriteLock());
    return ok ? TRUE : FailWith(error);
}

BOOL WINAPI TolvaneEndDocPort(HANDLE port) {
    TraceStep(L"EndDocPort(%p)", port);
    FaxJob* job = JobOf(port);
    if (job == nullptr) return FailWith(ERROR_INVALID_HANDLE);
    CloseSpoolFile(*job);
    if (job->spoolPath[0] == L'\0') return TRUE;  // no document was started

    const std::wstring printer = job->printerName;
    CaptureState capture;
    capture.writeFailed = job->writeFailed;
    capture.cancelledInQueue = JobIsCancelled(printer, job->jobId);
    if (capture.writeFailed || capture.cancelledInQueue) {
        TraceStep(L"document \"%ls\" %ls: not offered for sending", job->documentName,
                  capture.cancelledInQueue ? L"was cancelled in the print queue" : L"was not stored whole");
    }
    const DialogRoute route = ChooseDialogRoute(kThisBuild, SlotText(job->configuration, ConfigSlot::kSysMode));
    const bool dialogShowsConfirmation = route == DialogRoute::kDialogProgram;
    SpoolFileDocument document(job->spoolPath, job->documentName, job->jobId);
    FaxServerSubmitter submitter(job->configuration, job->uploadCompression, job->spoolPath);
    EndOfDocumentReport report;
    {
        std::unique_ptr<RecipientDialog> dialog = MakeRecipientDialog(route);
        report = RunEndOfDocument(job->configuration, ToU16(job->documentName), dialogShowsConfirmation, *dialog,
                                  submitter, document, capture);
    }  // the conversation's pipe is closed here
    CopyField(job->summary, std::wstring(AsWide(report.confirmation.empty() ? report.notice : report.confirmation)));
    TraceStep(L"document \"%ls\": %hs; spool file %ls %ls", job->documentName, OutcomeName(report.outcome),
              job->spoolPath, report.spoolFileKept ? L"kept" : L"deleted");
    if (!report.keptPath.empty()) {
        TraceStep(L"document \"%ls\" kept as %ls; the user %ls", job->documentName, AsWide(report.keptPath),
                  report.userTold ? L"was told" : L"could not be told");
    }

    if (report.jobStatus.empty()) {
        if (MarkJobSent(printer, job->jobId)) {
            TraceStep(L"job %lu of \"%ls\" marked sent", job->jobId, printer.c_str());
        } else {
            TraceStep(L"job %lu of \"%ls\" not marked sent (error %lu)", job->jobId, printer.c_str(), GetLastError());
        }
    } else if (MarkJobFailed(printer, job->jobId, std::wstring(AsWide(report.jobStatus)))) {
        TraceStep(L"job %lu of \"%ls\" shows the error \"%ls\"", job->jobId, printer.c_str(), AsWide(report.jobStatus));
    } else {
        TraceStep(L"job %lu of \"%ls\": the error status was refused (error %lu)", job->jobId, printer.c_str(),
                  GetLastError());
    }
    // Kept documents live in the user's folder now; nothing of this one is
    // left for the next StartDocPort to clean up.
    job->spoolPath[0] = L'\0';
    return TRUE;
}

}  // namespace tolvane
