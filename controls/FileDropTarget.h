// CFileDropTarget: lets the song pane's two lists take files and folders
// dragged from the shell. It accepts the shell's file list, follows shortcuts,
// refuses the reserved song lists and other users' libraries, marks the row
// under the mouse, shows the shell's drag image, and on a drop runs the
// import tip and uploads the changed song lists.
#pragma once
#include "MainWindowLink.h"

#include <oleidl.h>
#include <shobjidl.h>

// The effect a drop would have (DROPEFFECT_NONE, DROPEFFECT_COPY, ...).
typedef DWORD DROPEFFECT;

class CFileDropTarget : public IDropTarget
{
public:
    enum { MODE_SONGS = 0, MODE_SONG_LISTS = 1 };

    CFileDropTarget(CDropListCtrl* pOwner, int nMode);
    virtual ~CFileDropTarget();

    // RegisterDragDrop / RevokeDragDrop for a window.
    BOOL Register(CWnd* pWnd);
    void Revoke();

    DROPEFFECT OnDragEnter(CWnd* pWnd, IDataObject* pData, DWORD dwKeyState, CPoint point);
    DROPEFFECT OnDragOver(CWnd* pWnd, IDataObject* pData, DWORD dwKeyState, CPoint point);
    void OnDragLeave(CWnd* pWnd);
    BOOL OnDrop(CWnd* pWnd, IDataObject* pData, DROPEFFECT dropEffect, CPoint point);

    // The check of the dragged names: TRUE to accept.
    BOOL CheckFiles(IDataObject* pData);
    // The target of a shell shortcut; "" when path is empty, not a shortcut,
    // or cannot be resolved.
    static CString ResolveShortcut(const CString& path);

    // IUnknown and IDropTarget
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP DragEnter(IDataObject* pData, DWORD keys, POINTL pt, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* pData, DWORD keys, POINTL pt, DWORD* effect) override;

    CDropListCtrl* m_pOwner;
    int m_nMode;
    IDropTargetHelper* m_pHelper;
    BOOL m_bHelper;

private:
    static BOOL OffersFiles(IDataObject* pData);
    // The shell's drag picture helper, made at the first drag over the list.
    void MakeHelper();
    BOOL m_bHelperTried = FALSE;
    LONG m_refs;
    HWND m_hRegistered;
    IDataObject* m_pDragData; // the data of the drag in progress (not owned)
};
