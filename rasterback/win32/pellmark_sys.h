#pragma once
// The five entry points of PellmarkSys.dll, as the raster printer's render
// plug-in calls them (looked up by these undecorated names). Every result is a
// 16-bit signed integer.
//
// Calling form
//   32-bit (i686): __stdcall. Every argument is 32 bits wide; `rowTable` is the
//   address of a 32-bit location that holds the address of the row table's
//   first entry. Each table entry is 8 bytes: the 32-bit address of the row's
//   first byte, then 4 bytes that are not read.
//   64-bit (x86_64): the one Windows x64 convention (WINAPI has no effect).
//   `rowTable` is pointer-sized: the address of a 64-bit location that holds
//   the address of the first entry. Each entry is still 8 bytes, and all 8
//   hold the row's 64-bit address. The other arguments stay 32-bit integers
//   (passed in 64-bit slots, of which the low 32 bits are read).
//
// Rows: entry i is row i from the top. A bi-level row holds 1 bit per pixel,
// leftmost pixel in the most significant bit, a set bit white; a colour row
// holds 3 bytes per pixel in blue, green, red order. `rowBytes` is the length
// of one row.
//
// Pages: bi-level pages are written direct or turned 90 degrees clockwise by
// their resolutions and shape, and labelled 204 by 196 or 204 by 98 dots per
// inch as they were rendered, under every compression. Colour pages are stored bi-level too (a pixel
// whose luminance is below half scale is black) and then take the same way,
// so every page of the file is a CCITT fax page. A page of height 0 is
// accepted but adds no page (a directory without rows would make the whole
// file unreadable).
//
// Order for one document: StartDocEntry, then per page StartPageEntry, any
// number of ImageProcessing calls and one EndPageEntry, then EndDocEntry.
// Every StartDocEntry starts a new document with its own file, so one load of
// the library serves any number of documents.

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// printerName: the printer's name, UTF-16 (captured for every document: it
// selects the hand-off). Always 0 (-3 only on an internal failure).
short WINAPI StartDocEntry(const wchar_t* printerName);

// Always 0.
short WINAPI StartPageEntry(void);

// Its arguments are not read. Always 0.
short WINAPI ImageProcessing(LONG a, LONG b, LONG c, LONG d, LONG e);

// 0: the page was handled.
// -1: no file is open (the open failed: it is tried again on the next page).
// -2: the page was refused and nothing of it written: a width that is not
//     positive, a negative height, rows shorter than the width needs, rows
//     longer than the working row of a turned or colour page (the width's
//     bytes padded to a multiple of 4), or a null row table or row address.
// -3: an internal failure (every export catches what it could throw).
// -4: the file could not be written (a full disk): it is removed, the user is
//     told in a message box, and the document's later pages get -4 too.
// keepOpen not 0 leaves a bi-level page's directory open (TIFFClose at the
// end of the document writes it). `reserved` is not read.
short WINAPI EndPageEntry(const void* rowTable, LONG rowBytes, LONG width, LONG height, LONG pageNumber, LONG bilevel,
                          LONG xDpi, LONG yDpi, LONG keepOpen, LONG reserved);

// Closes the file and hands it on. 1 when the send program's registry value
// cannot be read, -4 when the file could not be written (nothing is handed on,
// the user is told), else 0. A document that stored no page hands nothing on
// (0): a file at the output path is an earlier document's. When the copy to
// the path chosen in the save dialog fails, the written file is kept where it
// is and the user is told. The follow-up program and Dunmore.exe get the
// file's path in double quotes as their one argument; a path that a batch
// file's interpreter could expand ("%") is not handed to one, and the user is
// told.
short WINAPI EndDocEntry(void);

typedef short(WINAPI* StartDocEntryFn)(const wchar_t*);
typedef short(WINAPI* StartPageEntryFn)(void);
typedef short(WINAPI* ImageProcessingFn)(LONG, LONG, LONG, LONG, LONG);
typedef short(WINAPI* EndPageEntryFn)(const void*, LONG, LONG, LONG, LONG, LONG, LONG, LONG, LONG, LONG);
typedef short(WINAPI* EndDocEntryFn)(void);

#ifdef __cplusplus
}
#endif
