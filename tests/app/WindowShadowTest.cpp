// The drop-shadow window class is registered once per process.
#include <gtest/gtest.h>

#include "WindowShadow.h"

TEST(WindowShadow, ClassIsRegisteredOnceAndSecondInitializeFails)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    EXPECT_TRUE(CWindowShadow::Initialize(instance));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExW(instance, L"DropShadowWnd", &wc));
    EXPECT_EQ(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW), wc.style);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), wc.hbrBackground);
    EXPECT_FALSE(CWindowShadow::Initialize(instance));
}
