// The application object's accessors and command-line switch.
#include <gtest/gtest.h>

#include "ClientApp.h"

TEST(ClientApp, UserAccessorsAndLogoutSwitch)
{
    CClientApp app;
    CString email = L"stale";
    EXPECT_EQ(0, app.GetUserEmail(email)); // no login yet
    EXPECT_TRUE(email.IsEmpty());
    app.SetUserEmail(L"me@example.com");
    EXPECT_EQ(1, app.GetUserEmail(email));
    EXPECT_EQ(CString(L"me@example.com"), email);

    const struct
    {
        const wchar_t* text;
        int port;
    } ports[] = {{L"8080x", 8080}, {L"443", 443}, {L"x80", 0}, {L"", 0}, {L"99999999999999", 999999999}};
    for (const auto& c : ports)
    {
        app.SetUploadServerPort(c.text);
        EXPECT_EQ(c.port, app.GetUploadServerPort()) << "port text " << c.text;
    }
    app.SetUploadServerHost(L"upload.example.com");
    EXPECT_EQ(CString(L"upload.example.com"), app.GetUploadServerHost());
    EXPECT_TRUE(app.GetUserId().IsEmpty());
    app.SetUserId(L"12345");
    EXPECT_EQ(CString(L"12345"), app.GetUserId());

    EXPECT_TRUE(CClientApp::HasLogoutSwitch(L"-l:logout"));
    EXPECT_TRUE(CClientApp::HasLogoutSwitch(L"\"C:\\Yeb\\Yeb.exe\" -l:logout -e:communication"));
    EXPECT_FALSE(CClientApp::HasLogoutSwitch(L"-L:LOGOUT"));
    EXPECT_FALSE(CClientApp::HasLogoutSwitch(L"-l:systemauto"));
    EXPECT_FALSE(CClientApp::HasLogoutSwitch(nullptr));
}
