// What the song tests read back from the main window's song pane.
#pragma once
#include <string>

class CDlgMain;

// Song-list rows as "name:id:count|".
std::wstring ListRows(CDlgMain& main);
