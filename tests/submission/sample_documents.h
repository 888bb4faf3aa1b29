#pragma once
// Print data of the kinds a fax upload meets, made to a size: random binary
// (compresses not at all), hex image lines (a driver's ASCII mode), and a
// printed letter (text and a photograph on every page, as a Windows PostScript
// driver writes them). Shared by the upload tests and the benchmark.

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <random>
#include <string>

namespace tolvane::testing {

inline std::string RandomPostScript(std::size_t bytes, unsigned seed = 4559) {
    std::string document = "%!PS-Adobe-3.0\n%%BeginBinary\n";
    std::mt19937 random(seed);
    while (document.size() < bytes) document += static_cast<char>(random() & 0xFF);
    document.resize(bytes);
    return document;
}

inline std::string HexPostScript(std::size_t bytes, unsigned seed = 4559) {
    std::string document = "%!PS-Adobe-3.0\n%%Pages: (atend)\n%%EndComments\n";
    std::mt19937 random(seed);
    for (int page = 1; document.size() < bytes; ++page) {
        document += "%%Page: " + std::to_string(page) + " " + std::to_string(page) +
                    "\nsave 1728 2200 1 [1728 0 0 -2200 0 2200] {currentfile picstr readhexstring pop} image\n";
        for (int row = 0; row < 2500 && document.size() < bytes; ++row) {
            for (int i = 0; i < 78; ++i) document += "0123456789ABCDEF"[random() & 15];
            document += '\n';
        }
        document += "restore showpage\n";
    }
    document.resize(bytes);
    return document;
}

inline std::string PrintedPostScript(std::size_t bytes, unsigned seed = 4559) {
    static const char* const kWords[] = {"the",     "order",   "invoice", "delivery", "of",       "and", "please",
                                         "payment", "account", "within",  "days",     "receipt",  "to",  "our",
                                         "office",  "Monday",  "copies",  "signed",   "contract", "for", "your"};
    std::mt19937 random(seed);
    std::string document =
        "%!PS-Adobe-3.0\n%%Title: Letter.doc\n%%Creator: PScript5.dll Version 5.2.2\n%%Pages: (atend)\n"
        "%%BoundingBox: 0 0 595 842\n%%EndComments\n%%BeginProlog\n";
    for (int i = 0; i < 40; ++i) {
        document += "/bd{bind def}bind def/ld{load def}bd/M{moveto}bd/S{show}bd/F{findfont exch scalefont setfont}bd\n";
    }
    document += "%%EndProlog\n";
    char line[160];
    for (int page = 1; document.size() < bytes; ++page) {
        document += "%%Page: " + std::to_string(page) + " " + std::to_string(page) +
                    "\n%%BeginPageSetup\nsave\n%%EndPageSetup\n11 /Times-Roman F\n";
        for (int row = 0; row < 48; ++row) {
            std::string text;
            while (text.size() < 80) text += std::string(kWords[random() % std::size(kWords)]) + " ";
            std::snprintf(line, sizeof line, "72 %d M\n(%s)S\n", 780 - row * 12, text.c_str());
            document += line;
        }
        // A photograph: smooth shapes with sensor noise, 8-bit RGB as hex.
        constexpr int kWidth = 600, kHeight = 450;
        document += "gsave 72 80 translate 450 338 scale\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) +
                    " 8 [600 0 0 -450 0 450]\n{currentfile picstr readhexstring pop} false 3 colorimage\n";
        std::size_t column = 0;
        for (int y = 0; y < kHeight && document.size() < bytes; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                for (int channel = 0; channel < 3; ++channel) {
                    const double shade =
                        128 +
                        70 * std::sin((x + 40 * channel + page * 13) / 37.0) * std::cos((y - 25 * channel) / 23.0) +
                        40 * std::sin((x + y) / 91.0);
                    const int value = static_cast<int>(shade) + static_cast<int>(random() % 13) - 6;
                    const int clamped = value < 0 ? 0 : (value > 255 ? 255 : value);
                    document += "0123456789abcdef"[clamped >> 4];
                    document += "0123456789abcdef"[clamped & 15];
                    if (++column == 32) {
                        document += '\n';
                        column = 0;
                    }
                }
            }
        }
        document += "\ngrestore\nrestore showpage\n";
    }
    document.resize(bytes);
    return document + "%%Trailer\n%%EOF\n";
}

}  // namespace tolvane::testing
