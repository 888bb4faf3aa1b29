#pragma once
// FaxJob: the per-port job block OpenPort allocates; its address is the port
// handle the spooler passes to every later call on the port.

#include <windows.h>

#include "common/port_config_record.h"
#include "monitor/submission/upload_compression.h"

namespace tolvane {

// The block is allocated at this fixed size, zero-filled, whatever the build.
inline constexpr std::size_t kFaxJobBlockSize = 79912;  // 0x13828

struct Monitor;

struct FaxJob {
    FaxJob* block;                   // the block's own handle
    Monitor* monitor;                // from OpenPort
    PortConfigRecord configuration;  // read at StartDocPort; the port-name slot holds the port
    HANDLE spoolFile;
    wchar_t spoolPath[1024];
    wchar_t recipients[4095];
    wchar_t recipientName[1024];
    wchar_t line[1024];
    wchar_t sender[1024];
    wchar_t resolution[1024];
    wchar_t priority[1024];
    wchar_t printerName[1024];
    wchar_t documentName[1025];
    DWORD jobId;
    wchar_t userName[1024];
    wchar_t notificationEmail[1024];
    wchar_t machineName[1023];
    wchar_t summary[1024];
    // Past the fields above, within the block: a WritePort of this document
    // failed, so the file has a gap and must never be sent.
    bool writeFailed;
    // The port's upload setting, read at StartDocPort with the record.
    UploadCompression uploadCompression;
};
static_assert(sizeof(FaxJob) <= kFaxJobBlockSize);

// Clears the fields a new document starts from (at OpenPort and StartDocPort).
void ResetJobFields(FaxJob& job);

}  // namespace tolvane
