// One copy of the program per session: the name in the session's own
// namespace answers whether a copy runs here; a copy in another session
// leaves only the global name, which must not keep this one from starting.
#include <gtest/gtest.h>

#include "app/SingleInstance.h"

TEST(SessionInstance, TakenInThisSessionMeansRunningTheGlobalNameAloneDoesNot) {
    CSessionInstance first(L"Lumeyra.Test.Instance");
    EXPECT_FALSE(first.AnotherRuns());
    EXPECT_TRUE(CSessionInstance(L"Lumeyra.Test.Instance").AnotherRuns());

    MutexHandle otherSession(CreateMutexW(nullptr, FALSE, L"Global\\Lumeyra.Test.Elsewhere"));
    ASSERT_TRUE(otherSession);
    EXPECT_FALSE(CSessionInstance(L"Lumeyra.Test.Elsewhere").AnotherRuns());
}
