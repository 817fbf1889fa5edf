// Each run of the tests under Wine stands for a Windows whose "language for
// non-Unicode programs" gives one ANSI code page; the test script names it,
// and this checks that Wine really uses it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

TEST(CodePage, IsTheOneThisRunStandsFor) {
    std::printf("ANSI code page %u, OEM code page %u\n", GetACP(), GetOEMCP());
    const char* expected = std::getenv("LUMEYRA_EXPECT_ACP");
    if (!expected) GTEST_SKIP() << "the script named no code page";
    EXPECT_EQ(GetACP(), std::strtoul(expected, nullptr, 10));
}
