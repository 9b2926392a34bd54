// Avatar pictures: the import into a 150 x 150 JPEG (resampled and cropped,
// cropped and padded, or padded with white) checked on its pixels, the
// download address, and the worker thread registry ending its threads.
#include "AvatarTransfer.h"
#include "DlgSelectAvatar.h"
#include "PixImage.h"
#include "SocialTestSupport.h"
#include "TestFolders.h"
#include "WorkerThreadRegistry.h"

#include <gtest/gtest.h>

#include <process.h>

namespace
{
const RGBQUAD kBlack = {0, 0, 0, 0};
const RGBQUAD kWhite = {255, 255, 255, 0};
const RGBQUAD kRed = {0, 0, 255, 0};

// A picture whose column x has colour(x), saved as a BMP.
template <typename Colour> std::wstring WritePicture(const std::wstring& path, long w, long h, Colour colour)
{
    CPixImage image;
    EXPECT_TRUE(image.Create(w, h, 24, 0) != nullptr);
    for (long y = 0; y < h; ++y)
        for (long x = 0; x < w; ++x)
            image.SetPixelColor(x, y, colour(x));
    EXPECT_TRUE(image.Save(path.c_str(), 1)); // BMP
    return path;
}

enum Tone { WHITE, DARK, RED };

Tone ToneAt(CPixImage& image, long x, long y)
{
    RGBQUAD c = image.GetPixelColor(x, y);
    if (c.rgbRed > 200 && c.rgbGreen > 200 && c.rgbBlue > 200)
        return WHITE;
    if (c.rgbRed > 150 && c.rgbGreen < 100)
        return RED;
    return c.rgbRed < 90 && c.rgbGreen < 90 && c.rgbBlue < 90 ? DARK : (Tone)-1;
}
} // namespace

TEST(AvatarImport, PicturesBecomeCentredSquaresOf150)
{
    std::wstring folder = SocialOutputFolder() + L"\\avatar-import";
    RemoveTree(folder);
    ::CreateDirectoryW(folder.c_str(), NULL);
    std::wstring sources = folder + L"\\sources";
    ::CreateDirectoryW(sources.c_str(), NULL);
    std::wstring out = folder + L"\\out";

    const struct
    {
        const wchar_t* name;
        long w, h;
        RGBQUAD (*colour)(long x);
        // Columns and rows (x, y) with the tone expected there.
        struct Probe
        {
            long x, y;
            Tone tone;
        } probes[8];
    } cases[] = {
        // 300 x 200: resampled to 225 x 150, cropped from column 37; the
        // black half (columns below 150, 112.5 after resampling) ends at 75.
        {L"wide", 300, 200, [](long x) { return x < 150 ? kBlack : kWhite; },
         {{2, 75, DARK}, {70, 75, DARK}, {81, 75, WHITE}, {147, 75, WHITE}, {70, 2, DARK}, {70, 147, DARK}}},
        // 101 x 100: 24 white columns on the left, 25 on the right, 25 rows above and below.
        {L"small", 101, 100, [](long) { return kBlack; },
         {{21, 75, WHITE}, {27, 75, DARK}, {122, 75, DARK}, {128, 75, WHITE}, {75, 21, WHITE}, {75, 28, DARK},
          {75, 122, DARK}, {75, 128, WHITE}}},
        // 200 x 100: columns 25 to 174 kept (the red edges go), 25 white rows above and below.
        {L"band", 200, 100, [](long x) { return x < 25 || x > 174 ? kRed : kBlack; },
         {{1, 75, DARK}, {148, 75, DARK}, {75, 21, WHITE}, {75, 28, DARK}, {75, 122, DARK}, {75, 128, WHITE}}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(CStringA(c.name).GetString());
        CString path = WritePicture(sources + L"\\" + c.name + L".bmp", c.w, c.h, c.colour).c_str();
        ASSERT_EQ(1, CDlgSelectAvatar::ImportPictureTo(out.c_str(), path, L""));
        EXPECT_EQ(W(CString(out.c_str()) + L"\\" + c.name + L".jpg"), W(path));
        CPixImage result;
        ASSERT_TRUE(result.Load(path, 0));
        EXPECT_EQ(150u, result.GetWidth());
        EXPECT_EQ(150u, result.GetHeight());
        for (const auto& probe : c.probes)
            if (probe.x || probe.y)
                EXPECT_EQ(probe.tone, ToneAt(result, probe.x, probe.y)) << probe.x << "," << probe.y;
    }
    // A named import takes the name; an unreadable source imports nothing.
    CString path = (sources + L"\\small.bmp").c_str();
    ASSERT_EQ(1, CDlgSelectAvatar::ImportPictureTo(out.c_str(), path, L"me@x.com"));
    EXPECT_EQ(W(CString(out.c_str()) + L"\\me@x.com.jpg"), W(path));
    CString broken = (sources + L"\\missing.bmp").c_str();
    EXPECT_EQ(0, CDlgSelectAvatar::ImportPictureTo(out.c_str(), broken, L""));
}

TEST(AvatarTransfer, AddressesFollowTheUserId)
{
    const struct
    {
        unsigned long uid;
        const wchar_t* tail;
    } cases[] = {{42, L"042/000/42.jpg"}, {1234567, L"567/234/1234567.jpg"}, {999, L"999/000/999.jpg"}};
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(L"http://h/avatar/") + c.tail, W(AvatarTransfer::AvatarAddress(L"http://h/avatar/", c.uid)));
}

namespace
{
unsigned __stdcall PoliteWorker(void*)
{
    WorkerThreadRegistry::RegisterWorkerThread(WorkerThreadRegistry::LOADERS, ::GetCurrentThreadId());
    while (!WorkerThreadRegistry::StopRequested())
        ::Sleep(10);
    WorkerThreadRegistry::UnregisterLoaderThread();
    return 1;
}

unsigned __stdcall StuckWorker(void*)
{
    WorkerThreadRegistry::RegisterWorkerThread(WorkerThreadRegistry::UPLOADS, ::GetCurrentThreadId());
    ::Sleep(INFINITE);
    return 1;
}
} // namespace

TEST(WorkerThreads, EndCooperativelyAndOnlyStuckOnesAreTerminated)
{
    WorkerThreadRegistry::ResetStop();
    HANDLE polite = (HANDLE)_beginthreadex(NULL, 0, &PoliteWorker, NULL, 0, NULL);
    HANDLE stuck = (HANDLE)_beginthreadex(NULL, 0, &StuckWorker, NULL, 0, NULL);
    ASSERT_TRUE(polite && stuck);
    ASSERT_TRUE(PumpUntil(
        [] {
            return WorkerThreadRegistry::Count(WorkerThreadRegistry::LOADERS) == 1 &&
                   WorkerThreadRegistry::Count(WorkerThreadRegistry::UPLOADS) == 1;
        },
        5000));
    DWORD start = ::GetTickCount();
    WorkerThreadRegistry::KillAllWorkerThreads(1000);
    EXPECT_LT(::GetTickCount() - start, 3000u) << "the wait is bounded";
    DWORD code = 0;
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(polite, 2000));
    ::GetExitCodeThread(polite, &code);
    EXPECT_EQ(1u, code) << "the polite worker ended on its own";
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(stuck, 2000));
    ::GetExitCodeThread(stuck, &code);
    EXPECT_EQ(0xFFFFFFFFu, code) << "the stuck one was terminated";
    EXPECT_EQ(0, WorkerThreadRegistry::Count(WorkerThreadRegistry::LOADERS));
    EXPECT_EQ(0, WorkerThreadRegistry::Count(WorkerThreadRegistry::UPLOADS));
    ::CloseHandle(polite);
    ::CloseHandle(stuck);
    WorkerThreadRegistry::ResetStop();
}
