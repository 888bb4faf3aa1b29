#pragma once
// The zlib level of a compressed upload, chosen block by block for the link and
// the document rather than fixed.
//
// The upload moves the document at the pace of its slower stage: compression
// (input bytes per second at a level) or the link (its bytes per second over
// the share a level leaves of the data). The compressing side measures what
// each block cost and saved at its level; the sending side measures how fast
// the data connection takes bytes. Levels not yet measured are estimated from
// the measured one with zlib's typical relative speed and savings on print
// data. Each block then gets the level that moves the document fastest:
//
// - a slow link (an office's WAN): the link is the bottleneck, so a level that
//   saves more is faster, up to 6 (higher levels save nothing more on print
//   data and cost more processor);
// - a fast link (a LAN, loopback): compression is the bottleneck, so the level
//   falls, to 0 (stored blocks, a plain copy at memory speed) once even level 1
//   cannot keep up;
// - data that does not shrink (already compressed images, random data) is
//   stored: a level is used only where it makes the upload at least 3% faster
//   than storing, as a terminal server's processor is shared by every user.
//   While storing, a small sample of every eighth block is compressed aside to
//   see whether the data has changed.
//
// Until the link has been measured the upload runs at level 1: it keeps up
// with a fast LAN, and on print data it sends at most about 5% more bytes than
// level 6 would.

#include <array>
#include <cstddef>

namespace tolvane {

inline constexpr int kFirstCompressionLevel = 1;
inline constexpr int kMaxCompressionLevel = 6;
// While storing, every this many blocks a sample is compressed aside.
inline constexpr int kStoredBlocksPerSample = 8;

class CompressionLevelControl {
public:
    int Level() const { return level_; }
    // Takes what the block just compressed at Level() cost and gave.
    void Compressed(std::size_t inputBytes, std::size_t outputBytes, double seconds);
    // True when a sample of the next block should be compressed aside at
    // level 1 (and handed to Sampled), as blocks are being stored.
    bool WantsSample() const;
    void Sampled(std::size_t inputBytes, std::size_t outputBytes, double seconds);
    // Chooses the level for the next block, for a link that took the latest
    // data at linkBytesPerSecond (0 while it is not yet known: the level stays).
    int Choose(double linkBytesPerSecond);

    // The estimates the choice uses, for a level 0 to kMaxCompressionLevel:
    // input bytes per second, and the share of the input that is saved.
    double SpeedAt(int level) const;
    double SavingAt(int level) const;

private:
    void Measure(int level, std::size_t inputBytes, std::size_t outputBytes, double seconds);

    int level_ = kFirstCompressionLevel;
    std::array<double, kMaxCompressionLevel + 1> speed_{};  // measured input bytes/s, 0 = not yet
    int speedLevel_ = -1;                                   // the level measured last
    double saving_ = 0;                                     // measured at savingLevel_
    int savingLevel_ = -1;
    int storedSinceSample_ = 0;
};

}  // namespace tolvane
