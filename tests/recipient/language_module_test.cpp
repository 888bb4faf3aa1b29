#include "recipient/language_module.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(LanguageModuleCandidates, ReplaceTheExtensionByTheLanguageThenItsFirstTwoLetters) {
    EXPECT_EQ(LanguageModuleCandidates(u"C:\\WINDOWS\\Korrim.exe", u"DEU"),
              (std::vector<std::u16string>{u"C:\\WINDOWS\\Korrim.DEU", u"C:\\WINDOWS\\Korrim.DE"}));
    EXPECT_EQ(LanguageModuleCandidates(u"C:\\a.b\\Korrim.x.exe", u"ENU"),
              (std::vector<std::u16string>{u"C:\\a.b\\Korrim.x.ENU", u"C:\\a.b\\Korrim.x.EN"}));
    EXPECT_TRUE(LanguageModuleCandidates(u"C:\\bin\\Korrim", u"ENU").empty());
    EXPECT_TRUE(LanguageModuleCandidates(u"C:\\Korrim.exe", u"").empty());
}

}  // namespace
}  // namespace tolvane
