// pp_print raw PRINTER FILE DOCNAME
//   Sends FILE's bytes unchanged to PRINTER with WritePrinter (RAW), as an
//   application that produces its own PostScript does.
// pp_print gdi PRINTER DOCNAME
//   Draws a one-page letter with GDI; Wine's PostScript driver turns it into
//   PostScript for the port.
// Both return only when the port's EndDocPort has finished, which includes the
// recipient dialog and the submission.

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int Fail(const char* step) {
    std::printf("pp_print: %s failed: error %lu\n", step, static_cast<unsigned long>(GetLastError()));
    return 1;
}

int PrintRaw(const std::wstring& printer, const std::wstring& file, const std::wstring& document) {
    HANDLE input = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (input == INVALID_HANDLE_VALUE) return Fail("CreateFileW");
    HANDLE handle = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(printer.c_str()), &handle, nullptr)) return Fail("OpenPrinterW");
    std::wstring name = document;
    wchar_t datatype[] = L"RAW";
    DOC_INFO_1W info{name.data(), nullptr, datatype};
    const DWORD job = StartDocPrinterW(handle, 1, reinterpret_cast<LPBYTE>(&info));
    if (job == 0) return Fail("StartDocPrinterW");
    std::vector<char> block(64 * 1024);
    unsigned long long total = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(input, block.data(), static_cast<DWORD>(block.size()), &got, nullptr)) return Fail("ReadFile");
        if (got == 0) break;
        DWORD written = 0;
        if (!WritePrinter(handle, block.data(), got, &written) || written != got) return Fail("WritePrinter");
        total += got;
    }
    CloseHandle(input);
    if (!EndDocPrinter(handle)) return Fail("EndDocPrinter");
    ClosePrinter(handle);
    std::printf("pp_print: %llu bytes printed to \"%ls\" as \"%ls\" (job %lu)\n", total, printer.c_str(),
                document.c_str(), static_cast<unsigned long>(job));
    return 0;
}

int PrintGdi(const std::wstring& printer, const std::wstring& document) {
    HDC dc = CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, nullptr);
    if (dc == nullptr) return Fail("CreateDCW");
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = document.c_str();
    if (StartDocW(dc, &info) <= 0) return Fail("StartDocW");
    if (StartPage(dc) <= 0) return Fail("StartPage");
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    HFONT font = CreateFontW(-dpi / 4, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    const wchar_t* lines[] = {L"Tolvane fax", L"A letter printed with GDI to the fax printer.",
                              L"Its PostScript goes to the fax server unchanged."};
    int y = dpi;
    for (const wchar_t* line : lines) {
        TextOutW(dc, dpi, y, line, lstrlenW(line));
        y += dpi / 2;
    }
    Rectangle(dc, dpi, y, dpi * 4, y + dpi);
    SelectObject(dc, old);
    DeleteObject(font);
    if (EndPage(dc) <= 0) return Fail("EndPage");
    if (EndDoc(dc) <= 0) return Fail("EndDoc");
    DeleteDC(dc);
    std::printf("pp_print: one GDI page printed to \"%ls\" as \"%ls\"\n", printer.c_str(), document.c_str());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 5 && std::wstring(argv[1]) == L"raw") return PrintRaw(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::wstring(argv[1]) == L"gdi") return PrintGdi(argv[2], argv[3]);
    std::printf("usage: pp_print raw PRINTER FILE DOCNAME | gdi PRINTER DOCNAME\n");
    return 2;
}
