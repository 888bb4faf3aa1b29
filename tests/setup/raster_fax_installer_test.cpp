#include "setup/raster_fax_installer.h"

#include <gtest/gtest.h>

#include "tests/setup/setup_fakes.h"

namespace tolvane {
namespace {

using Steps = std::vector<std::string>;

const Steps kFullInstall = {"progress 0",
                            "progress 70",
                            "log 1 Add Quillon Driver Success!",
                            "progress 80",
                            "log 1 Add Quillon Port Success!",
                            "progress 90",
                            "log 1 Add Quillon Printer Success!",
                            "progress 100"};
const std::u16string kX86Drivers = u"C:\\Windows\\system32\\spool\\drivers\\w32x86\\";
const std::u16string kX64Drivers = u"C:\\Windows\\system32\\spool\\drivers\\x64\\";
const std::vector<std::u16string> kCurrentDependents = {u"UNIRES.DLL", u"STDNAMES.GPD", u"TessaryUi.dll",
                                                        u"TessaryUi.INI", u"TessaryUni.dll"};

SetupOutcome Install(testing::FakeMachine& m, bool older = false) {
    return RasterFaxInstaller(m.machine, older).Install();
}
SetupOutcome Uninstall(testing::FakeMachine& m) {
    m.journal.events.clear();
    return RasterFaxInstaller(m.machine, false).Uninstall();
}
const DriverRecord& Driver(const testing::FakeMachine& m, std::u16string_view environment) {
    return m.spooler.drivers.at({std::u16string(environment), u"Quillon"});
}

TEST(RasterInstallTest, On32BitWindowsTheDriverPortAndPrinterAreCreated) {
    testing::FakeMachine m(32);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), kFullInstall);

    EXPECT_EQ(m.files.Content(u"C:\\Windows\\TessarySys.dll"), "i386/TessarySys.dll");
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\PellmarkSys.dll"));
    EXPECT_EQ(m.files.Content(kX86Drivers + u"TessaryUni.dll"), "i386/TessaryUni.dll") << "a sub-folder lands flat";
    const DriverRecord& driver = Driver(m, kEnvironmentX86);
    EXPECT_EQ(driver.environment, u"");
    EXPECT_EQ(driver.driverPath, u"UNIDRV.dll");
    EXPECT_EQ(driver.dataFile, u"Yarrowby.GPD");
    EXPECT_EQ(driver.configFile, u"UNIDRVUI.dll");
    EXPECT_EQ(driver.helpFile, u"");
    EXPECT_EQ(driver.dependentFiles, kCurrentDependents);
    EXPECT_EQ(driver.defaultDataType, u"NT EMF 1.008");
    EXPECT_TRUE(m.journal.IndexOf("xcv ,XcvMonitor Local Port AddPort Quillon Port") >= 0);
    const PrinterRecord& printer = m.spooler.printers.at(u"Quillon Printer");
    EXPECT_EQ(printer.shareName, u"Quillon Printer");
    EXPECT_EQ(printer.portName, u"Quillon Port");
    EXPECT_EQ(printer.driverName, u"Quillon");
    EXPECT_TRUE(printer.emptyComment);
    EXPECT_EQ(printer.printProcessor, u"WinPrint");
    EXPECT_EQ(printer.dataType, u"RAW");
    EXPECT_EQ(printer.attributes, 4u);
}

TEST(RasterInstallTest, TheOlderBuildUsesThePellmarkSetOn32BitSystems) {
    testing::FakeMachine m(32);
    ASSERT_EQ(Install(m, true), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), kFullInstall);
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\PellmarkSys.dll"), "i386/PellmarkSys.dll");
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\TessarySys.dll"));
    const DriverRecord& driver = Driver(m, kEnvironmentX86);
    EXPECT_EQ(driver.dataFile, u"Pellmark.GPD");
    EXPECT_EQ(driver.helpFile, u"unidrv.hlp");
    EXPECT_EQ(driver.dependentFiles, (std::vector<std::u16string>{u"Pellmark.GPD", u"PellmarkUi.dll", u"PellmarkUi.INI",
                                                                  u"PellmarkUni.dll", u"stdnames.gpd", u"unidrv.dll",
                                                                  u"unidrv.hlp", u"unidrvui.dll", u"unires.dll"}));
}

TEST(RasterInstallTest, On64BitWindowsEachEnvironmentGetsItsFolder) {
    for (const bool older : {false, true}) {
        testing::FakeMachine m(64);
        ASSERT_EQ(Install(m, older), SetupOutcome::kSuccess) << older;
        EXPECT_EQ(m.Steps(), kFullInstall) << "one driver entry for both";
        EXPECT_EQ(Driver(m, kEnvironmentX64).environment, kEnvironmentX64);
        EXPECT_EQ(Driver(m, kEnvironmentX64).dataFile, u"Yarrowby.GPD");
        EXPECT_EQ(Driver(m, kEnvironmentX86).dataFile, older ? u"Pellmark.GPD" : u"Yarrowby.GPD");
        EXPECT_EQ(m.files.Content(kX64Drivers + u"UNIDRV.dll"), "amd64/UNIDRV.dll");
        EXPECT_EQ(m.files.Content(kX86Drivers + u"UNIDRV.dll"), "i386/UNIDRV.dll");
        // The Windows directory holds one back end of a name: the native one.
        EXPECT_EQ(m.files.Content(u"C:\\Windows\\TessarySys.dll"), "amd64/TessarySys.dll");
        EXPECT_EQ(m.files.Content(u"C:\\Windows\\PellmarkSys.dll").has_value(), older);
    }
}

TEST(RasterInstallTest, AnExistingDriverIsLeftAloneWithoutAnEntry) {
    testing::FakeMachine m(32);
    m.spooler.drivers[{std::u16string(kEnvironmentX86), u"Quillon"}] = DriverRecord{};
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 70", "progress 80", "log 1 Add Quillon Port Success!",
                                "progress 90", "log 1 Add Quillon Printer Success!", "progress 100"}));
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\TessarySys.dll")) << "no file copied";
    EXPECT_TRUE(m.files.FileNames(kX86Drivers).empty());

    // Installed again: the printer is there, the port is requested all the same.
    m.journal.events.clear();
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 70", "progress 80", "log 1 Add Quillon Port Success!",
                                "progress 90", "progress 100"}));
}

TEST(RasterInstallTest, EachFailingStepEndsWithItsEntries) {
    struct Case {
        const char* what;
        void (*arrange)(testing::FakeMachine&);
        Steps steps;
    };
    const Case cases[] = {
        {"spooler down",
         [](testing::FakeMachine& m) {
             m.services.running = false;
             m.services.startRefused = true;
         },
         {"progress 0", "progress 100", "log 0 Start Print Service failed!"}},
        {"driver refused",
         [](testing::FakeMachine& m) { m.spooler.addDriverFailsFor.insert(u"Windows NT x86"); },
         {"progress 0", "progress 70", "log -1 Error of AddDriver Quillon [Windows NT x86].\r\n", "progress 100",
          "log 0 Add Quillon Driver Failed!"}},
        {"port call failed",
         [](testing::FakeMachine& m) { m.spooler.xcvCallFails = true; },
         {"progress 0", "progress 70", "log 1 Add Quillon Driver Success!", "progress 80",
          "log 0 Add Quillon Port Failed!"}},
        {"port object not opened",
         [](testing::FakeMachine& m) { m.spooler.xcvOpenFails = true; },
         {"progress 0", "progress 70", "log 1 Add Quillon Driver Success!", "progress 80",
          "log -1 Error of xcv ,XcvMonitor Local Port AddPort Quillon Port open.\r\n",
          "log 0 Add Quillon Port Failed!"}},
        {"printer refused",
         [](testing::FakeMachine& m) { m.spooler.addPrinterFails = true; },
         {"progress 0", "progress 70", "log 1 Add Quillon Driver Success!", "progress 80",
          "log 1 Add Quillon Port Success!", "progress 90", "log -1 Error of AddPrinter Quillon Printer.\r\n",
          "progress 100", "log 0 Add Quillon Printer Failed!"}},
    };
    for (const Case& c : cases) {
        testing::FakeMachine m(32);
        c.arrange(m);
        EXPECT_EQ(Install(m), SetupOutcome::kFailure) << c.what;
        EXPECT_EQ(m.Steps(), c.steps) << c.what;
        EXPECT_TRUE(m.spooler.printers.empty()) << c.what;
    }
}

TEST(RasterUninstallTest, TheUninstallRemovesPrinterPortAndDriverAndOnlyTheListedFiles) {
    testing::FakeMachine m(32);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    m.spooler.queuedJobs[u"Quillon Printer"] = 2;
    ASSERT_EQ(Uninstall(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 20", "progress 40", "log 1 Delete Quillon Printer Success!",
                                "log 1 Delete Quillon Port Success!", "progress 60", "progress 70",
                                "log 1 Delete Quillon Driver Success!", "progress 100"}));
    EXPECT_LT(m.journal.IndexOf("CancelAllJobs Quillon Printer 2"), m.journal.IndexOf("DeletePrinter Quillon Printer"));
    EXPECT_TRUE(m.spooler.printers.empty());
    EXPECT_TRUE(m.spooler.drivers.empty());
    EXPECT_TRUE(m.spooler.ports[u"Local Port"].empty());
    for (std::u16string_view gone : {u"Pellmark.GPD", u"UNIDRVUI.dll", u"UNIDRV.dll", u"UNIDRV.HLP"})
        EXPECT_FALSE(m.files.Content(kX86Drivers + std::u16string(gone))) << testing::Narrow(gone);
    for (std::u16string_view stays : {u"Yarrowby.GPD", u"UNIRES.DLL", u"TessaryUni.dll"})
        EXPECT_TRUE(m.files.Content(kX86Drivers + std::u16string(stays))) << testing::Narrow(stays);
    EXPECT_TRUE(m.files.Content(u"C:\\Windows\\TessarySys.dll"));
    EXPECT_EQ(m.journal.With({"service stop", "service start", "run"}), (Steps{"service stop", "service start"}));
}

TEST(RasterUninstallTest, On64BitWindowsBothDriversGo) {
    testing::FakeMachine m(64);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    ASSERT_EQ(Uninstall(m), SetupOutcome::kSuccess);
    EXPECT_TRUE(m.spooler.drivers.empty());
    EXPECT_FALSE(m.files.Content(kX64Drivers + u"UNIDRV.dll"));
    EXPECT_FALSE(m.files.Content(kX86Drivers + u"UNIDRV.dll"));
}

TEST(RasterUninstallTest, FailureBranchesAndWhatIsLeft) {
    {
        testing::FakeMachine m(32);
        m.spooler.ports[u"Local Port"].insert(u"Quillon Port");
        ASSERT_EQ(Uninstall(m), SetupOutcome::kSuccess) << "only the port exists";
        EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 20", "log 1 Delete Quillon Port Success!", "progress 60",
                                    "progress 100"}));
        EXPECT_EQ(m.journal.With({"CancelAllJobs"}), Steps{});
        EXPECT_TRUE(m.spooler.ports[u"Local Port"].empty());
    }
    {
        testing::FakeMachine m(32);
        ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
        m.spooler.deletePrinterFails = true;
        EXPECT_EQ(Uninstall(m), SetupOutcome::kFailure);
        EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 20", "progress 40",
                                    "log -1 Error of DeletePrinter Quillon Printer.\r\n", "progress 100",
                                    "log 0 Delete Quillon Printer Failed!"}));
        EXPECT_EQ(m.spooler.drivers.size(), 1u);
    }
    {
        testing::FakeMachine m(32);
        m.services.running = false;
        m.services.startRefused = true;
        EXPECT_EQ(Uninstall(m), SetupOutcome::kFailure);
        EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 10", "progress 100", "log 0 Start Print Service failed!"}));
    }
    {
        testing::FakeMachine m(32);
        ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
        m.spooler.xcvCallFails = true;
        m.services.startRefused = true;
        EXPECT_EQ(Uninstall(m), SetupOutcome::kSpoolerNotRestarted);
        EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 20", "progress 40", "log 1 Delete Quillon Printer Success!",
                                    "log 0 Delete Quillon Port Failed!", "progress 60", "progress 70",
                                    "log 1 Delete Quillon Driver Success!"}))
            << "a failed port removal goes on; no entry and no 100 for the spooler that stayed down";
    }
}

}  // namespace
}  // namespace tolvane
