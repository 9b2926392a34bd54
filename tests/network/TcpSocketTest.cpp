#include <gtest/gtest.h>
#include "ServiceProcess.h"
#include "TcpSocket.h"
#include <string>
#include <thread>

namespace
{
// A listening socket on loopback with the port it got.
struct Listener
{
    CTcpSocket socket;
    int port = 0;
    Listener()
    {
        socket.Create(AF_INET);
        socket.Bind(0);
        socket.Listen(1);
        sockaddr_in address = {};
        int length = sizeof address;
        getsockname(socket.GetHandle(), (sockaddr*)&address, &length);
        port = ntohs(address.sin_port);
    }
};
} // namespace

TEST(TcpSocket, ConnectsToDottedAddressAndRefusesUnknownName)
{
    Listener listener;
    CTcpSocket client;
    ASSERT_TRUE(client.Create(AF_INET));
    SOCKET connected = INVALID_SOCKET;
    EXPECT_TRUE(client.Connect("127.0.0.1", listener.port, &connected));
    EXPECT_EQ(connected, client.GetHandle());

    CTcpSocket other;
    ASSERT_TRUE(other.Create(AF_INET));
    EXPECT_FALSE(other.Connect("no-such-host.invalid", listener.port));
}

TEST(TcpSocket, ReceiveLineSplitsAtLineFeedAndDropsCarriageReturn)
{
    Listener listener;
    std::thread peer([&] {
        CTcpSocket client;
        client.Create(AF_INET);
        client.Connect("127.0.0.1", listener.port);
        client.SendString("ab\r\ncd\n\nxyz");
        client.Shutdown(SD_SEND);
        char drain[16];
        while (client.Receive(drain, sizeof drain) > 0)
        {
        }
    });
    CTcpSocket server;
    ASSERT_TRUE(listener.socket.Accept(&server));
    char line[8];
    EXPECT_EQ(2, server.ReceiveLine(line, 7));
    EXPECT_STREQ("ab", line);
    EXPECT_EQ(2, server.ReceiveLine(line, 7));
    EXPECT_STREQ("cd", line);
    EXPECT_EQ(1, server.ReceiveLine(line, 7)); // an empty line: the result of the last read
    EXPECT_EQ(0, server.ReceiveLine(line, 7)); // "xyz" then the close: the close wins
    server.Close();
    peer.join();
}

TEST(TcpSocket, ReceiveLineStopsAtMaxLengthAndEchoes)
{
    Listener listener;
    std::string echoed;
    std::thread peer([&] {
        CTcpSocket client;
        client.Create(AF_INET);
        client.Connect("127.0.0.1", listener.port);
        client.SendString("abcdef\n");
        char c[16];
        int n;
        while (echoed.size() < 3 && (n = client.Receive(c, sizeof c)) > 0)
            echoed.append(c, n);
    });
    CTcpSocket server;
    ASSERT_TRUE(listener.socket.Accept(&server));
    char line[4];
    EXPECT_EQ(3, server.ReceiveLine(line, 3, TRUE));
    EXPECT_STREQ("abc", line);
    peer.join();
    EXPECT_EQ("abc", echoed);
}

TEST(TcpSocket, WinsockLivesAsLongAsAnyInstance)
{
    ASSERT_EQ(0, CTcpSocket::GetInstanceCount());
    {
        CTcpSocket first, second;
        EXPECT_EQ(2, CTcpSocket::GetInstanceCount());
        EXPECT_TRUE(first.Create(AF_INET));
        EXPECT_TRUE(second.Create(AF_INET));
        EXPECT_TRUE(first.Close());
        EXPECT_FALSE(first.Close()); // already closed
        EXPECT_FALSE(first.Shutdown(SD_BOTH));
    }
    EXPECT_EQ(0, CTcpSocket::GetInstanceCount());
    // Cleaned up once per start: no socket can be made now.
    EXPECT_EQ(INVALID_SOCKET, socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    EXPECT_EQ(WSANOTINITIALISED, WSAGetLastError());
}

TEST(TcpSocket, SetsOptionsAndReachesTheStandInImageServer)
{
    ServiceProcess service;
    ASSERT_TRUE(service.Start());
    CTcpSocket socket;
    ASSERT_TRUE(socket.Create(AF_INET));
    EXPECT_TRUE(socket.SetOption(SO_REUSEADDR, 1));
    EXPECT_TRUE(socket.SetOption(SO_SNDBUF, 65536));
    ASSERT_TRUE(socket.Connect("127.0.0.1", service.Port("image")));
    char header[280] = {};
    header[0] = (char)((280 + 3) & 0xFF);
    header[1] = (char)((280 + 3) >> 8);
    header[4] = 6;
    EXPECT_EQ(280, socket.Send(header, 280));
    EXPECT_EQ(3, socket.Send("abc", 3));
    socket.Close();
    ServiceRecord record;
    ASSERT_TRUE(service.WaitForRecord([](const ServiceRecord& r) { return r.event == "exchange"; }, 5000, &record));
    EXPECT_EQ("6", record.Get("kind"));
    EXPECT_EQ("283", record.Get("length"));
    EXPECT_EQ("3", record.Get("bytes"));
}
