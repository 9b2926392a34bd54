#include "SongPaneRows.h"

#include "DlgMain.h"

#include <cstdio>

std::wstring ListRows(CDlgMain& main)
{
    std::wstring rows;
    for (int i = 0; i < main.m_listSongLists.GetItemCount(); ++i)
    {
        CDListItem* r = main.m_listSongLists.GetRow(i);
        wchar_t line[256];
        swprintf(line, 256, L"%ls:%d:%d|", (LPCWSTR)r->name, r->listId, r->songCount);
        rows += line;
    }
    return rows;
}
