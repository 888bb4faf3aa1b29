// The level of a compressed upload follows the link and the data.
#include "monitor/submission/compression_level.h"

#include <gtest/gtest.h>

#include "inflate_support.h"
#include "monitor/submission/deflate_stream.h"
#include "sample_documents.h"

namespace tolvane::testing {
namespace {

constexpr std::size_t kBlock = 256 * 1024;
constexpr double kMegabyte = 1e6;

// A block of print data at the first level: 100 MB/s, 41% saved.
CompressionLevelControl AfterAPrintedBlock() {
    CompressionLevelControl control;
    EXPECT_EQ(control.Level(), kFirstCompressionLevel);
    control.Compressed(kBlock, kBlock * 59 / 100, kBlock / (100 * kMegabyte));
    return control;
}

TEST(CompressionLevel, SavesMostOnASlowLinkAndStoresOnAFastOne) {
    CompressionLevelControl control = AfterAPrintedBlock();
    EXPECT_EQ(control.Choose(0), kFirstCompressionLevel) << "the link's pace is not known yet";
    EXPECT_GE(control.Choose(2.5 * kMegabyte), 5) << "20 Mbit/s: every byte saved is time saved";
    EXPECT_LE(control.Level(), kMaxCompressionLevel);

    control = AfterAPrintedBlock();
    EXPECT_EQ(control.Choose(300 * kMegabyte), 0) << "loopback: compression would hold the upload back";
    control.Compressed(kBlock, kBlock + 40, kBlock / (2500 * kMegabyte));
    EXPECT_EQ(control.Choose(300 * kMegabyte), 0);

    control = AfterAPrintedBlock();
    EXPECT_GT(control.Choose(60 * kMegabyte), 0) << "a LAN at 500 Mbit/s: compression keeps up and saves";
}

TEST(CompressionLevel, DataThatDoesNotShrinkIsStoredAndSampledUntilItDoes) {
    CompressionLevelControl control;
    control.Compressed(kBlock, kBlock - kBlock / 100, kBlock / (50 * kMegabyte));  // 1% saved
    EXPECT_EQ(control.Choose(0), 0) << "not worth compressing on any link";
    control = AfterAPrintedBlock();
    control.Compressed(kBlock, kBlock - kBlock / 100, kBlock / (50 * kMegabyte));
    EXPECT_EQ(control.Choose(2.5 * kMegabyte), 0) << "not worth the processor even on a slow link";
    for (int block = 1; block < kStoredBlocksPerSample; ++block) {
        EXPECT_FALSE(control.WantsSample()) << block;
        control.Compressed(kBlock, kBlock + 40, kBlock / (2500 * kMegabyte));
        EXPECT_EQ(control.Choose(2.5 * kMegabyte), 0);
    }
    EXPECT_TRUE(control.WantsSample());
    control.Sampled(64 * 1024, 64 * 1024 * 55 / 100, 64 * 1024 / (90 * kMegabyte));  // compressible again
    EXPECT_FALSE(control.WantsSample());
    EXPECT_GE(control.Choose(2.5 * kMegabyte), 5);
}

TEST(DeflateStream, LevelChangesBetweenBlocksKeepOneWholeStream) {
    const std::string document = PrintedPostScript(900'000) + RandomPostScript(300'000) + HexPostScript(500'000);
    DeflateStream stream(6);
    ASSERT_TRUE(stream.Ready());
    std::string out;
    const int levels[] = {0, 9, 1, 0, 3, 6, 2, 8, 0, 5};
    std::size_t at = 0;
    for (std::size_t i = 0; at < document.size(); ++i) {
        const std::size_t take = std::min<std::size_t>(170'000, document.size() - at);
        ASSERT_TRUE(stream.Compress({document.data() + at, take}, false, out)) << stream.Error();
        at += take;
        ASSERT_TRUE(stream.SetLevel(levels[i % std::size(levels)], out)) << stream.Error();
    }
    ASSERT_TRUE(stream.Compress({}, true, out)) << stream.Error();
    bool complete = false;
    EXPECT_TRUE(Inflated(out, complete) == document);
    EXPECT_TRUE(complete);
}

}  // namespace
}  // namespace tolvane::testing
