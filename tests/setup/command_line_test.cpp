#include "setup/command_line.h"

#include <gtest/gtest.h>

#include "tests/setup/setup_fakes.h"

namespace tolvane {
namespace {

using Settings = std::vector<std::pair<std::u16string, std::u16string>>;

CommandLineResult Parse(std::vector<std::u16string> arguments) { return ParseCommandLine(arguments); }

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return text;
}

TEST(CommandLineTest, NoArgumentsIsTheDialog) {
    const CommandLineResult result = Parse({});
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.command.action, UnattendedAction::kNone);
}

TEST(CommandLineTest, EveryOptionIsTaken) {
    const CommandLineResult install =
        Parse({u"/install", u"tolvane", u"/quiet", u"/log", u"C:\\logs\\setup log.txt", u"/set", u"Server=10.0.0.5",
               u"-SET", u"password=a=b", u"/set", u"pagesize=us letter"});
    ASSERT_TRUE(install.ok) << testing::Narrow(install.error);
    EXPECT_EQ(install.command.action, UnattendedAction::kInstall);
    EXPECT_EQ(install.command.printer, PrinterKind::kTolvane);
    EXPECT_TRUE(install.command.quiet);
    EXPECT_EQ(install.command.logFile, u"C:\\logs\\setup log.txt");
    EXPECT_EQ(install.command.settings,
              (Settings{{u"Server", u"10.0.0.5"}, {u"Password", u"a=b"}, {u"PageSize", u"0"}}));

    const CommandLineResult uninstall = Parse({u"-Uninstall", u"QUILLON"});
    ASSERT_TRUE(uninstall.ok);
    EXPECT_EQ(uninstall.command.action, UnattendedAction::kUninstall);
    EXPECT_EQ(uninstall.command.printer, PrinterKind::kQuillon);
    EXPECT_FALSE(uninstall.command.quiet);
    EXPECT_TRUE(uninstall.command.logFile.empty());
}

TEST(CommandLineTest, EveryPortSettingNameIsKnownInItsOwnSpelling) {
    const Settings expected = {{u"Server", u"fax.example"}, {u"Username", u"u"},
                               {u"Password", u"p"},         {u"Sender", u"s"},
                               {u"Advertising", u"a"},      {u"Modem", u"4"},
                               {u"PageSize", u"1"},         {u"Resolution", u"2"},
                               {u"MaxDials", u"5"},         {u"MaxTries", u"0"},
                               {u"Priority", u"2"},         {u"Validity", u"4"},
                               {u"Confirm", u"0"},          {u"DefaultEmail", u"e@x"},
                               {u"AddressBookType", u"1"},  {u"AddressBookPath", u"c:\\book"},
                               {u"IgnorePassiveIP", u"1"},  {u"SysMode", u"0"},
                               {u"NotificationType", u" "}};
    std::vector<std::u16string> arguments{u"/install", u"tolvane"};
    for (const auto& [name, value] : expected) arguments.insert(arguments.end(), {u"/set", Lower(name) + u"=" + value});
    const CommandLineResult result = Parse(arguments);
    ASSERT_TRUE(result.ok) << testing::Narrow(result.error);
    EXPECT_EQ(result.command.settings, expected);
}

TEST(CommandLineTest, ValuesAreCheckedAndStoredAsTheRegistryHoldsThem) {
    auto stored = [](std::u16string assignment) -> std::u16string {
        const CommandLineResult result = Parse({u"/install", u"tolvane", u"/set", assignment});
        return result.ok ? result.command.settings.at(0).second : u"refused: " + result.error;
    };
    EXPECT_EQ(stored(u"Resolution=SupperFine"), u"2") << "an entry's text becomes its code";
    EXPECT_EQ(stored(u"Validity=48 HOURS"), u"4");
    EXPECT_EQ(stored(u"MaxDials=2"), u"2") << "digits are the code, here three dials";
    EXPECT_EQ(stored(u"MaxDials=05"), u"5");
    EXPECT_EQ(stored(u"Sender="), u"") << "an empty value falls back to the default";
    EXPECT_EQ(stored(u"Server=" + std::u16string(1023, u's')), std::u16string(1023, u's'));
    for (const std::u16string& refused :
         std::vector<std::u16string>{u"MaxDials=6", u"MaxDials=99999999999999999999", u"PageSize=A3", u"Modem=-1",
                                     u"Confirm=yes", u"IgnorePassiveIP=2", u"Server=" + std::u16string(1024, u's')}) {
        EXPECT_EQ(stored(refused).substr(0, 9), u"refused: ") << testing::Narrow(refused);
    }
    EXPECT_NE(stored(u"PageSize=A3").find(u"0 (US Letter), 1 (A4)"), std::u16string::npos) << "the choices are named";
}

TEST(CommandLineTest, BadLinesAreRefusedWithAReason) {
    const std::vector<std::vector<std::u16string>> refused = {
        {u"/quiet"},                                           // neither install nor uninstall
        {u"/install"},                                         // no printer
        {u"/install", u"/quiet"},                              // an option is no printer
        {u"/install", u"laser"},                               // unknown printer
        {u"/install", u"tolvane", u"/uninstall", u"tolvane"},  // both
        {u"/install", u"tolvane", u"/install", u"quillon"},    // twice
        {u"/install", u"tolvane", u"/log"},                    // no file
        {u"/install", u"tolvane", u"/log", u"-quiet"},         // an option is no file
        {u"/install", u"tolvane", u"/log", u"a", u"/log", u"b"},
        {u"/install", u"tolvane", u"/log", u""},
        {u"/install", u"tolvane", u"/set"},
        {u"/install", u"tolvane", u"/set", u"Server"},         // no "="
        {u"/install", u"tolvane", u"/set", u"=1.2.3.4"},       // no name
        {u"/install", u"tolvane", u"/set", u"Description=x"},  // the monitor's own
        {u"/install", u"tolvane", u"/set", u"Colour=red"},
        {u"/install", u"quillon", u"/set", u"Server=x"},  // the raster printer has no port settings
        {u"/uninstall", u"tolvane", u"/set", u"Server=x"},
        {u"/install", u"tolvane", u"/reboot"},
        {u"/install", u"tolvane", u"extra"},
        {u"install", u"tolvane"},
        {u"/", u"tolvane"},
    };
    for (const auto& arguments : refused) {
        const CommandLineResult result = ParseCommandLine(arguments);
        std::string line;
        for (const auto& argument : arguments) line += testing::Narrow(argument) + " ";
        EXPECT_FALSE(result.ok) << line;
        EXPECT_FALSE(result.error.empty()) << line;
    }
    EXPECT_NE(Parse({u"/install", u"tolvane", u"/set", u"Colour=red"}).error.find(u"Server, IgnorePassiveIP"),
              std::u16string::npos)
        << "the refusal lists the settings";
}

TEST(CommandLineTest, TheUsageNamesEveryOptionAndTheExitCodes) {
    const std::u16string usage = UsageText(u"Ruddock.exe");
    for (std::u16string_view part : {u"Ruddock.exe /install tolvane|quillon", u"/uninstall", u"/quiet", u"/log FILE",
                                     u"/set NAME=VALUE", u"NotificationType", u"2 a bad command line"})
        EXPECT_NE(usage.find(part), std::u16string::npos) << testing::Narrow(part);
    EXPECT_EQ(kExitSuccess, 0);
    EXPECT_EQ(kExitFailure, 1);
    EXPECT_EQ(kExitUsage, 2);
}

}  // namespace
}  // namespace tolvane
