#pragma once
// The spooler's record of the job a port is printing: who sent it from which
// machine, and marking it sent once the fax server has it. The spooler names
// the printer and the job at StartDocPort; Wine passes neither, so the printer
// is then found by the port it prints to.

#include <windows.h>

#include <string>

namespace tolvane {

struct JobOrigin {
    std::wstring machineName;  // as the record has it ("\\NAME"); empty when unknown
    std::wstring userName;
};

// The job's level-1 record; false (origin empty) when it cannot be read.
bool ReadJobOrigin(const std::wstring& printerName, DWORD jobId, JobOrigin& origin);

// The local printer that prints to the port; empty when none does.
std::wstring PrinterOfPort(const std::wstring& portName);

// The job of the printer printing the document, for a spooler that passes
// no job id (Wine): the lowest job id up to kJobProbeLimit whose record names
// the document and is printing. 0 when none does.
inline constexpr DWORD kJobProbeLimit = 64;
DWORD FindPrintingJob(const std::wstring& printerName, const std::wstring& documentName);

// This computer's name; empty when the system does not tell.
std::wstring LocalComputerName();

// Sets the job's state with JOB_CONTROL_SENT_TO_PRINTER; false with the last
// error set when the printer or job is unknown or the spooler refuses.
bool MarkJobSent(const std::wstring& printerName, DWORD jobId);

// Whether the user cancelled the job in the print queue (it is being deleted).
bool JobIsCancelled(const std::wstring& printerName, DWORD jobId);

// For a fax that did not leave: the job keeps its place in the queue, not
// marked sent, with `status` as the text the queue shows and the error flag.
// False with the last error set when the spooler refuses.
bool MarkJobFailed(const std::wstring& printerName, DWORD jobId, const std::wstring& status);

}  // namespace tolvane
