// The progress skin object: the bar and its chunks from the style (half of a
// 100-pixel content with chunk 6 and space 2 is 7 chunks), the marquee's
// steps by interval, and the static edge it takes away while skinned.
#include "SFSkinFramework.h"
#include "SFSkinObjectProgress.h"
#include "SkinTestSupport.h"
#include "SkinWindowShots.h"
#include <commctrl.h>
#include <gtest/gtest.h>

class ProgressTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
        manager = GetSkinFramework();
        manager->SetApplyToNewWindows(FALSE);
        ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
        parent = CreateWindowExW(0, PlainWindowClass(), L"Progress", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 300, 160,
                                 NULL, NULL, GetModuleHandleW(NULL), NULL);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        manager->RemoveAll(TRUE);
        manager->LoadSkin(L"", L"");
    }
    HWND MakeBar(DWORD style, int width, int height)
    {
        return CreateWindowExW(WS_EX_STATICEDGE, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, width,
                               height, parent, NULL, GetModuleHandleW(NULL), NULL);
    }

    CSFSkinFramework* manager = nullptr;
    HWND parent = NULL;
};

TEST_F(ProgressTest, HalfOfAHundredPixelsIsSevenChunks)
{
    // The bar's sizing margins are 3 pixels each side: the content is 100 wide.
    HWND bar = MakeBar(0, 106, 16);
    SendMessageW(bar, PBM_SETRANGE32, 0, 100);
    SendMessageW(bar, PBM_SETPOS, 50, 0);
    manager->ApplyWindow(bar);
    CSFSkinObjectProgress* object = dynamic_cast<CSFSkinObjectProgress*>(manager->Lookup(bar));
    ASSERT_NE(nullptr, object);
    EXPECT_FALSE(GetWindowLongPtrW(bar, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    RECT client;
    GetClientRect(bar, &client);
    ASSERT_EQ(106, client.right);

    WindowShot shot = TakeWindowShot(bar);
    KeepWindowPicture(parent, L"progress-skinned");
    EXPECT_EQ(7, object->GetChunksDrawn());
    // Runs of chunk colour along the middle row of the content.
    std::set<COLORREF> chunk = StylePictureColours(L"ProgressChunk.bmp");
    int runs = 0;
    bool inRun = false;
    for (int x = 3; x < shot.width - 3; x++)
    {
        bool in = chunk.count(shot.At(x, shot.height / 2)) != 0;
        runs += in && !inRun;
        inRun = in;
    }
    EXPECT_EQ(7, runs);
    int lastChunkEnd = 0;
    for (int x = 3; x < shot.width - 3; x++)
        if (chunk.count(shot.At(x, shot.height / 2)))
            lastChunkEnd = x + 1;
    EXPECT_EQ(3 + 6 * 8 + 6, lastChunkEnd);

    manager->RemoveAll(TRUE);
    manager->LoadSkin(L"", L"");
    shot = TakeWindowShot(bar);
    runs = 0;
    for (int x = 3; x < shot.width - 3; x++)
        runs += chunk.count(shot.At(x, shot.height / 2)) ? 1 : 0;
    EXPECT_EQ(0, runs);
}

TEST_F(ProgressTest, TheMarqueeStepsByItsInterval)
{
    HWND bar = MakeBar(PBS_MARQUEE, 200, 16);
    manager->ApplyWindow(bar);
    CSFSkinObjectProgress* object = dynamic_cast<CSFSkinObjectProgress*>(manager->Lookup(bar));
    ASSERT_NE(nullptr, object);
    struct
    {
        int interval, offset;
    } cases[] = {{30, 16}, {100, 8}, {0, 0}};
    for (auto& c : cases)
    {
        EXPECT_EQ(1, SendMessageW(bar, PBM_SETMARQUEE, TRUE, c.interval));
        EXPECT_EQ(0, object->GetMarqueeOffset());
        if (c.interval > 0)
            SendMessageW(bar, WM_TIMER, 102, 0);
        EXPECT_EQ(c.offset, object->GetMarqueeOffset()) << c.interval;
    }
    SendMessageW(bar, PBM_SETMARQUEE, TRUE, 30);
    WindowShot shot = TakeWindowShot(bar);
    EXPECT_EQ(5, object->GetChunksDrawn());
    KillTimer(bar, 102);
}
