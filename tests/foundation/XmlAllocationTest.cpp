// Loading under memory exhaustion: every allocation of the test program goes
// through the operator new below, which can be told to fail after a number of
// allocations, as a 32-bit process does when its address space is full.
#include "TestFiles.h"
#include "Xml.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>

namespace
{

// Allocations left before the next one fails; negative: no limit.
long g_allocationsLeft = -1;
bool g_allocationFailed = false;

void FailAllocationAfter(long count)
{
    g_allocationFailed = false;
    g_allocationsLeft = count;
}

bool StopFailing()
{
    g_allocationsLeft = -1;
    return g_allocationFailed;
}

} // namespace

void* operator new(std::size_t size)
{
    if (g_allocationsLeft == 0)
    {
        g_allocationFailed = true;
        throw std::bad_alloc();
    }
    if (g_allocationsLeft > 0)
        --g_allocationsLeft;
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

TEST(XmlAllocation, EveryFailedAllocationFailsTheLoadAndLeavesTheFileAlone)
{
    // A little of everything the parser allocates for: long values, an element
    // with enough attributes for an index, a repeated name, text, comments,
    // nesting.
    std::string doc = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<UR>\r\n  <MD>\r\n";
    for (int i = 0; i < 3; ++i)
        doc += "    <MS A=\"" + std::to_string(i) + "\" B=\"D:\\Music\\A long folder name\\Track " +
               std::to_string(i) + ".mp3\" C=\"\xE6\xAD\x8C\xE6\x9B\xB2 title\" b=\"again\"/>\r\n";
    doc += "  </MD>\r\n  <!-- lists -->\r\n  <PS><PL NM=\"List\">text &amp; more<IT A=\"0\"/></PL></PS>\r\n  <W";
    for (int i = 0; i < 24; ++i)
        doc += " n" + std::to_string(i) + "=\"value number " + std::to_string(i) + "\"";
    doc += "/>\r\n</UR>\r\n";
    ScratchFolder folder;
    CString path = folder.Path(L"playlist.xml");
    WriteFileBytes(path, doc);
    WIN32_FILE_ATTRIBUTE_DATA before = {};
    ASSERT_TRUE(GetFileAttributesExW(path, GetFileExInfoStandard, &before));

    int failures = 0;
    bool loaded = false;
    for (long n = 0; n < 100000 && !loaded; ++n)
    {
        FailAllocationAfter(n);
        std::unique_ptr<CXmlElement> root(XmlLoadFile(path, TRUE));
        bool failed = StopFailing();
        if (failed)
        {
            EXPECT_FALSE(root) << "a document was handed out though allocation " << n << " failed";
            ++failures;
        }
        else
        {
            ASSERT_TRUE(root);
            POSITION pos = root->GetFirstChildPosition();
            EXPECT_EQ(3, root->GetNextChild(pos)->GetChildCount());
            loaded = true;
        }
    }
    EXPECT_TRUE(loaded);
    EXPECT_GT(failures, 20);

    WIN32_FILE_ATTRIBUTE_DATA after = {};
    ASSERT_TRUE(GetFileAttributesExW(path, GetFileExInfoStandard, &after));
    EXPECT_EQ(doc, ReadFileBytes(path));
    EXPECT_EQ(0, CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime));
}
