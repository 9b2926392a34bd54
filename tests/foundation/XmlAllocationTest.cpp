// Loading under memory exhaustion: every allocation of the test program goes
// through the operator new below, which can be told to fail after a number of
// allocations, as a 32-bit process does when its address space is full.
// Whatever fails, the load reports it and the file on disk stays as it was.
#include "SongLibrary.h"
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

namespace
{

// A little of everything the parser and the library allocate for: long
// values, an element with enough attributes for an index, a repeated name,
// text, comments, nesting, a song without a hash, a playlist.
std::string LibraryDocument()
{
    std::string doc = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<UR>\r\n  <MD>\r\n";
    for (int i = 0; i < 3; ++i)
        doc += "    <MS A=\"" + std::to_string(i) + "\" B=\"D:\\Music\\A long folder name\\Track " +
               std::to_string(i) + ".mp3\" C=\"\xE6\xAD\x8C\xE6\x9B\xB2 title\" b=\"again\"" +
               (i ? " J=\"HASHHASHHASHHASHHASHHASHHASHHASH\"" : "") + "/>\r\n";
    doc += "  </MD>\r\n  <!-- lists -->\r\n  <PS><PL NM=\"List\">text &amp; more<IT A=\"0\"/></PL></PS>\r\n  <W";
    for (int i = 0; i < 24; ++i)
        doc += " n" + std::to_string(i) + "=\"value number " + std::to_string(i) + "\"";
    doc += "/>\r\n</UR>\r\n";
    return doc;
}

} // namespace

TEST(XmlAllocation, EveryFailedAllocationFailsTheLoadAndLeavesTheFileAlone)
{
    std::string doc = LibraryDocument();
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

TEST(XmlAllocation, SongLibraryLoadFailsCleanlyWhenAnyAllocationFails)
{
    std::string doc = LibraryDocument();
    ScratchFolder folder;
    CString path = folder.Path(L"playlist.xml");
    WriteFileBytes(path, doc);

    int failures = 0;
    bool loaded = false;
    for (long n = 0; n < 100000 && !loaded; ++n)
    {
        CSongLibrary library;
        CSongInfo kept;
        kept.SetId(L"kept");
        kept.SetPath(L"C:\\kept.mp3");
        library.AddSong(kept);

        FailAllocationAfter(n);
        HRESULT hr = library.LoadFromFile(path);
        bool failed = StopFailing();
        if (failed)
        {
            ++failures;
            EXPECT_TRUE(hr == E_INVALIDARG || hr == E_OUTOFMEMORY) << "allocation " << n << " gave " << hr;
            ASSERT_EQ(1, library.GetSongCount()) << "a failed load changed the library, allocation " << n;
            CSongInfo song;
            library.GetSongAt(0, song);
            EXPECT_STREQ(L"kept", song.GetId());
            EXPECT_EQ(0, library.GetPlaylistCount());
        }
        else
        {
            ASSERT_EQ(1, hr) << "the last element is no library section";
            EXPECT_EQ(3, library.GetSongCount());
            EXPECT_EQ(1, library.GetPlaylistCount());
            loaded = true;
        }
    }
    EXPECT_TRUE(loaded);
    EXPECT_GT(failures, 40);
    EXPECT_EQ(doc, ReadFileBytes(path));
}
