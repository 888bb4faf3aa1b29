#pragma once
// Each document's conversation has a pipe of its own, so documents that end at
// the same time (every user of a terminal server printing at nine o'clock) are
// asked at the same time, and no answer can reach another document. The host
// names the pipe and hands the name to Korrim.exe on its command line:
//
//     "...\Korrim.exe" /pipe \\.\pipe\Caskel-<host process id>-<number>
//
// ("/notice" follows for a notice). A Korrim.exe that takes the name says so
// with "pipe" in the "Roles" entry of its version resource; one started
// without "/pipe" connects to the fixed kConversationPipePath, so an older
// host still works with it, and the monitor falls back to the fixed pipe, one
// conversation at a time, for an older Korrim.exe.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

inline constexpr std::u16string_view kPipeArgument = u"/pipe";
inline constexpr std::u16string_view kPipeRole = u"pipe";

// A name no other conversation of this process has had. Safe from any thread.
std::u16string NewConversationPipeName(std::uint32_t processId);

// The name after "/pipe" on a command line, when it is a conversation pipe of
// this suite (the fixed path, "-", digits, "-", digits): Korrim.exe never
// connects to a pipe of anyone else's choosing. Nothing otherwise.
std::optional<std::u16string> PipeNameOnCommandLine(std::u16string_view commandLine);

}  // namespace tolvane
