// Stands in for the raster printer's render plug-in: loads PellmarkSys.dll and
// calls its exports the way the plug-in does, one or more documents per load.
//
// rb_harness [--dll PATH] [--windir DIR] [--softpath DIR | --no-softpath]
//            [--owner-window] [--tif-viewer EXE]
//            --doc PRINTER PAGE... [--doc PRINTER PAGE...]
// PAGE is KIND,FILE,XDPI,YDPI[,KEEPOPEN[,ROWBYTES]] with KIND pbm or ppm, or
// empty,WIDTH,XDPI,YDPI for a page of height 0. Prints each export's result.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "page_files.h"
#include "rasterback/win32/pellmark_sys.h"

namespace {

struct Exports {
    StartDocEntryFn startDoc;
    StartPageEntryFn startPage;
    ImageProcessingFn imageProcessing;
    EndPageEntryFn endPage;
    EndDocEntryFn endDoc;
};

template <typename Fn>
Fn lookUp(HMODULE dll, const char* name) {
    FARPROC p = GetProcAddress(dll, name);
    if (!p) {
        std::printf("export %s not found by its plain name\n", name);
        std::exit(3);
    }
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(p));
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

// The row table as the plug-in builds it: a location holding the address of
// the first 8-byte entry; each entry starts with the row's address and, in a
// 32-bit process, ends with 4 bytes that the back end must not read.
struct RowTable {
    std::vector<uint8_t> entries;
    const void* firstEntry = nullptr;

    explicit RowTable(PluginImage& image) : entries(static_cast<std::size_t>(image.height) * 8, 0xEE) {
        for (int y = 0; y < image.height; ++y) {
            const uint8_t* address = image.row(y);
            std::memcpy(entries.data() + static_cast<std::size_t>(y) * 8, &address, sizeof address);
        }
        firstEntry = image.height > 0 ? entries.data() : nullptr;
    }
    const void* argument() const { return &firstEntry; }
};

// How the page's own rows look after EndPageEntry: upright bi-level pages are
// inverted in place, the others left alone.
const char* rowState(const PluginImage& before, const PluginImage& after) {
    if (before.pixels == after.pixels) return "unchanged";
    for (std::size_t i = 0; i < before.pixels.size(); ++i)
        if (static_cast<uint8_t>(~before.pixels[i]) != after.pixels[i]) return "altered";
    return "inverted";
}

short runPage(const Exports& dll, const std::string& pageArgs, int pageNumber) {
    const std::vector<std::string> f = split(pageArgs, ',');
    if (f.size() < 4) {
        std::printf("bad page arguments: %s\n", pageArgs.c_str());
        std::exit(2);
    }
    PluginImage image;
    std::string error;
    const int keepOpen = f.size() > 4 ? std::atoi(f[4].c_str()) : 0;
    const int rowBytes = f.size() > 5 ? std::atoi(f[5].c_str()) : 0;
    if (f[0] == "empty") {
        image.width = std::atoi(f[1].c_str());
        image.rowBytes = (image.width + 31) / 32 * 4;
    } else if (!(f[0] == "pbm" ? loadPbm(f[1], rowBytes, image, error) : loadPpm(f[1], rowBytes, image, error))) {
        std::printf("%s\n", error.c_str());
        std::exit(2);
    }
    const PluginImage before = image;
    RowTable table(image);

    std::printf("StartPageEntry=%d\n", dll.startPage());
    std::printf("ImageProcessing=%d\n", dll.imageProcessing(1, 2, 3, 4, 5));
    const short result =
        dll.endPage(table.argument(), image.rowBytes, image.width, image.height, pageNumber, image.bilevel ? 1 : 0,
                    std::atoi(f[2].c_str()), std::atoi(f[3].c_str()), keepOpen, 0x7777);
    std::printf("EndPageEntry[%d]=%d rows=%s\n", pageNumber, result, rowState(before, image));
    return result;
}

void setSoftPath(const char* folder) {
    HKEY key = nullptr;
    if (!folder) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Merrowind\\Ostrel");
        return;
    }
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Merrowind\\Ostrel", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        std::printf("cannot create the Ostrel registry key\n");
        std::exit(2);
    }
    RegSetValueExA(key, "SoftPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                   static_cast<DWORD>(std::strlen(folder) + 1));
    RegCloseKey(key);
}

// Makes EXE the program the shell opens .tif files with, so that the back end's
// closing shell request can be seen.
void setTifViewer(const char* exe) {
    const std::string command = std::string("\"") + exe + "\" \"%1\"";
    const char* const kClass = "RbHarnessFax";
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, ".tif", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kClass),
                       static_cast<DWORD>(std::strlen(kClass) + 1));
        RegCloseKey(key);
    }
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, "RbHarnessFax\\shell\\open\\command", 0, nullptr, 0, KEY_WRITE, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);
    }
}

void showOwnerWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RbHarnessOwner";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "rb harness owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                200, nullptr, nullptr, wc.hInstance, nullptr);
    std::printf("owner window %s\n", hwnd ? "shown" : "failed");
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::string dllPath = "PellmarkSys.dll";
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--doc") != 0; ++i) {
        const std::string option = argv[i];
        if (option == "--dll" && i + 1 < argc)
            dllPath = argv[++i];
        else if (option == "--windir" && i + 1 < argc)
            SetEnvironmentVariableA("windir", argv[++i]);
        else if (option == "--softpath" && i + 1 < argc)
            setSoftPath(argv[++i]);
        else if (option == "--no-softpath")
            setSoftPath(nullptr);
        else if (option == "--tif-viewer" && i + 1 < argc)
            setTifViewer(argv[++i]);
        else if (option == "--owner-window")
            showOwnerWindow();
        else {
            std::printf("unknown option %s\n", option.c_str());
            return 2;
        }
    }

    HMODULE dll = LoadLibraryA(dllPath.c_str());
    if (!dll) {
        std::printf("cannot load %s (error %lu)\n", dllPath.c_str(), GetLastError());
        return 3;
    }
    const Exports exports{lookUp<StartDocEntryFn>(dll, "StartDocEntry"),
                          lookUp<StartPageEntryFn>(dll, "StartPageEntry"),
                          lookUp<ImageProcessingFn>(dll, "ImageProcessing"),
                          lookUp<EndPageEntryFn>(dll, "EndPageEntry"), lookUp<EndDocEntryFn>(dll, "EndDocEntry")};

    while (i < argc) {  // argv[i] is "--doc"
        if (i + 1 >= argc) {
            std::printf("--doc needs a printer name\n");
            return 2;
        }
        const std::string printer = argv[i + 1];
        i += 2;
        std::wstring wide(printer.begin(), printer.end());
        std::printf("StartDocEntry=%d\n", exports.startDoc(wide.c_str()));
        for (int page = 1; i < argc && std::strcmp(argv[i], "--doc") != 0; ++i, ++page) runPage(exports, argv[i], page);
        std::printf("EndDocEntry=%d\n", exports.endDoc());
    }
    FreeLibrary(dll);
    return 0;
}
