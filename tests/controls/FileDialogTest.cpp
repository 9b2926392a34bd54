// The multi-select file dialog's own name list.
#include "FECFileDialog.h"

#include <gtest/gtest.h>

namespace
{
std::vector<CString> NamesOf(const std::vector<wchar_t>& list)
{
    std::vector<CString> names;
    for (size_t i = 0; i < list.size() && list[i];)
    {
        CString name(&list[i]);
        names.push_back(name);
        i += name.GetLength() + 1;
    }
    return names;
}
} // namespace

TEST(FECFileDialog, NameListConversion)
{
    struct Case { const wchar_t* spec; std::vector<CString> names; } cases[] = {
        {L"\"a.mp3\" \"b c.mp3\" \"d.wma\"", {L"a.mp3", L"b c.mp3", L"d.wma"}},
        {L"\"only.mp3\"", {L"only.mp3"}},
        {L"unquoted.mp3", {}},
        {L"", {}},
    };
    for (const Case& c : cases)
    {
        std::vector<wchar_t> list = CFECFileDialog::ConvertNameList(c.spec);
        ASSERT_GE(list.size(), 1u);
        EXPECT_EQ(L'\0', list.back());
        EXPECT_EQ(c.names, NamesOf(list)) << (const wchar_t*)c.spec;
    }
}

TEST(FECFileDialog, OwnBuffersGiveFolderAndNamePaths)
{
    CFECFileDialog dialog(TRUE, NULL, NULL, OFN_ALLOWMULTISELECT);
    const wchar_t spec[] = L"\"one.mp3\" \"two.mp3\"";
    dialog.m_names.assign(spec, spec + wcslen(spec) + 1);
    const wchar_t folder[] = L"C:\\Music";
    dialog.m_folder.assign(folder, folder + wcslen(folder) + 1);
    POSITION pos = dialog.GetStartPosition();
    ASSERT_NE(nullptr, pos);
    EXPECT_EQ(CString(L"C:\\Music\\one.mp3"), dialog.GetNextPathName(pos));
    ASSERT_NE(nullptr, pos);
    EXPECT_EQ(CString(L"C:\\Music\\two.mp3"), dialog.GetNextPathName(pos));
    EXPECT_EQ(nullptr, pos);
    // Asking again reads the converted list, not a second conversion of it.
    pos = dialog.GetStartPosition();
    EXPECT_EQ(CString(L"C:\\Music\\one.mp3"), dialog.GetNextPathName(pos));
}
