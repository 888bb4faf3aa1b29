// The recipients answer and the other answers and settings that end up in the
// job's command lines: the user types them into the send-fax form, and they
// cross the pipe from another process. Fields, separated by NUL: recipients,
// the default name (answer C), sender, notification address, advertising,
// user name, maximum dials, the document name the server gave.
#include <string>
#include <vector>

#include "monitor/submission/job_commands.h"
#include "monitor/submission/protocol_text.h"
#include "monitor/submission/recipient_list.h"
#include "tests/fuzz/fuzz_input.h"

namespace tolvane::fuzz {
namespace {

bool Blank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

// The argument of a quoted command ("JPARM TAGLINE \"...\"\n") ends at its last
// quote: inside it every quote is escaped, so the server reads one value.
void CheckQuotedArgument(const std::string& line, std::string_view command) {
    if (line.rfind(command, 0) != 0) return;
    std::size_t pos = command.size();
    Require(pos < line.size() && line[pos] == '"', "a quoted argument opens with a quote");
    for (++pos; pos < line.size(); ++pos) {
        if (line[pos] == '\\') {
            ++pos;  // the escaped character, whatever it is
            continue;
        }
        if (line[pos] == '"') break;
    }
    Require(pos + 2 == line.size() && line[pos + 1] == '\n', "the quoted argument runs to the end of the line");
}

void CheckCommands(const JobCommandInput& input) {
    const std::vector<JobCommand> commands = BuildJobCommands(input);
    Require(!commands.empty() && commands.back().line == "JSUBM\n", "the commands end with JSUBM");
    bool dialled = false;
    for (const JobCommand& command : commands) {
        const std::string& line = command.line;
        // A line feed inside a value would be a second command to the server,
        // a carriage return would be stored in the job.
        Require(!line.empty() && line.find_first_of(std::string_view("\r\n\0", 3)) == line.size() - 1,
                "a command is one line, ended by its only line feed");
        CheckQuotedArgument(line, "JPARM TAGLINE ");
        CheckQuotedArgument(line, "JPARM JOBINFO ");
        if (line.rfind("JPARM DIALSTRING ", 0) == 0) {
            Require(line == "JPARM DIALSTRING " + ProtocolValue(input.recipient.number) + "\n",
                    "the number dialled is the recipient's");
            dialled = true;
        }
    }
    Require(dialled, "every job names its number");
}

}  // namespace
}  // namespace tolvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane;
    using fuzz::Require;
    fuzz::FuzzInput input(data, size);
    const std::string_view recipients = input.Field();
    const std::string_view defaultName = input.Field();

    const std::vector<FaxRecipient> parsed = ParseRecipients(recipients, defaultName);

    std::size_t entries = 1;
    for (char c : recipients) entries += c == ';' ? 1 : 0;
    Require(parsed.size() <= entries, "at most one recipient per entry");
    for (const FaxRecipient& recipient : parsed) {
        Require(!recipient.name.empty(), "a name is never empty");
        Require(!fuzz::Blank(recipient.number), "a number is never blank");
        Require(recipients.find(recipient.number) != std::string_view::npos, "a number is as entered");
        Require(recipient.number.find(';') == std::string::npos, "a number holds no separator");
    }

    JobCommandInput job;
    job.answers.recipients = std::string(recipients);
    job.answers.recipientName = std::string(defaultName);
    job.answers.sender = std::string(input.Field());
    job.answers.notificationEmail = std::string(input.Field());
    job.settings.advertising = std::string(input.Field());
    job.settings.username = std::string(input.Field());
    job.settings.maxDials = std::string(input.Field());
    job.documentName = std::string(input.Field());
    job.jobInfoTime = "2026-12-08 01:02:03";
    for (std::size_t i = 0; i < parsed.size() && i < 8; ++i) {
        job.recipient = parsed[i];
        fuzz::CheckCommands(job);
    }
    return 0;
}
