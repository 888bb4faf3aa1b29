#pragma once
// What happens to the finished fax file at the end of a document: the printer
// "Ostrel Printer" hands it to the send program named through the registry;
// every other printer asks the user where to keep it. A follow-up program
// from Calderine.ini may be started first in both cases.

#include <optional>
#include <string>

#include "rasterback/backend_settings.h"
#include "rasterback/profile_reader.h"

namespace tolvane {

struct UserMessage {
    enum class Encoding { Ansi, Utf8 };
    enum class Caption { Empty, SystemDefault };
    std::string text;
    Encoding encoding;
    Caption caption;
};

class HandoffShell {
public:
    virtual ~HandoffShell() = default;
    // "SoftPath" under HKLM\SOFTWARE\Merrowind\Ostrel, or nothing when the key
    // or the value cannot be read.
    virtual std::optional<std::string> ReadSendProgramFolder() = 0;
    // A shell "open" request owned by the desktop window; not waited for.
    virtual void ShellOpen(const std::string& file, const std::string& parameters, ShowState show) = 0;
    virtual void EnsureFolder(const std::string& folder) = 0;
    // The save dialog, opened on `currentPath` in `initialFolder`; nothing when
    // cancelled or when it failed.
    virtual std::optional<std::string> AskSavePath(const std::string& currentPath,
                                                   const std::string& initialFolder) = 0;
    virtual bool SamePath(const std::string& a, const std::string& b) = 0;
    // Copies over an existing file.
    virtual bool CopyFileTo(const std::string& from, const std::string& to) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    virtual void ShowMessage(const UserMessage& message) = 0;
};

constexpr const char* kSendPrinterName = "Ostrel Printer";
constexpr const char* kSendProgramName = "\\Dunmore.exe";
constexpr const char* kSaveFolder = "C:\\tiff\\";
// "Reading the Ostrel registry value failed!"
constexpr const char* kRegistryErrorUtf8 =
    "\xe8\xae\xbf\xe9\x97\xae\xe6\xb3\xa8\xe5\x86\x8c\xe8\xa1\xa8Ostrel"
    "\xe9\x94\xae\xe5\x80\xbc\xe9\x94\x99\xe8\xaf\xaf\xef\xbc\x81";

// EndDocEntry's result after the file was closed: 1 when the send program's
// registry value could not be read, else 0. `outputPath` holds the chosen path
// after a successful save.
short RunHandoff(const std::string& printerName, std::string& outputPath, ProfileReader& settings, HandoffShell& shell);

// Starts the follow-up program when "enablerun" asks for it, with the output
// path as its one argument (PathParameter). Returns whether a program was
// started.
bool RunFollowUpProgram(const std::string& outputPath, ProfileReader& settings, HandoffShell& shell);

std::string CopyFailedText(const std::string& keptPath, const std::string& chosenPath);
// Shown instead of starting a program when PathParameter cannot carry the path.
std::string PathNotPassedText(const std::string& path, const std::string& program);

}  // namespace tolvane
