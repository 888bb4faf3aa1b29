#include "setup/command_line.h"

#include <optional>

#include "common/port_settings/port_settings_store.h"
#include "common/port_values.h"
#include "common/letter_case.h"

namespace tolvane {
namespace {

enum class ValueKind { kText, kFlag, kList };

struct SettingName {
    std::u16string_view name;
    ValueKind kind;
    PortList list;  // for kList
};

// The port values an administrator may set, in the order the store saves them.
// "Description" is the monitor's own and always "Tolvane Port".
constexpr SettingName kSettings[] = {
    {value::kServer, ValueKind::kText, PortList::kCount},
    {value::kIgnorePassiveIp, ValueKind::kFlag, PortList::kCount},
    {value::kUsername, ValueKind::kText, PortList::kCount},
    {value::kPassword, ValueKind::kText, PortList::kCount},
    {value::kSender, ValueKind::kText, PortList::kCount},
    {value::kAdvertising, ValueKind::kText, PortList::kCount},
    {value::kAddressBookType, ValueKind::kList, PortList::kAddressBookType},
    {value::kAddressBookPath, ValueKind::kText, PortList::kCount},
    {value::kSysMode, ValueKind::kList, PortList::kSysMode},
    {value::kModem, ValueKind::kList, PortList::kModem},
    {value::kPageSize, ValueKind::kList, PortList::kPageSize},
    {value::kResolution, ValueKind::kList, PortList::kResolution},
    {value::kMaxDials, ValueKind::kList, PortList::kMaxDials},
    {value::kMaxTries, ValueKind::kList, PortList::kMaxTries},
    {value::kPriority, ValueKind::kList, PortList::kPriority},
    {value::kValidity, ValueKind::kList, PortList::kValidity},
    {value::kConfirm, ValueKind::kFlag, PortList::kCount},
    {value::kDefaultEmail, ValueKind::kText, PortList::kCount},
    {value::kNotificationType, ValueKind::kText, PortList::kCount},
};

const SettingName* FindSetting(std::u16string_view name) {
    for (const SettingName& setting : kSettings)
        if (EqualsIgnoringCase(setting.name, name)) return &setting;
    return nullptr;
}

std::u16string SettingNames() {
    std::u16string names;
    for (const SettingName& setting : kSettings) {
        if (!names.empty()) names += u", ";
        names += setting.name;
    }
    return names;
}

bool AllDigits(std::u16string_view text) {
    if (text.empty()) return false;
    for (char16_t c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

std::u16string Decimal(std::size_t number) {
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

// The text stored for `value`, or nothing with `error` set. An empty value
// removes the setting, so the port falls back to its default. A list takes the
// stored code (0 for the first entry) or, where the entries are not numbers,
// an entry's text; digits are always the code, so "MaxDials=2" is three dials,
// as the registry holds it.
std::optional<std::u16string> StoredValue(const SettingName& setting, std::u16string_view value,
                                          std::u16string& error) {
    const std::u16string name(setting.name);
    if (value.empty()) return std::u16string();
    switch (setting.kind) {
    case ValueKind::kText:
        if (value.size() > kPortValueMaxChars) {
            error = name + u" is longer than " + Decimal(kPortValueMaxChars) + u" characters";
            return std::nullopt;
        }
        return std::u16string(value);
    case ValueKind::kFlag:
        if (value == u"0" || value == u"1") return std::u16string(value);
        error = name + u" takes 0 or 1, not \"" + std::u16string(value) + u"\"";
        return std::nullopt;
    case ValueKind::kList: {
        const std::vector<std::u16string>& entries = PortListEntries(setting.list);
        if (AllDigits(value)) {
            std::size_t code = 0;
            for (std::size_t i = 0; i < value.size() && code < entries.size(); ++i)
                code = code * 10 + static_cast<std::size_t>(value[i] - u'0');
            if (code < entries.size()) return Decimal(code);
        } else {
            for (std::size_t code = 0; code < entries.size(); ++code)
                if (EqualsIgnoringCase(entries[code], value)) return Decimal(code);
        }
        std::u16string choices;
        for (std::size_t code = 0; code < entries.size(); ++code) {
            if (!choices.empty()) choices += u", ";
            choices += Decimal(code) + u" (" + entries[code] + u")";
        }
        error = name + u" takes one of " + choices + u", not \"" + std::u16string(value) + u"\"";
        return std::nullopt;
    }
    }
    return std::nullopt;
}

// An argument that is an option, so it cannot be the value of the one before
// it: anything with "/", or a known option word with "-".
bool IsOption(std::u16string_view argument) {
    if (argument.empty()) return false;
    if (argument.front() == u'/') return true;
    if (argument.front() != u'-') return false;
    const std::u16string_view word = argument.substr(1);
    for (std::u16string_view known : {u"install", u"uninstall", u"quiet", u"log", u"set"})
        if (EqualsIgnoringCase(word, known)) return true;
    return false;
}

CommandLineResult Refused(std::u16string error) {
    CommandLineResult result;
    result.error = std::move(error);
    return result;
}

}  // namespace

CommandLineResult ParseCommandLine(const std::vector<std::u16string>& arguments) {
    CommandLineResult result;
    UnattendedCommand& command = result.command;
    bool logGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (argument.size() < 2 || (argument.front() != u'/' && argument.front() != u'-'))
            return Refused(u"unexpected argument \"" + argument + u"\"");
        const std::u16string word = AsciiUpper(std::u16string_view(argument).substr(1));
        auto takeValue = [&]() -> std::optional<std::u16string> {
            if (i + 1 >= arguments.size() || IsOption(arguments[i + 1])) return std::nullopt;
            return arguments[++i];
        };

        if (word == u"INSTALL" || word == u"UNINSTALL") {
            if (command.action != UnattendedAction::kNone) return Refused(u"give one of /install and /uninstall, once");
            command.action = word == u"INSTALL" ? UnattendedAction::kInstall : UnattendedAction::kUninstall;
            const std::optional<std::u16string> printer = takeValue();
            if (!printer) return Refused(argument + u" needs the printer: tolvane or quillon");
            if (EqualsIgnoringCase(*printer, u"tolvane")) {
                command.printer = PrinterKind::kTolvane;
            } else if (EqualsIgnoringCase(*printer, u"quillon")) {
                command.printer = PrinterKind::kQuillon;
            } else {
                return Refused(u"unknown printer \"" + *printer + u"\": tolvane or quillon");
            }
        } else if (word == u"QUIET") {
            command.quiet = true;
        } else if (word == u"LOG") {
            if (logGiven) return Refused(u"/log is given twice");
            logGiven = true;
            const std::optional<std::u16string> file = takeValue();
            if (!file || file->empty()) return Refused(argument + u" needs a file name");
            command.logFile = *file;
        } else if (word == u"SET") {
            const std::optional<std::u16string> assignment = takeValue();
            if (!assignment) return Refused(argument + u" needs NAME=VALUE");
            const std::size_t equals = assignment->find(u'=');
            if (equals == std::u16string::npos) return Refused(u"/set needs NAME=VALUE, not \"" + *assignment + u"\"");
            const std::u16string_view name = std::u16string_view(*assignment).substr(0, equals);
            if (name.empty()) return Refused(u"/set needs a name before \"=\"");
            const SettingName* setting = FindSetting(name);
            if (setting == nullptr)
                return Refused(u"\"" + std::u16string(name) + u"\" is not a port setting; the settings are " +
                               SettingNames());
            std::u16string error;
            const std::optional<std::u16string> stored =
                StoredValue(*setting, std::u16string_view(*assignment).substr(equals + 1), error);
            if (!stored) return Refused(error);
            command.settings.emplace_back(std::u16string(setting->name), *stored);
        } else {
            return Refused(u"unknown option \"" + argument + u"\"");
        }
    }

    if (!arguments.empty() && command.action == UnattendedAction::kNone)
        return Refused(u"give /install or /uninstall with the printer");
    if (!command.settings.empty() && command.action == UnattendedAction::kUninstall)
        return Refused(u"/set goes with /install only");
    if (!command.settings.empty() && command.printer == PrinterKind::kQuillon)
        return Refused(u"/set is for the port of the tolvane printer; quillon has no port settings");
    result.ok = true;
    return result;
}

std::u16string UsageText(std::u16string_view programName) {
    const std::u16string program(programName);
    return u"Usage:\r\n"
           u"  " +
           program +
           u" /install tolvane|quillon [/quiet] [/log FILE] [/set NAME=VALUE]...\r\n"
           u"  " +
           program +
           u" /uninstall tolvane|quillon [/quiet] [/log FILE]\r\n"
           u"\r\n"
           u"/quiet           no window and no message box\r\n"
           u"/log FILE        append the setup entries to FILE\r\n"
           u"/set NAME=VALUE  a setting of the installed tolvane port (repeatable; the last of a name wins);\r\n"
           u"                 an empty VALUE leaves the setting at its default; a list takes its code\r\n"
           u"                 (0 for the first entry) or the entry's text; a check box takes 0 or 1.\r\n"
           u"                 NAME is one of " +
           SettingNames() +
           u".\r\n"
           u"\r\n"
           u"Without arguments the program opens its window.\r\n"
           u"Exit code: 0 success, 1 failure, 2 a bad command line.\r\n";
}

}  // namespace tolvane
