#include "monitor/submission/compression_level.h"

#include <algorithm>

namespace tolvane {

namespace {

// zlib 1.2 on print data (hex image lines, a printed letter), relative to
// level 1: input speed, and the share saved. Level 0 stores.
constexpr std::array<double, kMaxCompressionLevel + 1> kRelativeSpeed = {25.0, 1.0, 0.75, 0.55, 0.43, 0.30, 0.29};
constexpr std::array<double, kMaxCompressionLevel + 1> kRelativeSaving = {0.0, 1.0, 1.01, 1.02, 1.04, 1.05, 1.055};
// Before anything is measured: level 1 at 100 MB/s, saving 40%.
constexpr double kAssumedLevel1Speed = 100e6;
constexpr double kAssumedLevel1Saving = 0.4;
// What a level must gain over storing, and over the level below it.
constexpr double kGainOverStoring = 0.03;
constexpr double kGainOverLowerLevel = 0.002;

}  // namespace

void CompressionLevelControl::Measure(int level, std::size_t inputBytes, std::size_t outputBytes, double seconds) {
    if (inputBytes == 0) return;
    if (seconds > 0) {
        const double speed = static_cast<double>(inputBytes) / seconds;
        double& kept = speed_[static_cast<std::size_t>(level)];
        kept = kept > 0 ? (kept + speed) / 2 : speed;
        speedLevel_ = level;
    }
    if (level > 0) {
        const double saved = 1.0 - static_cast<double>(outputBytes) / static_cast<double>(inputBytes);
        saving_ = std::clamp(saved, 0.0, 0.99);
        savingLevel_ = level;
    }
}

void CompressionLevelControl::Compressed(std::size_t inputBytes, std::size_t outputBytes, double seconds) {
    Measure(level_, inputBytes, outputBytes, seconds);
    storedSinceSample_ = level_ == 0 ? storedSinceSample_ + 1 : 0;
}

bool CompressionLevelControl::WantsSample() const {
    return level_ == 0 && storedSinceSample_ >= kStoredBlocksPerSample - 1;
}

void CompressionLevelControl::Sampled(std::size_t inputBytes, std::size_t outputBytes, double seconds) {
    Measure(1, inputBytes, outputBytes, seconds);
    storedSinceSample_ = 0;
}

double CompressionLevelControl::SpeedAt(int level) const {
    const auto at = static_cast<std::size_t>(level);
    if (speed_[at] > 0) return speed_[at];
    if (speedLevel_ < 0) return kAssumedLevel1Speed * kRelativeSpeed[at];
    const auto measured = static_cast<std::size_t>(speedLevel_);
    return speed_[measured] * kRelativeSpeed[at] / kRelativeSpeed[measured];
}

double CompressionLevelControl::SavingAt(int level) const {
    if (level == 0) return 0;
    const auto at = static_cast<std::size_t>(level);
    if (savingLevel_ < 1) return kAssumedLevel1Saving * kRelativeSaving[at];
    const auto measured = static_cast<std::size_t>(savingLevel_);
    return std::min(saving_ * kRelativeSaving[at] / kRelativeSaving[measured], 0.99);
}

int CompressionLevelControl::Choose(double linkBytesPerSecond) {
    if (linkBytesPerSecond <= 0) {
        // The link is not known yet, but data that does not shrink is not
        // worth compressing on any link.
        if (level_ > 0 && SavingAt(level_) < kGainOverStoring) level_ = 0;
        return level_;
    }
    std::array<double, kMaxCompressionLevel + 1> pace{};  // document bytes per second
    double fastest = 0;
    for (int level = 0; level <= kMaxCompressionLevel; ++level) {
        const double linkPace = linkBytesPerSecond / (1.0 - SavingAt(level));
        pace[static_cast<std::size_t>(level)] = std::min(SpeedAt(level), linkPace);
        fastest = std::max(fastest, pace[static_cast<std::size_t>(level)]);
    }
    // The cheapest level that is about as fast as the fastest.
    for (int level = 0; level <= kMaxCompressionLevel; ++level) {
        const double margin = level == 0 ? kGainOverStoring : kGainOverLowerLevel;
        if (pace[static_cast<std::size_t>(level)] >= fastest * (1.0 - margin)) {
            level_ = level;
            break;
        }
    }
    return level_;
}

}  // namespace tolvane
