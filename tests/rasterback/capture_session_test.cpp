#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <tiffio.h>

#include "rasterback/capture_session.h"
#include "rasterback/ini_profile.h"
#include "recording_shell.h"
#include "test_pages.h"

namespace tolvane {
namespace {

using test::PluginPage;
using test::RecordingShell;
using test::StoredPage;

class RecordingHost : public CaptureHost {
public:
    explicit RecordingHost(std::string ini) : ini(std::move(ini)) {}
    ProfileReader& Settings() override {
        profile = IniProfile(ini);
        return profile;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void DebugText(const std::string& text) override { debug.push_back(text); }
    TIFF* OpenOutput(const std::string& path) override {
        return freeBytes ? test::openOnNearlyFullDisk(path, *freeBytes) : CaptureHost::OpenOutput(path);
    }

    std::string ini;
    std::optional<std::size_t> freeBytes;  // the disk's room, when it is nearly full
    IniProfile profile{""};
    std::vector<std::string> messages, debug;
};

class CaptureSessionTest : public ::testing::Test {
protected:
    void SetUp() override { dir = test::makeTempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string settingsFor(const std::string& base, int compress) const {
        return "[save]\noutputfile=" + base + "\n[SYSTEM]\nCompress=" + std::to_string(compress) + "\n";
    }
    std::string dir;
};

// The stored page must show the incoming page (set bits white) in the file's
// convention (set bits black); `turned` pages must be the incoming page turned
// clockwise.
void expectSamePixels(const PluginPage& in, const StoredPage& out, bool turned) {
    if (!turned) {
        ASSERT_EQ(out.width, static_cast<uint32_t>(in.width()));
        ASSERT_EQ(out.length, static_cast<uint32_t>(in.height()));
    } else {
        ASSERT_EQ(out.width, static_cast<uint32_t>(in.height()));
        ASSERT_EQ(out.length, static_cast<uint32_t>(in.width()));
    }
    for (uint32_t y = 0; y < out.length; ++y)
        for (uint32_t x = 0; x < out.width; ++x) {
            const int sx = turned ? static_cast<int>(y) : static_cast<int>(x);
            const int sy = turned ? in.height() - 1 - static_cast<int>(x) : static_cast<int>(y);
            ASSERT_NE(out.pixelBlack(x, y), in.pixelWhite(sx, sy)) << "stored pixel " << x << "," << y;
        }
}

struct Labels {
    float x = 0, y = 0;
    uint16_t compression = 0;
};

Labels labelsOfPage(const std::string& path, int index) {
    Labels l;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    EXPECT_NE(tif, nullptr);
    if (!tif) return l;
    TIFFSetDirectory(tif, static_cast<tdir_t>(index));
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &l.x);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &l.y);
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &l.compression);
    TIFFClose(tif);
    return l;
}

TEST_F(CaptureSessionTest, WritesDirectAndTurnedPagesPixelExactInOneFile) {
    for (int compress : {1, 2}) {
        SCOPED_TRACE(compress);
        RecordingHost host(settingsFor(dir + "/fax", compress));
        CaptureSession session(host);
        // Widths that are not a multiple of 8, rows padded as the plug-in pads them.
        const PluginPage portrait = PluginPage::randomBilevel(101, 143, 16, 1);
        const PluginPage landscape = PluginPage::randomBilevel(143, 101, 20, 2);
        const PluginPage sideways = PluginPage::randomBilevel(61, 90, 8, 3);
        PluginPage p1 = portrait, p2 = landscape, p3 = sideways;

        EXPECT_EQ(session.StartDocument(std::string("Quillon Printer")), 0);
        session.StartPage();
        EXPECT_EQ(session.EndPage(p1.request(1, 204, 196)), kPageHandled);
        session.StartPage();
        EXPECT_EQ(session.EndPage(p2.request(2, 204, 196)), kPageHandled);
        session.StartPage();
        EXPECT_EQ(session.EndPage(p3.request(3, 98, 204)), kPageHandled);
        session.CloseFile();
        EXPECT_TRUE(host.messages.empty());

        const std::string path = dir + "/fax.tif";
        const auto pages = test::readStoredPages(path);
        ASSERT_EQ(pages.size(), 3u);
        expectSamePixels(portrait, pages[0], false);
        expectSamePixels(landscape, pages[1], true);
        expectSamePixels(sideways, pages[2], true);
        EXPECT_EQ(labelsOfPage(path, 0).compression, compress == 1 ? COMPRESSION_CCITTFAX3 : COMPRESSION_CCITTFAX4);
        // The sideways page is stored 204 across (its 204 down) by 98 down.
        EXPECT_EQ(labelsOfPage(path, 2).y, 98.0f);
        EXPECT_EQ(labelsOfPage(path, 2).x, 204.0f);
        EXPECT_EQ(labelsOfPage(path, 1).y, 196.0f);
    }
}

TEST_F(CaptureSessionTest, UprightPagesAreInvertedInThePluginsBuffers) {
    RecordingHost host(settingsFor(dir + "/fax", 1));
    CaptureSession session(host);
    PluginPage page = PluginPage::randomBilevel(40, 10, 8, 4);
    const PluginPage before = page;
    session.StartDocument(std::string("P"));
    session.StartPage();
    ASSERT_EQ(session.EndPage(page.request(1, 204, 98)), kPageHandled);
    for (int y = 0; y < 10; ++y)
        for (int i = 0; i < 8; ++i)  // the whole row, padding included
            ASSERT_EQ(page.row(y)[i], static_cast<uint8_t>(~before.row(y)[i]));
}

TEST_F(CaptureSessionTest, EverySchemeLabelsThePagesOwnResolution) {
    // A page labelled finer than it was rendered is sent at half its length.
    for (int compress : {1, 2, 0}) {
        SCOPED_TRACE(compress);
        RecordingHost host(settingsFor(dir + "/fax", compress));
        CaptureSession session(host);
        PluginPage standard(64, 30, 8), fine(64, 60, 8);
        session.StartDocument(std::string("P"));
        session.StartPage();
        ASSERT_EQ(session.EndPage(standard.request(1, 204, 98)), kPageHandled);
        session.StartPage();
        ASSERT_EQ(session.EndPage(fine.request(2, 204, 196)), kPageHandled);
        session.CloseFile();
        const Labels l = labelsOfPage(dir + "/fax.tif", 0);
        EXPECT_EQ(l.x, 204.0f);
        EXPECT_EQ(l.y, 98.0f);
        EXPECT_EQ(l.compression, compress == 1   ? COMPRESSION_CCITTFAX3
                                 : compress == 2 ? COMPRESSION_CCITTFAX4
                                                 : COMPRESSION_NONE);
        EXPECT_EQ(labelsOfPage(dir + "/fax.tif", 1).y, 196.0f);
    }
}

TEST_F(CaptureSessionTest, KeepOpenLeavesTheDirectoryToTheClose) {
    RecordingHost host(settingsFor(dir + "/fax", 2));
    CaptureSession session(host);
    PluginPage first = PluginPage::randomBilevel(30, 20, 4, 5), last = PluginPage::randomBilevel(30, 20, 4, 6);
    const PluginPage lastCopy = last;
    session.StartDocument(std::string("P"));
    session.StartPage();
    session.EndPage(first.request(1, 204, 98));
    session.StartPage();
    session.EndPage(last.request(2, 204, 98, /*keepOpen=*/1));
    session.CloseFile();
    const auto pages = test::readStoredPages(dir + "/fax.tif");
    ASSERT_EQ(pages.size(), 2u);
    expectSamePixels(lastCopy, pages[1], false);
}

TEST_F(CaptureSessionTest, PageOfHeightZeroIsLeftOutSoTheFileStaysReadable) {
    RecordingHost host(settingsFor(dir + "/fax", 1));
    CaptureSession session(host);
    PluginPage empty(1728, 0, 216), real = PluginPage::randomBilevel(16, 4, 2, 7);
    const PluginPage realCopy = real;
    session.StartDocument(std::string("P"));
    session.StartPage();
    EXPECT_EQ(session.EndPage(empty.request(1, 204, 196)), kPageHandled);
    session.StartPage();
    EXPECT_EQ(session.EndPage(real.request(2, 204, 98)), kPageHandled);
    session.CloseFile();
    const auto pages = test::readStoredPages(dir + "/fax.tif");
    ASSERT_EQ(pages.size(), 1u);
    expectSamePixels(realCopy, pages[0], false);
}

TEST_F(CaptureSessionTest, RetriesTheOpenOnTheNextPage) {
    const std::string blocked = dir + "/sub";
    RecordingHost host(settingsFor(blocked + "/fax", 1));
    CaptureSession session(host);
    PluginPage p1 = PluginPage::randomBilevel(16, 8, 2, 8), p2 = PluginPage::randomBilevel(16, 8, 2, 9);
    const PluginPage p2Copy = p2;
    session.StartDocument(std::string("P"));
    session.StartPage();
    EXPECT_EQ(session.EndPage(p1.request(1, 204, 98)), kNoFileOpen);
    ASSERT_EQ(host.messages, std::vector<std::string>{kCannotOpenMessage});
    std::filesystem::create_directory(blocked);
    session.StartPage();
    EXPECT_EQ(session.EndPage(p2.request(2, 204, 98)), kPageHandled);
    session.CloseFile();
    const auto pages = test::readStoredPages(blocked + "/fax.tif");
    ASSERT_EQ(pages.size(), 1u);
    expectSamePixels(p2Copy, pages[0], false);
}

TEST_F(CaptureSessionTest, EverySecondDocumentOfOneLoadGetsItsOwnFile) {
    RecordingHost host(settingsFor(dir + "/one", 1));
    CaptureSession session(host);
    PluginPage a = PluginPage::randomBilevel(16, 8, 2, 10), b = PluginPage::randomBilevel(24, 8, 4, 11);
    const PluginPage bCopy = b;
    session.StartDocument(std::string("Ostrel Printer"));
    session.StartPage();
    session.EndPage(a.request(1, 204, 98));
    session.CloseFile();

    host.ini = settingsFor(dir + "/two", 1);
    session.StartDocument(std::string("Quillon Printer"));
    EXPECT_EQ(session.PrinterName(), "Quillon Printer");
    EXPECT_EQ(session.OutputPath(), dir + "/two.tif");
    session.StartPage();
    EXPECT_EQ(session.EndPage(b.request(1, 204, 98)), kPageHandled);
    session.CloseFile();
    EXPECT_TRUE(host.messages.empty());
    const auto pages = test::readStoredPages(dir + "/two.tif");
    ASSERT_EQ(pages.size(), 1u);
    expectSamePixels(bCopy, pages[0], false);
    EXPECT_EQ(test::readStoredPages(dir + "/one.tif").size(), 1u);
}

TEST_F(CaptureSessionTest, PageAfterTheDocumentEndedFindsNoFile) {
    RecordingHost host(settingsFor(dir + "/fax", 1));
    CaptureSession session(host);
    PluginPage p = PluginPage::randomBilevel(16, 8, 2, 12);
    session.StartDocument(std::string("P"));
    session.StartPage();
    session.EndPage(p.request(1, 204, 196));
    session.CloseFile();
    session.StartPage();
    EXPECT_EQ(session.EndPage(p.request(2, 204, 196)), kNoFileOpen);
    EXPECT_EQ(host.messages, std::vector<std::string>{kNoFileMessage});
}

TEST_F(CaptureSessionTest, RefusesRowsThatDoNotFitTheWidth) {
    RecordingHost host(settingsFor(dir + "/fax", 1));
    CaptureSession session(host);
    session.StartDocument(std::string("P"));
    struct Bad {
        int width, height, rowBytes, xDpi, yDpi, bilevel;
    };
    const Bad cases[] = {
        {100, 10, 12, 204, 196, 1},  // 100 pixels need 13 bytes
        {100, 10, 20, 98, 204, 1},   // turned: the working row is 16 bytes
        {10, 5, 29, 204, 196, 0},    // colour: 30 bytes needed
        {10, 5, 33, 204, 196, 0},    // colour: the working row is 32 bytes
        {0, 5, 4, 204, 196, 1},     {8, -1, 4, 204, 196, 1},
    };
    for (const Bad& c : cases) {
        PluginPage page(c.width > 0 ? c.width : 1, c.height > 0 ? c.height : 0, c.rowBytes);
        PageRequest r = page.request(1, c.xDpi, c.yDpi, 0, c.bilevel);
        r.width = c.width;
        r.height = c.height;
        session.StartPage();
        EXPECT_EQ(session.EndPage(r), kPageRefused) << c.width << "x" << c.height << " rowBytes " << c.rowBytes;
    }
    // Upright rows longer than the working row are inverted and written as they are.
    PluginPage longRows(10, 100, 32);
    session.StartPage();
    EXPECT_EQ(session.EndPage(longRows.request(1, 204, 196)), kPageHandled);
    PageRequest nullTable{nullptr, 4, 8, 3, 1, 1, 204, 196, 0};
    session.StartPage();
    EXPECT_EQ(session.EndPage(nullTable), kPageRefused);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NE(host.debug.back().find("refused"), std::string::npos);
}

TEST_F(CaptureSessionTest, ColourPagesAreRenderedBilevelAndTheirRowsKept) {
    RecordingHost host(settingsFor(dir + "/fax", 1));
    CaptureSession session(host);
    const int width = 21, height = 9;
    PluginPage colour(width, height, 64);  // 63 bytes of pixels, padded to 64
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* px = colour.row(y) + 3 * x;
            px[0] = static_cast<uint8_t>(x * 12);       // blue
            px[1] = static_cast<uint8_t>(y * 28);       // green
            px[2] = static_cast<uint8_t>((x + y) * 9);  // red
        }
    const PluginPage before = colour;
    session.StartDocument(std::string("P"));
    session.StartPage();
    ASSERT_EQ(session.EndPage(colour.request(1, 204, 98, 1, /*bilevel=*/0)), kPageHandled);
    session.CloseFile();

    const auto pages = test::readStoredPages(dir + "/fax.tif");
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].width, static_cast<uint32_t>(width));
    for (int y = 0; y < height; ++y) {
        ASSERT_EQ(std::vector<uint8_t>(colour.row(y), colour.row(y) + 64),
                  std::vector<uint8_t>(before.row(y), before.row(y) + 64));
        for (int x = 0; x < width; ++x) {
            const int b = x * 12, g = y * 28, r = (x + y) * 9;
            const bool dark = 299 * r + 587 * g + 114 * b < 128000;
            ASSERT_EQ(pages[0].pixelBlack(static_cast<uint32_t>(x), static_cast<uint32_t>(y)), dark) << x << "," << y;
        }
    }
}

std::size_t fileSizeOfPages(const std::string& dir, int compress, const std::vector<PluginPage>& pages) {
    RecordingHost host("[save]\noutputfile=" + dir + "/measure\n[SYSTEM]\nCompress=" + std::to_string(compress));
    CaptureSession session(host);
    session.StartDocument(std::string("P"));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        PluginPage copy = pages[i];
        session.StartPage();
        session.EndPage(copy.request(static_cast<int>(i + 1), 204, 196));
    }
    session.CloseFile();
    return std::filesystem::file_size(dir + "/measure.tif");
}

TEST_F(CaptureSessionTest, AFullDiskLosesTheDocumentLoudlyAndHandsNothingOn) {
    // Blank pages encode small enough for libtiff to hold a whole page until
    // its directory is written; a noisy page overflows that buffer while its
    // rows are still being written.
    const PluginPage blank(200, 300, 28), noisy = PluginPage::randomBilevel(800, 600, 100, 13);
    const std::size_t onePage = fileSizeOfPages(dir, 1, {blank});
    struct Case {
        const char* name;
        std::vector<PluginPage> pages;
        int failingPage;  // the first page whose EndPageEntry must fail, 0: only the close fails
        std::size_t freeBytes;
        int keepOpenLast;
        const char* refused;  // what the debug text names
    } const cases[] = {
        {"directory of page 2", {blank, blank, blank}, 2, onePage + 40, 0, "the page's directory"},
        {"a row of page 1", {noisy, blank}, 1, 2000, 0, "a row"},
        {"the directory left open for the close", {blank, blank}, 0, onePage + 40, 1, "the last page's directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host(settingsFor(dir + "/fax", 1) + "[run]\nenablerun=1\nexefilename=after.exe\n");
        host.freeBytes = c.freeBytes;
        CaptureSession session(host);
        RecordingShell shell;
        shell.softPath = "C:\\Send";
        session.StartDocument(std::string("Ostrel Printer"));
        for (std::size_t i = 0; i < c.pages.size(); ++i) {
            PluginPage page = c.pages[i];
            const int number = static_cast<int>(i + 1);
            const bool last = i + 1 == c.pages.size();
            session.StartPage();
            const short result = session.EndPage(page.request(number, 204, 196, last ? c.keepOpenLast : 0));
            const bool lost = c.failingPage != 0 && number >= c.failingPage;
            EXPECT_EQ(result, lost ? kPageNotWritten : kPageHandled) << "page " << number;
        }
        IniProfile settings(host.ini);
        EXPECT_EQ(session.EndDocument(settings, shell), kDocumentNotWritten);
        EXPECT_EQ(host.messages, std::vector<std::string>{WriteFailedText(dir + "/fax.tif")}) << "told once";
        EXPECT_FALSE(std::filesystem::exists(dir + "/fax.tif")) << "no broken file is left";
        EXPECT_TRUE(shell.log.empty()) << "handed on: " << shell.log.front();
        bool named = false;
        for (const std::string& line : host.debug) named = named || line.find(c.refused) != std::string::npos;
        EXPECT_TRUE(named) << c.refused;
    }
}

TEST_F(CaptureSessionTest, OnlyWhatTheDocumentStoredIsHandedOn) {
    RecordingHost host(settingsFor(dir + "/fax", 1));
    CaptureSession session(host);
    RecordingShell shell;
    shell.softPath = "C:\\Send";
    IniProfile settings(host.ini);
    PluginPage page = PluginPage::randomBilevel(16, 8, 2, 14);
    session.StartDocument(std::string("Ostrel Printer"));
    session.StartPage();
    session.EndPage(page.request(1, 204, 196));
    EXPECT_EQ(session.EndDocument(settings, shell), 0);
    ASSERT_EQ(shell.log.size(), 2u) << "the first document is handed on";
    shell.log.clear();

    // No page at all, then pages that were all refused or empty: the file at
    // the output path is not this document's.
    session.StartDocument(std::string("Ostrel Printer"));
    EXPECT_EQ(session.EndDocument(settings, shell), 0);
    EXPECT_TRUE(std::filesystem::exists(dir + "/fax.tif")) << "an earlier document's file is not touched";
    PluginPage tooShortRows(100, 10, 4), empty(16, 0, 2);
    session.StartDocument(std::string("Ostrel Printer"));
    session.StartPage();
    EXPECT_EQ(session.EndPage(tooShortRows.request(1, 204, 196)), kPageRefused);
    session.StartPage();
    EXPECT_EQ(session.EndPage(empty.request(2, 204, 196)), kPageHandled);
    EXPECT_EQ(session.EndDocument(settings, shell), 0);
    EXPECT_FALSE(std::filesystem::exists(dir + "/fax.tif")) << "a file without a page is not kept";
    EXPECT_TRUE(shell.log.empty()) << "handed on: " << shell.log.front();
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CaptureSessionTest, StartDocumentReadsTheOutputPathAndWritesDebugText) {
    RecordingHost host("");
    CaptureSession session(host);
    session.StartDocument(std::nullopt);
    EXPECT_EQ(session.OutputPath(), "c:\\test.tif");
    EXPECT_EQ(session.PrinterName(), "");
    session.StartPage();
    EXPECT_EQ(host.debug, (std::vector<std::string>{"StartDocEntry\r\n", "StartPageEntry\r\n"}));
}

}  // namespace
}  // namespace tolvane
