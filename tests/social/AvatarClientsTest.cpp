// Avatars through the stand-in service: a picture uploaded for user A over
// the raw exchange is served by the image host; B's main window, told by A's
// code 13, fetches it into B's buddy folder and shows it in B's buddy list.
// B's own upload tells every buddy, and only when it went through.
#include <gtest/gtest.h>

#include <cstdio>

#include "AppSetting.h"
#include "AvatarTransfer.h"
#include "DlgSelectAvatar.h"
#include "FriendItem.h"
#include "MainWindowRun.h"
#include "PixImage.h"
#include "RecordingMessaging.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "SocialTestSupport.h"
#include "WorkerThreadRegistry.h"

TEST(AvatarClients, AnUploadedAvatarReachesTheBuddysListAndBuddiesAreToldAfterTheUpload)
{
    ServiceProcess service;
    ASSERT_TRUE(service.Start());
    CServiceAddresses::Get().Load(service.ClientIniPath().c_str());
    WorkerThreadRegistry::ResetStop();

    MainWindowRun run(L"avatar-clients-b");
    run.App().SetUserEmail(L"b@x.com");
    run.App().SetUserId(L"2002");
    // A's picture: a red square made the way the chooser makes it.
    std::wstring sources = run.Folder() + L"\\sources";
    ::CreateDirectoryW(sources.c_str(), NULL);
    ASSERT_TRUE(WriteSolidPicture(sources + L"\\red.png", RGB(255, 0, 0)));
    CString picture = (sources + L"\\red.png").c_str();
    ASSERT_EQ(1, CDlgSelectAvatar::ImportPictureTo((sources + L"\\out").c_str(), picture, L"a@x.com"));

    RecordingMessaging messaging;
    run.Run([&] {
        CDlgMain& main = run.Main();
        run.SignIn({L"a@x.com"});
        // A's numeric id, as the service gives it to every client.
        CString uid;
        run.OnWindowThread([&] { uid = main.GetBuddyUserId(L"a@x.com"); });
        unsigned long id = (unsigned long)_wtol(uid);
        ASSERT_NE(0ul, id);
        char servedPath[64];
        sprintf(servedPath, "www/avatar/%03lu/%03lu/%lu.jpg", id % 1000, id / 1000 % 1000, id);

        // A's upload, as A's client sends it.
        run.App().SetUserId(uid);
        EXPECT_TRUE(AvatarTransfer::UploadAvatarFile(L"a@x.com", picture));
        run.App().SetUserId(L"2002");
        // The host keeps the picture once the connection has ended.
        std::string served;
        for (int tries = 0; tries < 50 && !service.ReadDataFile(servedPath, served); ++tries)
            ::Sleep(100);
        EXPECT_GT(served.size(), 100u);

        // A tells B; B fetches the picture and shows it in A's row.
        run.Deliver(MakeRecord(13, {L"a@x.com"}));
        EXPECT_TRUE(service.WaitForRequest(std::string(servedPath).substr(3), 10000));
        std::wstring file = run.MyMusic() + L"\\yeb360\\lib\\friend\\a@x.com\\avatar\\a@x.com.jpg";
        EXPECT_TRUE(run.WaitUntil(
            [&] {
                CFriendItem* row = main.LeftBar().GetItem(main.LeftBar().FindItem(L"a@x.com"));
                return row && !row->avatarPath.IsEmpty() && row->IsValid() && row->GetWidth() == 30;
            },
            15000));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(file.c_str()));
        run.OnWindowThread([&] {
            main.LeftBar().Invalidate();
            PumpMessages();
            CPixImage shot;
            EXPECT_TRUE(CaptureWindowPicture(main.LeftBar().GetSafeHwnd(), L"avatar-friend-list.png", &shot));
        });

        // B's own upload: its buddy hears of it once it went through; a
        // picture that cannot be read tells nobody.
        run.OnWindowThread([&] { AvatarTransfer::StartAvatarUpload(L"b@x.com", picture); });
        EXPECT_TRUE(run.WaitUntil([&] { return messaging.Pushed(13).size() == 1; }, 10000));
        run.OnWindowThread([&] { AvatarTransfer::StartAvatarUpload(L"b@x.com", picture + L".missing"); });
        ::Sleep(1500);
        std::vector<RecordedCall> told = messaging.Pushed(13);
        ASSERT_EQ(1u, told.size());
        EXPECT_EQ(L"a@x.com", W(told[0].s[0]));
    });
}

TEST(AvatarClients, SigningInAndAddingABuddyFetchTheBuddiesAvatars)
{
    ServiceProcess service;
    ASSERT_TRUE(service.Start());
    CServiceAddresses::Get().Load(service.ClientIniPath().c_str());
    WorkerThreadRegistry::ResetStop();

    MainWindowRun run(L"avatar-loader");
    run.App().SetUserEmail(L"b@x.com");
    run.App().SetUserId(L"2002");
    std::wstring sources = run.Folder() + L"\\sources";
    ::CreateDirectoryW(sources.c_str(), NULL);
    ASSERT_TRUE(WriteSolidPicture(sources + L"\\green.png", RGB(0, 160, 0)));

    RecordingMessaging messaging;
    run.Run([&] {
        CDlgMain& main = run.Main();
        // The pictures of a (a buddy from the start) and d (added later) lie
        // on the image host; c has none.
        for (const wchar_t* email : {L"a@x.com", L"d@x.com"})
        {
            CString uid;
            run.OnWindowThread([&] { uid = main.GetBuddyUserId(email); });
            unsigned long id = (unsigned long)_wtol(uid);
            ASSERT_NE(0ul, id) << W(email);
            CString picture = (sources + L"\\green.png").c_str();
            ASSERT_EQ(1, CDlgSelectAvatar::ImportPictureTo((sources + L"\\out").c_str(), picture, email));
            FILE* in = _wfopen(picture, L"rb");
            ASSERT_TRUE(in);
            std::string bytes;
            char piece[4096];
            for (size_t n; (n = fread(piece, 1, sizeof(piece), in)) > 0;)
                bytes.append(piece, n);
            fclose(in);
            char served[64];
            sprintf(served, "www/avatar/%03lu/%03lu/%lu.jpg", id % 1000, id / 1000 % 1000, id);
            ASSERT_TRUE(service.WriteDataFile(served, bytes));
        }
        auto shown = [&](const wchar_t* email) {
            return run.WaitUntil(
                [&] {
                    CFriendItem* row = main.LeftBar().GetItem(main.LeftBar().FindItem(email));
                    return row && !row->avatarPath.IsEmpty() && row->IsValid() && row->GetWidth() == 30;
                },
                15000);
        };
        std::wstring friends = run.MyMusic() + L"\\yeb360\\lib\\friend\\";

        // Signing in builds the buddy list and fetches every buddy's picture.
        run.SignIn({L"a@x.com", L"c@x.com"});
        EXPECT_TRUE(shown(L"a@x.com"));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES,
                  ::GetFileAttributesW((friends + L"a@x.com\\avatar\\a@x.com.jpg").c_str()));
        // A buddy added afterwards gets its picture as well.
        run.OnWindowThread([&] { main.AddBuddyAfterRequest(L"d@x.com", L""); });
        EXPECT_TRUE(shown(L"d@x.com"));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES,
                  ::GetFileAttributesW((friends + L"c@x.com\\avatar\\c@x.com.jpg").c_str()))
            << "a buddy without a picture on the host gets no file";
        run.OnWindowThread([&] {
            main.LeftBar().Invalidate();
            PumpMessages();
            EXPECT_TRUE(CaptureWindowPicture(main.LeftBar().GetSafeHwnd(), L"avatar-loader-friend-list.png"));
        });
    });
}
