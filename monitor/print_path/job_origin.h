#pragma once
// Whether a printed job comes from another computer. The fax port serves the
// users of this machine only: a job that a client machine sends through a
// shared printer would show its form on this machine's console, to the wrong
// person. The machine comes from the spooler's job record, which cannot
// always be read (Wine never passes the printer name or job id): a job whose
// machine is unknown is this machine's own.

#include <string_view>

namespace tolvane {

// recordMachineName: the job record's machine name as read ("\\NAME"), empty
// when the record could not be read. localComputerName: this computer's name,
// empty when unknown. True only when a machine name was read and it differs,
// without regard to case, from the local name.
bool IsFromAnotherComputer(std::u16string_view recordMachineName, std::u16string_view localComputerName);

}  // namespace tolvane
