#pragma once
#include <gtest/gtest.h>
#include "ServiceAddresses.h"
#include "ServiceProcess.h"

// A test against the stand-in service: the service runs as its own process
// for the test, and the client's service addresses point at it.
class NetworkTest : public ::testing::Test
{
  public:
    // The text as the service's log keeps it (UTF-8).
    static std::string Utf8(const CString& text) { return FwWideToMultiByte(text, text.GetLength(), CP_UTF8); }

  protected:
    void SetUp() override
    {
        ASSERT_TRUE(service.Start());
        CServiceAddresses::Get().Load(service.ClientIniPath().c_str());
    }
    void TearDown() override { CServiceAddresses::Get().Reset(); }

    static CString WebUrl(LPCWSTR path) { return CServiceAddresses::Get().WebUrl(path); }
    ServiceProcess service;
};
