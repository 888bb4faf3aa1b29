#pragma once
// The fax server's protocol speaks the system's ANSI code page, while the
// monitor keeps settings and answers as UTF-16. The conversion belongs to the
// platform (WideCharToMultiByte with CP_ACP in the monitor); the portable code
// takes it as a function.

#include <functional>
#include <string>
#include <string_view>

namespace tolvane {

using AnsiEncoder = std::function<std::string(std::u16string_view)>;

}  // namespace tolvane
