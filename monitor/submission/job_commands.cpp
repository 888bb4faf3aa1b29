#include "monitor/submission/job_commands.h"

#include <array>

#include "monitor/submission/protocol_text.h"

namespace tolvane {

namespace {

std::string SchedulePriorityLine(const std::string& priorityAnswer) {
    static constexpr std::array<const char*, 4> kPriorities = {"150", "100", "50", "30"};
    for (std::size_t i = 0; i < kPriorities.size(); ++i) {
        if (priorityAnswer == std::to_string(i)) return std::string("JPARM SCHEDPRI ") + kPriorities[i] + "\n";
    }
    return "JPARM SCHEDPRI 100\n";
}

std::string LastTimeLine(const std::string& validity) {
    // Days, hours and minutes the job may wait: 3 h, 6 h, 12 h, 1 day, 2 days.
    static constexpr std::array<const char*, 5> kLastTimes = {"000259", "000559", "001159", "002359", "012359"};
    for (std::size_t i = 0; i < kLastTimes.size(); ++i) {
        if (validity == std::to_string(i)) return std::string("JPARM LASTTIME ") + kLastTimes[i] + "\n";
    }
    return "JPARM LASTTIME 000259\n";
}

std::vector<std::string> ResolutionLines(const std::string& resolutionAnswer) {
    if (resolutionAnswer == "0") return {"JPARM VRES 98\n"};
    if (resolutionAnswer == "2") return {"JPARM USEXVRES YES\n", "JPARM VRES 391\n"};
    return {"JPARM VRES 196\n"};
}

std::string ModemLine(const std::string& lineAnswer) {
    // List position 0 is "any line"; 1 to 4 the internal ttyS4..7, 5 to 8 the
    // external ttyX0..3. Modem names are case-sensitive on the server, and only
    // "any" (lower case) means any modem.
    static constexpr std::array<const char*, 9> kModems = {"any",   "ttyS4", "ttyS5", "ttyS6", "ttyS7",
                                                           "ttyX0", "ttyX1", "ttyX2", "ttyX3"};
    for (std::size_t i = 0; i < kModems.size(); ++i) {
        if (lineAnswer == std::to_string(i)) return std::string("JPARM MODEM ") + kModems[i] + "\n";
    }
    return "JPARM MODEM any\n";
}

// A name quoted; an empty one stays bare, which the server refuses and so
// keeps its own default (the account's name), where "" would clear it and
// fail the job.
std::string NameArgument(const std::string& name) { return name.empty() ? std::string() : QuotedArgument(name); }

}  // namespace

std::vector<JobCommand> BuildJobCommands(const JobCommandInput& input) {
    const SubmissionSettings& settings = input.settings;
    const SubmissionAnswers& answers = input.answers;
    const std::string taglineName = TaglineText(input.recipient.name);
    const std::string taglineSender = TaglineText(answers.sender);

    std::vector<JobCommand> commands;
    auto essential = [&](std::string line) { commands.push_back({std::move(line), true}); };
    auto descriptive = [&](std::string line) { commands.push_back({std::move(line), false}); };

    essential("JOB DEFAULT\n");
    essential("JNEW\n");
    // Without a kill time the server rejects the job at once; the validity
    // below replaces this one.
    essential("JPARM LASTTIME 000259\n");
    essential("JPARM DIALSTRING " + ProtocolValue(input.recipient.number) + "\n");
    // Quoted, or the server collapses blanks and takes quotes for syntax.
    descriptive("JPARM TOUSER " + NameArgument(input.recipient.name) + "\n");
    descriptive("JPARM FROMUSER " + NameArgument(answers.sender) + "\n");
    descriptive("JPARM USETAGLINE YES\n");
    // The tagline's own "%" codes are the server's to expand; a "%" the user
    // typed is doubled so that it is printed, not taken for one of them.
    descriptive("JPARM TAGLINE \". To: " + taglineName + "  From: " + taglineSender +
                " %%l  Time: %Y.%m.%d %H:%M  P%%p/%%t  " + TaglineText(settings.advertising) + "\"\n");
    // "\011" is a tab once the server has decoded the quoted text.
    descriptive("JPARM JOBINFO \"" + QuotedProtocolValue(settings.username) + "\\011" +
                QuotedProtocolValue(input.jobInfoTime) + "\"\n");
    essential(SchedulePriorityLine(answers.priority));
    essential("JPARM MAXDIALS " + ProtocolValue(settings.maxDials) + "\n");
    essential("JPARM MAXTRIES " + ProtocolValue(settings.maxTries) + "\n");
    essential(LastTimeLine(settings.validity));
    for (std::string& line : ResolutionLines(answers.resolution)) essential(std::move(line));
    if (settings.pageSize == "1") {
        essential("JPARM PAGEWIDTH 209\n");
        essential("JPARM PAGELENGTH 296\n");
    }
    descriptive("JPARM NOTIFYADDR " + ProtocolValue(answers.notificationEmail) + "\n");
    descriptive("JPARM NOTIFY done\n");
    essential(ModemLine(answers.line));
    essential("JPARM DOCUMENT " + ProtocolValue(input.documentName) + "\n");
    essential("JSUBM\n");
    return commands;
}

}  // namespace tolvane
