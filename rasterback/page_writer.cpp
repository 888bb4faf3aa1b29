#include "rasterback/page_writer.h"

#include <cstdint>
#include <new>
#include <vector>

#include <tiffio.h>

#include "rasterback/bit_rotation.h"
#include "rasterback/colour_rendering.h"
#include "rasterback/page_way.h"
#include "rasterback/row_table.h"

namespace tolvane {

namespace {

// Upper bound for the working copy of one page; a fax page needs well under 1 MiB.
constexpr int64_t kMaxWorkingBytes = int64_t{256} << 20;

int64_t BitRowBytes(int64_t pixels) { return (pixels + 7) / 8; }
int64_t PaddedStride(int64_t bytes) { return (bytes + 3) / 4 * 4; }  // working rows are 32-bit aligned

bool IsBilevel(const PageRequest& page) { return page.bilevel == 1; }

std::string Describe(const char* what, int64_t value) { return std::string(what) + " " + std::to_string(value); }

// Writes rows that follow the plug-in's convention (set bit = white), direct or
// turned, and sets the page's fields first when they are pending. False when
// the file refused a row; the rows after it are not offered.
bool WriteBilevelRows(TIFF* tif, const std::vector<uint8_t*>& rows, std::size_t invertBytes, int width, int height,
                      int pageNumber, const PagePlan& plan, CompressionScheme scheme, bool& fieldsPending) {
    if (plan.way == PageWay::Direct) {
        if (fieldsPending)
            ApplyFieldSettings(tif, PageFieldSettings(scheme, pageNumber, static_cast<uint32_t>(width),
                                                      static_cast<uint32_t>(height), plan.xLabel, plan.yLabel));
        fieldsPending = false;
        for (int i = 0; i < height; ++i) {
            InvertBits(rows[i], invertBytes);
            if (TIFFWriteScanline(tif, rows[i], static_cast<uint32_t>(i), 0) != 1) return false;
        }
        return true;
    }

    // Turned: the stored page is as wide as the incoming page is tall.
    const std::size_t stride = static_cast<std::size_t>(BitRowBytes(height));
    std::vector<uint8_t> turned(stride * static_cast<std::size_t>(width));
    RotateClockwise1bpp(rows.data(), width, height, turned.data(), stride, true);
    if (fieldsPending)
        ApplyFieldSettings(tif, PageFieldSettings(scheme, pageNumber, static_cast<uint32_t>(height),
                                                  static_cast<uint32_t>(width), plan.xLabel, plan.yLabel));
    fieldsPending = false;
    for (int r = 0; r < width; ++r)
        if (TIFFWriteScanline(tif, turned.data() + static_cast<std::size_t>(r) * stride, static_cast<uint32_t>(r), 0) !=
            1)
            return false;
    return true;
}

PageOutcome NotWritten(const char* what) { return {kPageNotWritten, std::string("the file refused ") + what}; }

}  // namespace

std::string CheckPageRequest(const PageRequest& page) {
    if (page.width <= 0) return Describe("page width is not positive:", page.width);
    if (page.height < 0) return Describe("page height is negative:", page.height);
    if (page.height == 0) return {};

    const int64_t width = page.width;
    const int64_t height = page.height;
    int64_t needed, workingRow;
    bool copied;  // rows go through a working copy (turned and colour pages)
    if (IsBilevel(page)) {
        needed = BitRowBytes(width);
        workingRow = PaddedStride(needed);
        copied = PlanBilevelPage(page.xDpi, page.yDpi, page.width, page.height).way == PageWay::Turned;
    } else {
        needed = width * 3;
        workingRow = PaddedStride(needed);
        copied = true;
    }
    if (page.rowBytes < needed)
        return Describe("rows of", page.rowBytes) + " bytes are too short for a width of " + std::to_string(width) +
               " pixels (" + std::to_string(needed) + " bytes needed)";
    if (copied && page.rowBytes > workingRow)
        return Describe("rows of", page.rowBytes) + " bytes are longer than the working row of " +
               std::to_string(workingRow) + " bytes";
    if (copied && (BitRowBytes(width) + 1) * (BitRowBytes(height) + 1) * 8 > kMaxWorkingBytes)
        return "page of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is too large";
    return {};
}

PageOutcome WritePage(TIFF* tif, const PageRequest& page, CompressionScheme scheme, bool& fieldsPending) {
    if (!tif) return {kNoFileOpen, "no file is open"};
    if (std::string problem = CheckPageRequest(page); !problem.empty()) return {kPageRefused, problem};
    if (page.height == 0) {
        // A directory without rows has no strip, and readers (libtiff, the fax
        // server) then reject the whole file: an empty page is left out.
        fieldsPending = false;
        return {kPageHandled, {}};
    }
    std::optional<std::vector<uint8_t*>> rows = ReadRowTable(page.rowTable, page.height);
    if (!rows) return {kPageRefused, "the row table or one of its row addresses is null"};

    try {
        if (IsBilevel(page)) {
            const PagePlan plan = PlanBilevelPage(page.xDpi, page.yDpi, page.width, page.height);
            if (!WriteBilevelRows(tif, *rows, static_cast<std::size_t>(page.rowBytes), page.width, page.height,
                                  page.pageNumber, plan, scheme, fieldsPending))
                return NotWritten("a row");
            if (page.keepOpen == 0 && !TIFFWriteDirectory(tif)) return NotWritten("the page's directory");
            return {kPageHandled, {}};
        }

        // Colour: render bi-level into a copy (the plug-in's colour rows stay
        // untouched), then store it like any bi-level page of that shape.
        const std::size_t bitBytes = static_cast<std::size_t>(BitRowBytes(page.width));
        std::vector<uint8_t> bits(bitBytes * static_cast<std::size_t>(page.height));
        std::vector<uint8_t*> bitRows(static_cast<std::size_t>(page.height));
        for (std::size_t i = 0; i < bitRows.size(); ++i) {
            bitRows[i] = bits.data() + i * bitBytes;
            ColourRowToBits((*rows)[i], page.width, bitRows[i]);
        }
        const PagePlan plan = PlanBilevelPage(page.xDpi, page.yDpi, page.width, page.height);
        if (!WriteBilevelRows(tif, bitRows, bitBytes, page.width, page.height, page.pageNumber, plan, scheme,
                              fieldsPending))
            return NotWritten("a row");
        if (!TIFFWriteDirectory(tif)) return NotWritten("the page's directory");
        return {kPageHandled, {}};
    } catch (const std::bad_alloc&) {
        return {kPageRefused, "not enough memory for the page's working copy"};
    }
}

}  // namespace tolvane
