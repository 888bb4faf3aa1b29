#include "setup/unattended_setup.h"

#include <gtest/gtest.h>

#include "common/port_values.h"
#include "tests/setup/setup_fakes.h"
#include "tests/support/memory_key_store.h"

namespace tolvane {
namespace {

using Entries = std::vector<std::string>;

class UnattendedSetupTest : public ::testing::Test {
protected:
    UnattendedSetupTest() { m_.spooler.registry = &registry_; }

    int Run(std::vector<std::u16string> arguments, const SetupVariant& variant = kRuddock) {
        const CommandLineResult line = ParseCommandLine(arguments);
        EXPECT_TRUE(line.ok) << testing::Narrow(line.error);
        return RunUnattended(line.command, m_.machine, variant, store_);
    }
    Entries Log() const { return m_.journal.With({"log "}); }
    std::optional<std::u16string> Stored(const std::u16string& name) {
        return registry_.Value(std::u16string(kSetupPortsKeyPath) + u"F", name);
    }

    testing::FakeMachine m_{32};
    testing::MemoryKeyStore registry_;
    PortSettingsStore store_{registry_};
};

TEST_F(UnattendedSetupTest, AnInstallLogsWhatTheWindowLogsAndThenWritesTheSettings) {
    EXPECT_EQ(Run({u"/install", u"tolvane", u"/set", u"server=fax.example", u"/set", u"PageSize=US Letter", u"/set",
                   u"Confirm=0"}),
              kExitSuccess);
    EXPECT_EQ(Log(), (Entries{"log 1 Tolvane Install Starting...", "log 1 Add Tolvane Monitor Success!",
                              "log 1 Add Tolvane Port Success!", "log 1 Add Tolvane Printer Success!",
                              "log 1 Tolvane Install Success!", "log 1 Set Tolvane Port Server Success!",
                              "log 1 Set Tolvane Port PageSize Success!", "log 1 Set Tolvane Port Confirm Success!"}));
    EXPECT_EQ(Stored(u"Server"), u"fax.example");
    EXPECT_EQ(Stored(u"PageSize"), u"0");
    EXPECT_EQ(Stored(u"Confirm"), u"0");
}

TEST_F(UnattendedSetupTest, AnEmptyValueRemovesTheSettingAndPasswordsStayOutOfTheLog) {
    ASSERT_EQ(Run({u"/install", u"tolvane", u"/set", u"Password=secret"}), kExitSuccess);
    EXPECT_EQ(Stored(u"Password"), u"secret");
    for (const std::string& entry : Log()) EXPECT_EQ(entry.find("secret"), std::string::npos) << entry;
    ASSERT_EQ(Run({u"/install", u"tolvane", u"/set", u"Password=", u"/set", u"Sender="}), kExitSuccess);
    EXPECT_FALSE(Stored(u"Password"));
    EXPECT_FALSE(Stored(u"Sender")) << "never there: removing it counts as done";
}

TEST_F(UnattendedSetupTest, SettingsThatCannotBeWrittenFailTheRun) {
    m_.spooler.registry = nullptr;  // a monitor that made no key for its port
    EXPECT_EQ(Run({u"/install", u"tolvane", u"/set", u"Server=fax.example", u"/set", u"Sender="}), kExitFailure);
    const Entries log = Log();
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
              (Entries{"log 1 Tolvane Install Success!", "log 0 Set Tolvane Port Server Failed!",
                       "log 0 Set Tolvane Port Sender Failed!"}));
}

TEST_F(UnattendedSetupTest, AFailedInstallOrRemovalGivesExitCode1) {
    m_.services.running = false;
    m_.services.startRefused = true;
    EXPECT_EQ(Run({u"/install", u"quillon"}), kExitFailure);
    EXPECT_EQ(Log(), (Entries{"log 1 Quillon Install Starting...", "log 0 Start Print Service failed!",
                              "log 0 Quillon Install Failed!"}));
    EXPECT_FALSE(Stored(u"Server"));

    m_.journal.events.clear();
    EXPECT_EQ(Run({u"/install", u"tolvane", u"/set", u"Server=x"}), kExitFailure);
    EXPECT_EQ(Log().back(), "log 0 Tolvane Install Failed!") << "no settings after a failed install";
}

TEST_F(UnattendedSetupTest, RemovalsAndTheSpoolerThatStaysDown) {
    ASSERT_EQ(Run({u"/install", u"quillon"}), kExitSuccess);
    m_.journal.events.clear();
    EXPECT_EQ(Run({u"/uninstall", u"quillon"}), kExitSuccess);
    EXPECT_EQ(Log().front(), "log 1 Quillon UnInstall Starting...");
    EXPECT_EQ(Log().back(), "log 1 Quillon UnInstall Success!");

    ASSERT_EQ(Run({u"/install", u"tolvane"}), kExitSuccess);
    m_.journal.events.clear();
    m_.services.startRefused = true;
    EXPECT_EQ(Run({u"/uninstall", u"tolvane"}), kExitFailure);
    EXPECT_EQ(Log().back(), "log 0 Tolvane UnInstall Failed!");
}

TEST_F(UnattendedSetupTest, TheVariantChoosesTheRasterFileSetAndNoActionIsAUsageError) {
    ASSERT_EQ(Run({u"/install", u"quillon"}, kRuddset), kExitSuccess);
    EXPECT_TRUE(m_.files.Content(u"C:\\Windows\\PellmarkSys.dll"));
    EXPECT_EQ(RunUnattended(UnattendedCommand{}, m_.machine, kRuddock, store_), kExitUsage);
}

}  // namespace
}  // namespace tolvane
