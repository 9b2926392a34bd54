// CFloatToolbar: the tiny strip of 19-pixel buttons shown beside the mouse
// pointer over a row of the main window's song list: play the row, push it
// to a buddy or collect it, search it on the outside music site, open its
// message board. The song list hands it the row, shows it, asks whether the
// pointer is still over it and destroys it. One per process.
#pragma once
#include "ImageButton.h"
#include "SkinDialog.h"

// The row the toolbar acts on, as the song list gives it: the row's seven
// texts and its numbers (the fourth is the row's kind).
struct FloatToolbarRow
{
    CString texts[7];
    int numbers[6] = {0, 0, 0, 0, 0, 0};
    BOOL unplayable = FALSE;
    int Kind() const { return numbers[3]; }
};

class CFloatToolbar : public CSkinDialog
{
public:
    enum { BUTTON = 19, EDGE_ROOM = 81, TIMER_PLACE = 1, TIMER_DESTROY = 2 };
    // Row kinds that offer the second button.
    enum { KIND_PUSH = -1, KIND_COLLECT = 1 };

    static CFloatToolbar* GetInstance();
    static BOOL Exists();
    static void Destroy();

    int SetRow(const FloatToolbarRow& row, BYTE flag, int rowIndex, int textChoice);
    // Creates the window as a child of the list when it has none, then
    // places it at the pointer.
    int Show(CWnd* list);
    // Places the strip for a pointer position (screen coordinates).
    void PlaceAt(POINT pointer);
    int IsPointerOver();

    // What the buttons ask of the main window (tests replace them).
    struct Actions
    {
        BOOL (*isOwnLibraryShown)();
        void (*play)(CFloatToolbar* bar);
        void (*pushOrCollect)(CFloatToolbar* bar, BOOL push);
        void (*openBoard)(CFloatToolbar* bar);
        void (*openSearch)(const CString& url);
    };
    static Actions s_actions;

    // The text searched for: the second text, or the third when the text
    // choice is 1 and it is not empty.
    CString SearchText() const;
    // True when the push or collect button is shown.
    BOOL ShowsSecondButton() const;

    FloatToolbarRow m_row;
    BYTE m_flag;
    int m_nRowIndex;
    int m_nTextChoice;
    HWND m_hList;
    POINT m_lastPointer;
    CImageButton m_btnPlay, m_btnPush, m_btnSearch, m_btnBoard;

protected:
    CFloatToolbar();
    ~CFloatToolbar() override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    void PaintBackground(CDC* pDC);
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    void SetUpButton(CImageButton& button, UINT id, UINT bitmap, int x, LPCWSTR tip);
    CBitmap m_background;
    static CFloatToolbar* s_instance;
};

// The playlist.xml of a user: the own library for the signed-in user's
// e-mail, else the buddy's copy; "" when My Music cannot be found.
void GetPlaylistFilePath(LPCWSTR userId, CString& path);
