#include <gtest/gtest.h>

#include <iterator>

#include "rasterback/program_parameters.h"

namespace tolvane {
namespace {

// How a program built with the C runtime splits its parameter text.
std::vector<std::string> runtimeArguments(const std::string& text) {
    std::vector<std::string> args;
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        if (i == text.size()) return args;
        std::string arg;
        bool quoted = false;
        while (i < text.size() && (quoted || (text[i] != ' ' && text[i] != '\t'))) {
            std::size_t slashes = 0;
            while (i < text.size() && text[i] == '\\') ++slashes, ++i;
            if (i < text.size() && text[i] == '"') {
                arg.append(slashes / 2, '\\');
                if (slashes % 2) {
                    arg += '"';
                } else if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                    arg += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                arg.append(slashes, '\\');
                if (i < text.size() && (quoted || (text[i] != ' ' && text[i] != '\t'))) arg += text[i++];
            }
        }
        args.push_back(arg);
    }
}

// Characters the interpreter would act on outside double quotes.
std::string unquotedSpecials(const std::string& text) {
    std::string found;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (!quoted && std::string("&|<>^()").find(c) != std::string::npos) found += c;
    }
    return found;
}

const char* const kHostilePaths[] = {
    "C:\\fax out\\doc.tif",
    "C:\\fax\\a&b&calc.tif",
    "C:\\fax\\x ^& y ^^ (z) | w.tif",
    "C:\\fax\\!OS! \xe4\xf6.tif",
    "C:\\folder\\",
    "\\\\server\\share\\fax.tif",
    "",
};
const char* const kPercentPaths[] = {"C:\\fax\\100%.tif", "C:\\fax\\%OS% %PATH%.tif", "C:\\%cd:~,%.tif"};

TEST(PathParameter, AProgramOfItsOwnGetsEveryPathAsItsOneArgument) {
    for (const char* program : {"c:\\after.exe", "C:\\Send\\Dunmore.EXE", "c:\\old.com ."}) {
        ASSERT_TRUE(StartsWithoutInterpreter(program)) << program;
        std::vector<std::string> paths(std::begin(kHostilePaths), std::end(kHostilePaths));
        paths.insert(paths.end(), std::begin(kPercentPaths), std::end(kPercentPaths));
        for (const std::string& path : paths) {
            SCOPED_TRACE(std::string(program) + " " + path);
            const std::optional<std::string> text = PathParameter(path, program);
            ASSERT_TRUE(text);
            EXPECT_EQ(runtimeArguments(*text), std::vector<std::string>{path});
        }
    }
}

TEST(PathParameter, WhatTheInterpreterMayRunGetsNoCommandAndNoVariable) {
    // Batch files, and names the shell may complete to one or open through
    // some program: every special character stays inside the quotes.
    for (const char* program :
         {"c:\\after.bat", "D:\\x.y\\AFTER.CMD", "c:\\after.bat. ", "c:\\after", "c:\\tools.exe\\after", ""}) {
        EXPECT_FALSE(StartsWithoutInterpreter(program)) << program;
        for (const std::string path : kHostilePaths) {
            SCOPED_TRACE(std::string(program) + " " + path);
            const std::optional<std::string> text = PathParameter(path, program);
            ASSERT_TRUE(text);
            EXPECT_EQ(unquotedSpecials(*text), "");
            // The batch file's %1 is the quoted path, "%~1" the path itself.
            EXPECT_EQ(runtimeArguments(*text), std::vector<std::string>{path});
        }
        for (const char* path : kPercentPaths) EXPECT_FALSE(PathParameter(path, program)) << program << " " << path;
    }
}

TEST(PathParameter, RefusesWhatNoQuotingCarries) {
    for (const char* path : {"C:\\a\"b.tif", "C:\\a\r\nb.tif", "C:\\a\tb.tif", "C:\\a\" & calc & \".tif"})
        for (const char* program : {"c:\\after.exe", "c:\\after.bat"})
            EXPECT_FALSE(PathParameter(path, program)) << program << " " << path;
}

}  // namespace
}  // namespace tolvane
