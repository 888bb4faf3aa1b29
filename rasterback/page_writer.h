#pragma once
// Writes one page handed over by the render plug-in into the open fax TIFF:
// bi-level pages direct or turned upright, colour pages rendered bi-level first.

#include <string>

#include "rasterback/page_fields.h"

typedef struct tiff TIFF;

namespace tolvane {

// What EndPageEntry passes (its tenth argument is not read).
struct PageRequest {
    const void* rowTable;
    int rowBytes;
    int width;
    int height;
    int pageNumber;
    int bilevel;  // 1: 1 bit per pixel; other values: 24 bits per pixel
    int xDpi;
    int yDpi;
    int keepOpen;  // bi-level pages: 0 finishes the page's directory now
};

// Results of EndPageEntry (-3 is the shell's internal failure).
enum PageResult : short {
    kPageHandled = 0,
    kNoFileOpen = -1,      // the file could not be opened (or was not)
    kPageRefused = -2,     // the page's description is unusable; nothing was written
    kPageNotWritten = -4,  // the file refused a row or the page's directory (a full disk)
};

struct PageOutcome {
    PageResult result;
    std::string problem;  // why a page was refused
};

// `fieldsPending` is set by StartPageEntry; when set the page's fields are set
// and it is cleared. Upright bi-level pages are inverted in place in the
// plug-in's buffers and written without a copy. A row or directory that the
// file refuses stops the page there: its file is then incomplete.
PageOutcome WritePage(TIFF* tif, const PageRequest& page, CompressionScheme scheme, bool& fieldsPending);

// Why a page cannot be written as described, or an empty text when it can.
std::string CheckPageRequest(const PageRequest& page);

}  // namespace tolvane
