#include "base/win32/com_apartment.h"

#include <gtest/gtest.h>
#include <objbase.h>

namespace {

// What asking for a multithreaded apartment answers: S_OK on a thread outside any apartment,
// RPC_E_CHANGED_MODE on one in a single-threaded apartment.
HRESULT AskForMultithreaded() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(result)) CoUninitialize();
    return result;
}

}  // namespace

TEST(ComApartment, PutsTheThreadInASingleThreadedApartmentWhileItLives) {
    ASSERT_EQ(AskForMultithreaded(), S_OK);
    {
        const ComApartment com;
        EXPECT_TRUE(com.Joined());
        EXPECT_EQ(AskForMultithreaded(), RPC_E_CHANGED_MODE);
    }
    EXPECT_EQ(AskForMultithreaded(), S_OK) << "left again";
}
