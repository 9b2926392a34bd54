// Message maps: each class that handles messages has one static table of
// entries, chained to its base class's table. A window's messages are looked
// up from the most derived table down to CCmdTarget's; the first entry that
// matches calls the handler through the thunk that cracks the message's
// arguments for that handler signature.
//
//   class CMyWnd : public CWnd {
//       DECLARE_MESSAGE_MAP()
//   protected:
//       void OnPaint();
//       LRESULT OnMyMessage(WPARAM wParam, LPARAM lParam);
//   };
//   BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//       ON_WM_PAINT()
//       ON_MESSAGE(WM_USER + 1, &CMyWnd::OnMyMessage)
//   END_MESSAGE_MAP()
//
// Reflection: a parent first offers WM_COMMAND and WM_NOTIFY from a control,
// and the owner-draw, colour and scroll messages, to the control's own object
// (CWnd::OnChildNotify); the control handles them with the _REFLECT entries.
#pragma once
#include "FwObject.h"

class CWnd;
class CDC;
class CGdiObject;
class CMenu;

// The handle of a framework object, or NULL for a null pointer. Where a
// pointer may be null (an optional parent, font, brush or menu) this is the
// call to make: GetSafeHwnd and its kin are members and need an object.
// Defined after each class.
inline HWND FwSafeHandle(const CWnd* p);
inline HDC FwSafeHandle(const CDC* p);
inline HGDIOBJ FwSafeHandle(const CGdiObject* p);
inline HMENU FwSafeHandle(const CMenu* p);

class CCmdTarget;
class CWnd;
class CDC;
class CMenu;
class CScrollBar;
class CPoint;

typedef void (CCmdTarget::*AFX_PMSG)();
// Cracks the message for one handler signature and calls the handler. Returns
// FALSE only when the handler declines the message (the _EX entries).
typedef BOOL (*AFX_THUNK)(CCmdTarget* pTarget, AFX_PMSG pfn, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult);

// Reflected messages are looked up under this base plus the message number.
#define WM_REFLECT_BASE 0xBC00
// All WM_CTLCOLORxxx messages are looked up under this one key.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;         // message, WM_COMMAND, WM_NOTIFY, or WM_REFLECT_BASE + one of them
    UINT nCode;            // notification code of WM_COMMAND / WM_NOTIFY entries
    UINT nID;              // first command or control id
    UINT nLastID;          // last id of a range
    const UINT* pnMessage; // registered message: the variable holding its number
    AFX_THUNK pfnThunk;    // NULL ends the table
    AFX_PMSG pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Base of everything that has a message map; also carries the reference count
// that COM-style owners use (InternalAddRef / InternalRelease, OnFinalRelease).
class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() : m_dwRef(1) {}

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Looks up (nMessage, nCode, nID) in this object's maps, most derived
    // first, and calls the handler. TRUE when a handler took the message.
    BOOL DispatchMsgMap(UINT nMessage, UINT nCode, UINT nID, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* pResult);
    // Routes a command (menu, accelerator or control notification) to the
    // ON_COMMAND / ON_CONTROL entries of this object.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    // Reference count, starting at 1; the last release calls OnFinalRelease.
    LONG InternalAddRef() { return InterlockedIncrement(&m_dwRef); }
    LONG InternalRelease();
    LONG ExternalAddRef() { return InternalAddRef(); }
    LONG ExternalRelease() { return InternalRelease(); }
    virtual void OnFinalRelease() { delete this; }

    // Entry search used by the dispatcher (exposed for the skinning code).
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID);

    volatile LONG m_dwRef;
};

#define DECLARE_MESSAGE_MAP()                                                                                \
public:                                                                                                      \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                          \
    {                                                                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                                         \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    {0, 0, 0, 0, nullptr, nullptr, nullptr}                                                                  \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};            \
    return &messageMap;                                                                                      \
    }

// One thunk per handler signature (defined in FwMsgMap.cpp).
namespace FwThunk
{
#define FW_THUNK(name) BOOL name(CCmdTarget*, AFX_PMSG, UINT, WPARAM, LPARAM, LRESULT*)
FW_THUNK(Message);        // LRESULT f(WPARAM, LPARAM)
FW_THUNK(Void);           // void f()
FW_THUNK(BoolVoid);       // BOOL f()
FW_THUNK(HandleVoid);     // HCURSOR/HICON f()
FW_THUNK(LresultVoid);    // LRESULT f()
FW_THUNK(UintVoid);       // UINT f()
FW_THUNK(BoolDC);         // BOOL f(CDC*)
FW_THUNK(Timer);          // void f(UINT_PTR)
FW_THUNK(Size);           // void f(UINT, int, int)
FW_THUNK(Move);           // void f(int, int)
FW_THUNK(Create);         // int f(LPCREATESTRUCT)
FW_THUNK(NcCreate);       // BOOL f(LPCREATESTRUCT)
FW_THUNK(HitTest);        // LRESULT f(CPoint)
FW_THUNK(NcCalcSize);     // void f(BOOL, NCCALCSIZE_PARAMS*)
FW_THUNK(BoolBool);       // BOOL f(BOOL)
FW_THUNK(FlagsPoint);     // void f(UINT, CPoint)
FW_THUNK(Activate);       // void f(UINT, CWnd*, BOOL)
FW_THUNK(ActivateApp);    // void f(BOOL, DWORD)
FW_THUNK(SysCommand);     // void f(UINT, LPARAM)
FW_THUNK(HotKey);         // void f(UINT, UINT, UINT)
FW_THUNK(SetCursor);      // BOOL f(CWnd*, UINT, UINT)
FW_THUNK(MouseWheel);     // BOOL f(UINT, short, CPoint)
FW_THUNK(Scroll);         // void f(UINT, UINT, CScrollBar*)
FW_THUNK(WndFromW);       // void f(CWnd*) from wParam
FW_THUNK(WndFromL);       // void f(CWnd*) from lParam
FW_THUNK(ContextMenu);    // void f(CWnd*, CPoint)
FW_THUNK(MouseActivate);  // int f(CWnd*, UINT, UINT)
FW_THUNK(CtlColor);       // HBRUSH f(CDC*, CWnd*, UINT)
FW_THUNK(DrawItem);       // void f(int, LPDRAWITEMSTRUCT)
FW_THUNK(MeasureItem);    // void f(int, LPMEASUREITEMSTRUCT)
FW_THUNK(CompareItem);    // int f(int, LPCOMPAREITEMSTRUCT)
FW_THUNK(DeleteItem);     // void f(int, LPDELETEITEMSTRUCT)
FW_THUNK(ShowWindow);     // void f(BOOL, UINT)
FW_THUNK(Key);            // void f(UINT, UINT, UINT)
FW_THUNK(VoidBool);       // void f(BOOL)
FW_THUNK(SettingChange);  // void f(UINT, LPCTSTR)
FW_THUNK(InitMenuPopup);  // void f(CMenu*, UINT, BOOL)
FW_THUNK(MenuChar);       // LRESULT f(UINT, UINT, CMenu*)
FW_THUNK(StyleChanged);   // void f(int, LPSTYLESTRUCT)
FW_THUNK(Sizing);         // void f(UINT, LPRECT)
FW_THUNK(CopyData);       // BOOL f(CWnd*, COPYDATASTRUCT*)
FW_THUNK(DropFiles);      // void f(HDROP)
FW_THUNK(Command);        // void f()        ON_COMMAND, ON_CONTROL, ON_CONTROL_REFLECT
FW_THUNK(CommandEx);      // BOOL f()        ON_CONTROL_REFLECT_EX
FW_THUNK(CommandRange);   // void f(UINT)    ON_COMMAND_RANGE, ON_CONTROL_RANGE
FW_THUNK(Notify);         // void f(NMHDR*, LRESULT*)
FW_THUNK(NotifyEx);       // BOOL f(NMHDR*, LRESULT*)
FW_THUNK(NotifyRange);    // void f(UINT, NMHDR*, LRESULT*)
FW_THUNK(CtlColorReflect);     // HBRUSH f(CDC*, UINT)
FW_THUNK(DrawItemReflect);     // void f(LPDRAWITEMSTRUCT)
FW_THUNK(MeasureItemReflect);  // void f(LPMEASUREITEMSTRUCT)
FW_THUNK(CompareItemReflect);  // int f(LPCOMPAREITEMSTRUCT)
FW_THUNK(DeleteItemReflect);   // void f(LPDELETEITEMSTRUCT)
FW_THUNK(ScrollReflect);       // void f(UINT, UINT)
#undef FW_THUNK
} // namespace FwThunk

// Builds one entry. `sig` is the handler's type as a member of CWnd (or
// CCmdTarget): the static_cast checks the derived handler's signature.
#define FW_MSG_ENTRY(msg, code, id, lastId, thunk, sig, memberFxn)                                           \
    {(UINT)(msg),                                                                                            \
     (UINT)(code),                                                                                           \
     (UINT)(id),                                                                                             \
     (UINT)(lastId),                                                                                         \
     nullptr,                                                                                                \
     &FwThunk::thunk,                                                                                        \
     reinterpret_cast<AFX_PMSG>(static_cast<sig>(memberFxn))},
#define FW_WM(msg, thunk, sig, name) FW_MSG_ENTRY(msg, 0, 0, 0, thunk, sig, &ThisClass::name)

// User and registered messages.
#define ON_MESSAGE(message, memberFxn)                                                                       \
    FW_MSG_ENTRY(message, 0, 0, 0, Message, LRESULT (CWnd::*)(WPARAM, LPARAM), memberFxn)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                   \
    {0xC000,                                                                                                 \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     &nMessageVariable,                                                                                      \
     &FwThunk::Message,                                                                                      \
     reinterpret_cast<AFX_PMSG>(static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(memberFxn))},

// Commands and control notifications.
#define ON_COMMAND(id, memberFxn) FW_MSG_ENTRY(WM_COMMAND, 0, id, id, Command, void (CCmdTarget::*)(), memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                              \
    FW_MSG_ENTRY(WM_COMMAND, 0, id, idLast, CommandRange, void (CCmdTarget::*)(UINT), memberFxn)
#define ON_CONTROL(code, id, memberFxn)                                                                      \
    FW_MSG_ENTRY(WM_COMMAND, code, id, id, Command, void (CCmdTarget::*)(), memberFxn)
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                                                        \
    FW_MSG_ENTRY(WM_COMMAND, code, id, idLast, CommandRange, void (CCmdTarget::*)(UINT), memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

#define ON_NOTIFY(code, id, memberFxn)                                                                       \
    FW_MSG_ENTRY(WM_NOTIFY, code, id, id, Notify, void (CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                                         \
    FW_MSG_ENTRY(WM_NOTIFY, code, id, idLast, NotifyRange, void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*),    \
                 memberFxn)

// Notifications reflected back to the control that sent them.
#define ON_NOTIFY_REFLECT(code, memberFxn)                                                                   \
    FW_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, Notify, void (CCmdTarget::*)(NMHDR*, LRESULT*),   \
                 memberFxn)
// The handler returns FALSE to let the parent handle the notification too.
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)                                                                \
    FW_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, NotifyEx, BOOL (CCmdTarget::*)(NMHDR*, LRESULT*), \
                 memberFxn)
#define ON_CONTROL_REFLECT(code, memberFxn)                                                                  \
    FW_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, Command, void (CCmdTarget::*)(), memberFxn)
#define ON_CONTROL_REFLECT_EX(code, memberFxn)                                                               \
    FW_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, CommandEx, BOOL (CCmdTarget::*)(), memberFxn)
#define ON_WM_CTLCOLOR_REFLECT()                                                                             \
    FW_WM(WM_REFLECT_BASE + WM_CTLCOLOR, CtlColorReflect, HBRUSH (CWnd::*)(CDC*, UINT), CtlColor)
#define ON_WM_DRAWITEM_REFLECT()                                                                             \
    FW_WM(WM_REFLECT_BASE + WM_DRAWITEM, DrawItemReflect, void (CWnd::*)(LPDRAWITEMSTRUCT), DrawItem)
#define ON_WM_MEASUREITEM_REFLECT()                                                                          \
    FW_WM(WM_REFLECT_BASE + WM_MEASUREITEM, MeasureItemReflect, void (CWnd::*)(LPMEASUREITEMSTRUCT), MeasureItem)
#define ON_WM_COMPAREITEM_REFLECT()                                                                          \
    FW_WM(WM_REFLECT_BASE + WM_COMPAREITEM, CompareItemReflect, int (CWnd::*)(LPCOMPAREITEMSTRUCT), CompareItem)
#define ON_WM_DELETEITEM_REFLECT()                                                                           \
    FW_WM(WM_REFLECT_BASE + WM_DELETEITEM, DeleteItemReflect, void (CWnd::*)(LPDELETEITEMSTRUCT), DeleteItem)
#define ON_WM_HSCROLL_REFLECT()                                                                              \
    FW_WM(WM_REFLECT_BASE + WM_HSCROLL, ScrollReflect, void (CWnd::*)(UINT, UINT), HScroll)
#define ON_WM_VSCROLL_REFLECT()                                                                              \
    FW_WM(WM_REFLECT_BASE + WM_VSCROLL, ScrollReflect, void (CWnd::*)(UINT, UINT), VScroll)

// Window messages with cracked arguments.
#define ON_WM_PAINT() FW_WM(WM_PAINT, Void, void (CWnd::*)(), OnPaint)
#define ON_WM_NCPAINT() FW_WM(WM_NCPAINT, Void, void (CWnd::*)(), OnNcPaint)
#define ON_WM_ERASEBKGND() FW_WM(WM_ERASEBKGND, BoolDC, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_TIMER() FW_WM(WM_TIMER, Timer, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_SIZE() FW_WM(WM_SIZE, Size, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() FW_WM(WM_MOVE, Move, void (CWnd::*)(int, int), OnMove)
#define ON_WM_CREATE() FW_WM(WM_CREATE, Create, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_NCCREATE() FW_WM(WM_NCCREATE, NcCreate, BOOL (CWnd::*)(LPCREATESTRUCT), OnNcCreate)
#define ON_WM_DESTROY() FW_WM(WM_DESTROY, Void, void (CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() FW_WM(WM_NCDESTROY, Void, void (CWnd::*)(), OnNcDestroy)
#define ON_WM_CLOSE() FW_WM(WM_CLOSE, Void, void (CWnd::*)(), OnClose)
#define ON_WM_NCHITTEST() FW_WM(WM_NCHITTEST, HitTest, LRESULT (CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_NCCALCSIZE() FW_WM(WM_NCCALCSIZE, NcCalcSize, void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_NCACTIVATE() FW_WM(WM_NCACTIVATE, BoolBool, BOOL (CWnd::*)(BOOL), OnNcActivate)
#define ON_WM_NCLBUTTONDOWN() FW_WM(WM_NCLBUTTONDOWN, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() FW_WM(WM_NCLBUTTONUP, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK()                                                                              \
    FW_WM(WM_NCLBUTTONDBLCLK, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() FW_WM(WM_NCRBUTTONDOWN, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() FW_WM(WM_NCRBUTTONUP, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnNcRButtonUp)
#define ON_WM_NCMOUSEMOVE() FW_WM(WM_NCMOUSEMOVE, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnNcMouseMove)
#define ON_WM_NCMOUSELEAVE() FW_WM(WM_NCMOUSELEAVE, Void, void (CWnd::*)(), OnNcMouseLeave)
#define ON_WM_GETMINMAXINFO() FW_WM(WM_GETMINMAXINFO, PointerArg<MINMAXINFO>, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGING()                                                                            \
    FW_WM(WM_WINDOWPOSCHANGING, PointerArg<WINDOWPOS>, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED()                                                                             \
    FW_WM(WM_WINDOWPOSCHANGED, PointerArg<WINDOWPOS>, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_SIZING() FW_WM(WM_SIZING, Sizing, void (CWnd::*)(UINT, LPRECT), OnSizing)
#define ON_WM_MOVING() FW_WM(WM_MOVING, Sizing, void (CWnd::*)(UINT, LPRECT), OnMoving)
#define ON_WM_ENTERSIZEMOVE() FW_WM(WM_ENTERSIZEMOVE, Void, void (CWnd::*)(), OnEnterSizeMove)
#define ON_WM_EXITSIZEMOVE() FW_WM(WM_EXITSIZEMOVE, Void, void (CWnd::*)(), OnExitSizeMove)
#define ON_WM_ACTIVATE() FW_WM(WM_ACTIVATE, Activate, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ACTIVATEAPP() FW_WM(WM_ACTIVATEAPP, ActivateApp, void (CWnd::*)(BOOL, DWORD), OnActivateApp)
#define ON_WM_SYSCOMMAND() FW_WM(WM_SYSCOMMAND, SysCommand, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_HOTKEY() FW_WM(WM_HOTKEY, HotKey, void (CWnd::*)(UINT, UINT, UINT), OnHotKey)
#define ON_WM_QUERYDRAGICON() FW_WM(WM_QUERYDRAGICON, HandleVoid, HCURSOR (CWnd::*)(), OnQueryDragIcon)
#define ON_WM_QUERYOPEN() FW_WM(WM_QUERYOPEN, BoolVoid, BOOL (CWnd::*)(), OnQueryOpen)
#define ON_WM_SETCURSOR() FW_WM(WM_SETCURSOR, SetCursor, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_MOUSEMOVE() FW_WM(WM_MOUSEMOVE, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_LBUTTONDOWN() FW_WM(WM_LBUTTONDOWN, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() FW_WM(WM_LBUTTONUP, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() FW_WM(WM_LBUTTONDBLCLK, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() FW_WM(WM_RBUTTONDOWN, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() FW_WM(WM_RBUTTONUP, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() FW_WM(WM_RBUTTONDBLCLK, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() FW_WM(WM_MBUTTONDOWN, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() FW_WM(WM_MBUTTONUP, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() FW_WM(WM_MBUTTONDBLCLK, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnMButtonDblClk)
#define ON_WM_MOUSEWHEEL() FW_WM(WM_MOUSEWHEEL, MouseWheel, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_MOUSEHOVER() FW_WM(WM_MOUSEHOVER, FlagsPoint, void (CWnd::*)(UINT, CPoint), OnMouseHover)
#define ON_WM_MOUSELEAVE() FW_WM(WM_MOUSELEAVE, Void, void (CWnd::*)(), OnMouseLeave)
#define ON_WM_MOUSEACTIVATE()                                                                                \
    FW_WM(WM_MOUSEACTIVATE, MouseActivate, int (CWnd::*)(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_HSCROLL() FW_WM(WM_HSCROLL, Scroll, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() FW_WM(WM_VSCROLL, Scroll, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_SETFOCUS() FW_WM(WM_SETFOCUS, WndFromW, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() FW_WM(WM_KILLFOCUS, WndFromW, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_CAPTURECHANGED() FW_WM(WM_CAPTURECHANGED, WndFromL, void (CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_CONTEXTMENU() FW_WM(WM_CONTEXTMENU, ContextMenu, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_CTLCOLOR() FW_WM(WM_CTLCOLOR, CtlColor, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_DRAWITEM() FW_WM(WM_DRAWITEM, DrawItem, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() FW_WM(WM_MEASUREITEM, MeasureItem, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_COMPAREITEM() FW_WM(WM_COMPAREITEM, CompareItem, int (CWnd::*)(int, LPCOMPAREITEMSTRUCT), OnCompareItem)
#define ON_WM_DELETEITEM() FW_WM(WM_DELETEITEM, DeleteItem, void (CWnd::*)(int, LPDELETEITEMSTRUCT), OnDeleteItem)
#define ON_WM_SHOWWINDOW() FW_WM(WM_SHOWWINDOW, ShowWindow, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_CHAR() FW_WM(WM_CHAR, Key, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_KEYDOWN() FW_WM(WM_KEYDOWN, Key, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() FW_WM(WM_KEYUP, Key, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_SYSKEYDOWN() FW_WM(WM_SYSKEYDOWN, Key, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP() FW_WM(WM_SYSKEYUP, Key, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_SYSCHAR() FW_WM(WM_SYSCHAR, Key, void (CWnd::*)(UINT, UINT, UINT), OnSysChar)
#define ON_WM_ENABLE() FW_WM(WM_ENABLE, VoidBool, void (CWnd::*)(BOOL), OnEnable)
#define ON_WM_SETTINGCHANGE() FW_WM(WM_SETTINGCHANGE, SettingChange, void (CWnd::*)(UINT, LPCTSTR), OnSettingChange)
#define ON_WM_SYSCOLORCHANGE() FW_WM(WM_SYSCOLORCHANGE, Void, void (CWnd::*)(), OnSysColorChange)
#define ON_WM_THEMECHANGED() FW_WM(WM_THEMECHANGED, LresultVoid, LRESULT (CWnd::*)(), OnThemeChanged)
#define ON_WM_GETDLGCODE() FW_WM(WM_GETDLGCODE, UintVoid, UINT (CWnd::*)(), OnGetDlgCode)
#define ON_WM_CANCELMODE() FW_WM(WM_CANCELMODE, Void, void (CWnd::*)(), OnCancelMode)
#define ON_WM_INITMENUPOPUP()                                                                                \
    FW_WM(WM_INITMENUPOPUP, InitMenuPopup, void (CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUCHAR() FW_WM(WM_MENUCHAR, MenuChar, LRESULT (CWnd::*)(UINT, UINT, CMenu*), OnMenuChar)
#define ON_WM_STYLECHANGED() FW_WM(WM_STYLECHANGED, StyleChanged, void (CWnd::*)(int, LPSTYLESTRUCT), OnStyleChanged)
#define ON_WM_STYLECHANGING()                                                                                \
    FW_WM(WM_STYLECHANGING, StyleChanged, void (CWnd::*)(int, LPSTYLESTRUCT), OnStyleChanging)
#define ON_WM_COPYDATA() FW_WM(WM_COPYDATA, CopyData, BOOL (CWnd::*)(CWnd*, COPYDATASTRUCT*), OnCopyData)
#define ON_WM_DROPFILES() FW_WM(WM_DROPFILES, DropFiles, void (CWnd::*)(HDROP), OnDropFiles)
#define ON_WM_QUERYENDSESSION() FW_WM(WM_QUERYENDSESSION, BoolVoid, BOOL (CWnd::*)(), OnQueryEndSession)
#define ON_WM_ENDSESSION() FW_WM(WM_ENDSESSION, VoidBool, void (CWnd::*)(BOOL), OnEndSession)
