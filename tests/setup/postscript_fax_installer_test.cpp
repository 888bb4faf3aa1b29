#include "setup/postscript_fax_installer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/setup/setup_fakes.h"

namespace tolvane {
namespace {

using Steps = std::vector<std::string>;

const Steps kFullInstall = {"progress 0",
                            "progress 20",
                            "progress 30",
                            "progress 50",
                            "progress 60",
                            "log 1 Add Tolvane Monitor Success!",
                            "progress 70",
                            "progress 80",
                            "log 1 Add Tolvane Port Success!",
                            "progress 90",
                            "log 1 Add Tolvane Printer Success!",
                            "progress 100"};

const Steps kFullUninstall = {"progress 0",
                              "progress 20",
                              "progress 40",
                              "log 1 Delete Tolvane Printer Success!",
                              "log 1 Delete Tolvane Port Success!",
                              "progress 60",
                              "progress 70",
                              "log 1 Delete Tolvane Driver Success!",
                              "log 1 Delete Tolvane Monitor Success!",
                              "progress 100"};

const std::u16string kX86Drivers = u"C:\\Windows\\system32\\spool\\drivers\\w32x86\\";
const std::u16string kX64Drivers = u"C:\\Windows\\system32\\spool\\drivers\\x64\\";
const char* const kDriverFiles[] = {"APLWMGS1.BPD", "APLWMGS1.PPD", "PS5UI.DLL", "PSCRIPT5.DLL", "PSCRIPT.HLP"};

class PostScriptInstallTest : public ::testing::Test {
protected:
    SetupOutcome Install(testing::FakeMachine& m) { return PostScriptFaxInstaller(m.machine).Install(); }
    SetupOutcome Uninstall(testing::FakeMachine& m) {
        m.journal.events.clear();
        return PostScriptFaxInstaller(m.machine).Uninstall();
    }
    static bool Contains(const testing::FakeMachine& m, std::string_view event) {
        return m.journal.IndexOf(event) >= 0;
    }
};

TEST_F(PostScriptInstallTest, On32BitWindowsTheFourObjectsAreCreatedWithTheirFiles) {
    testing::FakeMachine m(32);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), kFullInstall);

    EXPECT_TRUE(m.files.HasFolder(u"c:\\tiff"));
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\OstrelCaskel.dll"), "MONITOR/151");
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\Korrim.exe"), "system32/Korrim.exe");
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\Readme.txt"), "system32/Readme.txt");
    for (const char* name : kDriverFiles) {
        const std::u16string path = kX86Drivers + std::u16string(name, name + std::strlen(name));
        EXPECT_EQ(m.files.Content(path).value_or("").substr(0, 6), "WIN32/") << name;
    }
    EXPECT_TRUE(m.files.FileNames(u"C:\\Temp\\Setup").empty()) << "every extracted file was placed or deleted";

    const MonitorRecord& monitor = m.spooler.monitors.at(u"Tolvane");
    EXPECT_EQ(monitor.environment, u"");
    EXPECT_EQ(monitor.dllName, u"OstrelCaskel.dll");
    const DriverRecord& driver = m.spooler.drivers.at({std::u16string(kEnvironmentX86), u"Tolvane"});
    EXPECT_EQ(driver.version, 3);
    EXPECT_EQ(driver.environment, u"") << "the spooler's own environment";
    EXPECT_EQ(driver.driverPath, u"PSCRIPT5.DLL");
    EXPECT_EQ(driver.dataFile, u"APLWMGS1.PPD");
    EXPECT_EQ(driver.configFile, u"PS5UI.DLL");
    EXPECT_EQ(driver.helpFile, u"PSCRIPT.HLP");
    EXPECT_EQ(driver.dependentFiles, std::vector<std::u16string>{u"PSCRIPT5.DLL"});
    EXPECT_EQ(driver.defaultDataType, u"NT EMF 1.008");
    EXPECT_EQ(m.spooler.ports.at(u"Tolvane"), std::set<std::u16string>{u"F"});
    const PrinterRecord& printer = m.spooler.printers.at(u"Tolvane");
    EXPECT_EQ(printer.portName, u"F");
    EXPECT_EQ(printer.driverName, u"Tolvane");
    EXPECT_EQ(printer.shareName, u"");
    EXPECT_FALSE(printer.emptyComment);
    EXPECT_EQ(printer.printProcessor, u"WinPrint");
    EXPECT_EQ(printer.dataType, u"RAW");
    EXPECT_EQ(printer.attributes, 4u);
}

TEST_F(PostScriptInstallTest, On64BitWindowsBothEnvironmentsAndThe32BitSideAreServed) {
    testing::FakeMachine m(64);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), kFullInstall) << "one driver step, one entry list";

    // The 64-bit spooler's monitor, and what a spooler inside a 32-bit process loads.
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\Caskel.dll"), "MONITOR/152");
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\SysWOW64\\Caskel.dll"), "MONITOR/151");
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\SysWOW64\\Korrim.exe"), "SysWOW64/Korrim.exe");
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\system32\\OstrelCaskel.dll"));
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\SysWOW64\\OstrelCaskel.dll"));
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\SysWOW64\\Tolvane\\Caskelui.dll"), "SysWOW64/Caskelui.dll");
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\SysWOW64\\Tolvane\\Korrim.exe"), "SysWOW64/Korrim.exe");
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\Caskelui.dll"), "SysWOW64/Caskelui.dll");
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\Readme.txt"), "system32/Readme.txt");
    EXPECT_EQ(m.spooler.monitors.at(u"Tolvane").dllName, u"Caskel.dll");

    for (const char* name : kDriverFiles) {
        const std::u16string file(name, name + std::strlen(name));
        EXPECT_EQ(m.files.Content(kX64Drivers + file).value_or("").substr(0, 4), "X64/") << name;
        EXPECT_EQ(m.files.Content(kX86Drivers + file).value_or("").substr(0, 6), "WIN32/") << name;
    }
    EXPECT_EQ(m.spooler.drivers.at({std::u16string(kEnvironmentX64), u"Tolvane"}).environment, kEnvironmentX64);
    EXPECT_EQ(m.spooler.drivers.at({std::u16string(kEnvironmentX86), u"Tolvane"}).environment, kEnvironmentX86);
    EXPECT_LT(m.journal.IndexOf("AddDriver Tolvane [Windows x64]"),
              m.journal.IndexOf("AddDriver Tolvane [Windows NT x86]"));
    EXPECT_TRUE(m.files.FileNames(u"C:\\Temp\\Setup\\x64").empty());
    EXPECT_TRUE(m.files.FileNames(u"C:\\Temp\\Setup\\x86").empty());
    EXPECT_EQ(m.spooler.printers.at(u"Tolvane").portName, u"P");
    EXPECT_EQ(PostScriptFaxInstaller(m.machine).PortName(), u"P");
}

TEST_F(PostScriptInstallTest, AnUnknownBitnessTakesThe64BitChoicesWithoutTheRedirection) {
    testing::FakeMachine m(-1);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.files.Content(u"C:\\Windows\\system32\\Caskel.dll"), "MONITOR/152");
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\SysWOW64\\Caskel.dll"));
    EXPECT_EQ(m.spooler.printers.at(u"Tolvane").portName, u"P");
}

TEST_F(PostScriptInstallTest, ARepeatedInstallSkipsTheDriverAndThePrinter) {
    testing::FakeMachine m(32);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    m.journal.events.clear();
    m.files.AddFile(kX86Drivers + u"PSCRIPT5.DLL", "the system's own");
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 20", "progress 30", "progress 50", "progress 60",
                                "log -1 Error of AddMonitor Tolvane OstrelCaskel.dll.\r\n",
                                "log 0 Add Tolvane Monitor Failed!", "progress 70", "log 1 Add Tolvane Driver Success!",
                                "progress 80", "log 1 Add Tolvane Port Success!", "progress 90", "progress 100"}));
    EXPECT_FALSE(Contains(m, "AddDriver Tolvane [Windows NT x86]"));
    EXPECT_FALSE(Contains(m, "AddPrinter Tolvane"));
    EXPECT_TRUE(Contains(m, "xcv ,XcvMonitor Tolvane AddPort F")) << "the port is always requested";
    EXPECT_EQ(m.files.Content(kX86Drivers + u"PSCRIPT5.DLL"), "the system's own") << "extracted, not placed";
    EXPECT_TRUE(m.files.FileNames(u"C:\\Temp\\Setup").empty());
}

TEST_F(PostScriptInstallTest, OnlyTheMissingEnvironmentsDriverIsAdded) {
    testing::FakeMachine m(64);
    m.spooler.drivers[{std::u16string(kEnvironmentX64), u"Tolvane"}] = DriverRecord{};
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), kFullInstall) << "a driver added now has no entry of its own";
    EXPECT_FALSE(Contains(m, "AddDriver Tolvane [Windows x64]"));
    EXPECT_TRUE(Contains(m, "AddDriver Tolvane [Windows NT x86]"));
    EXPECT_FALSE(m.files.Content(kX64Drivers + u"PSCRIPT5.DLL")) << "the existing side's files are not placed";
    EXPECT_TRUE(m.files.FileNames(u"C:\\Temp\\Setup\\x64").empty());
}

TEST_F(PostScriptInstallTest, ASpoolerThatCannotBeStartedStopsTheInstallAtOnce) {
    testing::FakeMachine m(32);
    m.services.running = false;
    m.services.startRefused = true;
    EXPECT_EQ(Install(m), SetupOutcome::kFailure);
    EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 100", "log 0 Start Print Service failed!"}));
    EXPECT_TRUE(m.files.HasFolder(u"c:\\tiff")) << "made before the spooler is asked";
    EXPECT_TRUE(m.files.FileNames(u"C:\\Temp\\Setup").empty()) << "nothing extracted";
    EXPECT_TRUE(Contains(m, "sleep 2000"));

    testing::FakeMachine startable(32);
    startable.services.running = false;
    EXPECT_EQ(Install(startable), SetupOutcome::kSuccess);
}

TEST_F(PostScriptInstallTest, WithoutTheRedirectionSwitchThe64BitInstallStopsAt30) {
    testing::FakeMachine m(64);
    m.files.redirectionSwitchAvailable = false;
    EXPECT_EQ(Install(m), SetupOutcome::kFailure);
    EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 20", "progress 30", "log -1 Error of none.\r\n"}));
    EXPECT_EQ(m.files.Content(u"C:\\Temp\\Setup\\x64\\Caskel.dll"), "MONITOR/152") << "the extracted files stay";
    EXPECT_TRUE(m.spooler.monitors.empty());
}

TEST_F(PostScriptInstallTest, AMissingShippedMonitorInterfaceDoesNotStopThe64BitInstall) {
    testing::FakeMachine m(64);
    m.files.DeleteFile(u"D:\\Release\\SysWOW64\\Tolvane\\Caskelui.dll");
    EXPECT_EQ(Install(m), SetupOutcome::kSuccess);
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\SysWOW64\\Tolvane\\Caskelui.dll"));
}

TEST_F(PostScriptInstallTest, EachFailingStepEndsWithItsEntries) {
    struct Case {
        const char* what;
        void (*arrange)(testing::FakeMachine&);
        Steps tail;  // the steps after "progress 60", "log 1 Add Tolvane Monitor Success!", "progress 70"
    };
    const Case cases[] = {
        {"driver refused",
         [](testing::FakeMachine& m) { m.spooler.addDriverFailsFor.insert(u"Windows NT x86"); },
         {"log -1 Error of AddDriver Tolvane [Windows NT x86].\r\n", "progress 100",
          "log 0 Add Tolvane Driver Failed!"}},
        {"transceive object not opened",
         [](testing::FakeMachine& m) { m.spooler.xcvOpenFails = true; },
         {"progress 80", "log -1 Error of xcv ,XcvMonitor Tolvane AddPort F open.\r\n",
          "log 0 Add Tolvane Port Failed!"}},
        {"transceive call failed",
         [](testing::FakeMachine& m) { m.spooler.xcvCallFails = true; },
         {"progress 80", "log 0 Add Tolvane Port Failed!"}},
        {"printer refused",
         [](testing::FakeMachine& m) { m.spooler.addPrinterFails = true; },
         {"progress 80", "log 1 Add Tolvane Port Success!", "progress 90", "log -1 Error of AddPrinter Tolvane.\r\n",
          "progress 100", "log 0 Add Tolvane Printer Failed!"}},
    };
    for (const Case& c : cases) {
        testing::FakeMachine m(32);
        c.arrange(m);
        EXPECT_EQ(Install(m), SetupOutcome::kFailure) << c.what;
        Steps expected = {"progress 0",  "progress 20", "progress 30",
                          "progress 50", "progress 60", "log 1 Add Tolvane Monitor Success!",
                          "progress 70"};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(m.Steps(), expected) << c.what;
        EXPECT_TRUE(m.spooler.printers.empty()) << c.what;
    }
}

TEST_F(PostScriptInstallTest, AnUnwritableWorkFolderFailsTheInstallInsteadOfReportingSuccess) {
    testing::FakeMachine m(32);
    m.files.MakeReadOnly(u"C:\\Temp\\Setup");
    EXPECT_EQ(Install(m), SetupOutcome::kFailure);
    const Steps steps = m.Steps();
    EXPECT_EQ(steps.back(), "log 0 Add Tolvane Driver Failed!");
    EXPECT_NE(std::find(steps.begin(), steps.end(), "log 0 Add Tolvane Monitor Failed!"), steps.end());
}

TEST_F(PostScriptInstallTest, TheUninstallRemovesTheObjectsAndTheMonitorLibrary) {
    testing::FakeMachine m(32);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    m.spooler.queuedJobs[u"Tolvane"] = 3;
    ASSERT_EQ(Uninstall(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), kFullUninstall);

    EXPECT_LT(m.journal.IndexOf("CancelAllJobs Tolvane 3"), m.journal.IndexOf("DeletePrinter Tolvane"));
    EXPECT_TRUE(m.spooler.printers.empty());
    EXPECT_TRUE(m.spooler.drivers.empty());
    EXPECT_TRUE(m.spooler.monitors.empty());
    EXPECT_TRUE(Contains(m, "xcv ,XcvMonitor Tolvane DeletePort F"));
    for (const char* name : kDriverFiles)
        EXPECT_FALSE(m.files.Content(kX86Drivers + std::u16string(name, name + std::strlen(name)))) << name;
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\system32\\OstrelCaskel.dll"));
    EXPECT_TRUE(m.files.HasFolder(u"c:\\tiff"));
    EXPECT_TRUE(m.files.Content(u"C:\\Windows\\system32\\Korrim.exe")) << "the shipped folders' copies stay";
    // The final restart: stop and start with their waits, after the monitor went.
    const int monitorGone = m.journal.IndexOf("DeleteMonitor Tolvane");
    EXPECT_GT(m.journal.IndexOf("service stop"), monitorGone);
    EXPECT_EQ(m.journal.With({"service stop", "service start", "sleep", "run"}),
              (Steps{"service stop", "sleep 2000", "service start", "sleep 2000"}));
}

TEST_F(PostScriptInstallTest, The64BitUninstallRemovesBothDriversAndBothMonitorCopies) {
    testing::FakeMachine m(64);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    ASSERT_EQ(Uninstall(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), kFullUninstall);
    EXPECT_TRUE(m.spooler.drivers.empty());
    EXPECT_TRUE(Contains(m, "xcv ,XcvMonitor Tolvane DeletePort P"));
    EXPECT_FALSE(m.files.Content(kX64Drivers + u"PSCRIPT5.DLL"));
    EXPECT_FALSE(m.files.Content(kX86Drivers + u"PSCRIPT5.DLL"));
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\system32\\Caskel.dll"));
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\SysWOW64\\Caskel.dll"));
    EXPECT_TRUE(m.files.Content(u"C:\\Windows\\SysWOW64\\Tolvane\\Caskelui.dll"));
}

TEST_F(PostScriptInstallTest, AMonitorLibraryStillHeldIsDeletedAfterTheRestart) {
    testing::FakeMachine m(32);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    m.files.HoldFile(u"C:\\Windows\\system32\\OstrelCaskel.dll", 1);
    ASSERT_EQ(Uninstall(m), SetupOutcome::kSuccess);
    EXPECT_LT(m.journal.IndexOf("delete C:\\WINDOWS\\SYSTEM32\\OSTRELCASKEL.DLL failed"),
              m.journal.IndexOf("service stop"));
    EXPECT_GT(m.journal.IndexOf("delete C:\\WINDOWS\\SYSTEM32\\OSTRELCASKEL.DLL"), m.journal.IndexOf("service start"));
    EXPECT_FALSE(m.files.Content(u"C:\\Windows\\system32\\OstrelCaskel.dll"));
}

TEST_F(PostScriptInstallTest, AMonitorTheSpoolerRefusesIsDeletedOnceMoreAfterARestart) {
    testing::FakeMachine m(32);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    m.spooler.deleteMonitorRefusals = 1;
    ASSERT_EQ(Uninstall(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.journal.With({"DeleteMonitor", "service stop", "service start"}),
              (Steps{"DeleteMonitor Tolvane", "DeleteMonitor Tolvane failed", "service stop", "service start",
                     "DeleteMonitor Tolvane", "service stop", "service start"}));
    EXPECT_TRUE(m.spooler.monitors.empty());
    EXPECT_EQ(m.Steps(), kFullUninstall);
}

TEST_F(PostScriptInstallTest, UninstallFailureBranches) {
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
        m.spooler.deletePrinterFails = true;
        EXPECT_EQ(Uninstall(m), SetupOutcome::kFailure);
        EXPECT_EQ(m.Steps(),
                  (Steps{"progress 0", "progress 20", "progress 40", "log -1 Error of DeletePrinter Tolvane.\r\n",
                         "progress 100", "log 0 Delete Tolvane Printer Failed!"}));
        EXPECT_FALSE(Contains(m, "xcv ,XcvMonitor Tolvane DeletePort F")) << "port, driver and monitor untouched";
        EXPECT_EQ(m.spooler.monitors.size(), 1u);
    }
    {
        testing::FakeMachine m(32);
        ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
        m.spooler.openPrinterFails = true;
        EXPECT_EQ(Uninstall(m), SetupOutcome::kFailure);
        EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 20", "progress 40", "progress 100",
                                    "log 0 Delete Tolvane Printer Failed!"}))
            << "a printer that cannot be opened leaves no system text";
    }
}

TEST_F(PostScriptInstallTest, AnUninstallOfWhatIsLeftGoesOn) {
    testing::FakeMachine m(32);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    m.spooler.printers.clear();
    m.spooler.drivers.clear();
    ASSERT_EQ(Uninstall(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(), (Steps{"progress 0", "progress 20", "log 1 Delete Tolvane Port Success!", "progress 60",
                                "log 1 Delete Tolvane Monitor Success!", "progress 100"}));

    // Nothing left at all: the port cannot be reached, and the rest goes on.
    ASSERT_EQ(Uninstall(m), SetupOutcome::kSuccess);
    EXPECT_EQ(m.Steps(),
              (Steps{"progress 0", "progress 20", "log -1 Error of xcv ,XcvMonitor Tolvane DeletePort F open.\r\n",
                     "log 0 Delete Tolvane Port Failed!", "progress 60", "log 1 Delete Tolvane Monitor Success!",
                     "progress 100"}));
}

TEST_F(PostScriptInstallTest, ASpoolerThatDoesNotComeBackIsReportedAfterTheRemoval) {
    testing::FakeMachine m(32);
    ASSERT_EQ(Install(m), SetupOutcome::kSuccess);
    m.services.startRefused = true;
    EXPECT_EQ(Uninstall(m), SetupOutcome::kSpoolerNotRestarted);
    const Steps steps = m.Steps();
    EXPECT_EQ(steps.back(), "log 1 Delete Tolvane Monitor Success!") << "no further progress";
    EXPECT_TRUE(Contains(m, "run net stop spooler"));
    EXPECT_TRUE(Contains(m, "run net start spooler"));
    EXPECT_TRUE(m.spooler.monitors.empty());
}

}  // namespace
}  // namespace tolvane
