// Resource ids of Yeb360Update: its dialogs, controls, strings and artwork.
// The artwork block is kept by tools/make-art.py; the rest is edited here.
#pragma once

// Dialog templates
#define IDD_ABOUT                        100   // about box (system menu)
#define IDD_UPDATE                       102   // update dialog (CUpdateDlg)
#define IDD_UPDATE_MESSAGE               152   // message box (CUpdateMessageBox)

// Strings
#define IDS_ABOUTBOX                     101   // "关于 Yeb360Update(&A)..."

// System-menu command of the about box
#define IDM_ABOUTBOX                     0x0010

// Update dialog (IDD_UPDATE)
#define IDC_UPDATE_NOW                   1000
#define IDC_UPDATE_NOT_NOW               1001
#define IDC_UPDATE_PROGRESS              1002
#define IDC_UPDATE_MODULES               1004
#define IDC_UPDATE_STATUS                1007
#define IDC_UPDATE_LOG                   1012
#define IDC_UPDATE_PROGRESS_LABEL        1013
#define IDC_UPDATE_CLOSE                 1017
#define IDC_UPDATE_MODULES_LABEL         1018
#define IDC_UPDATE_MINIMISE              1019
#define IDC_UPDATE_DONT_REMIND           1020
#define IDC_UPDATE_DONT_REMIND_LABEL     1021

// Message box (IDD_UPDATE_MESSAGE)
#define IDC_MESSAGE_TEXT                 1136

// About box (IDD_ABOUT)
#define IDC_ABOUT_ICON                   1030
#define IDC_ABOUT_VERSION                1031

// BEGIN ARTWORK IDS (tools/make-art.py keeps this block)
// Bitmaps
#define IDB_FRAME_TOP_RIGHT              182   // frame top-right corner
#define IDB_FRAME_SIDE                   183   // frame left edge and right edge, tiled
#define IDB_FRAME_BOTTOM_LEFT            185   // frame bottom-left corner
#define IDB_FRAME_TOP_LEFT               186   // frame top-left corner, 60 x 29
#define IDB_FRAME_TOP                    187   // frame top edge, tiled
#define IDB_FRAME_BOTTOM_RIGHT           188   // frame bottom-right corner
#define IDB_FRAME_BOTTOM                 189   // frame bottom edge, tiled
#define IDB_PAGE_BTN_LEFT                194   // message box buttons: left caps (4 states)
#define IDB_PAGE_BTN_MIDDLE              195   // message box buttons: middle pieces (4 states)
#define IDB_PAGE_BTN_RIGHT               196   // message box buttons: right caps (4 states)
#define IDB_LOGIN_BTN_LEFT               216   // update buttons: left caps (4 states)
#define IDB_LOGIN_BTN_MIDDLE             217   // update buttons: middle pieces (4 states)
#define IDB_LOGIN_BTN_RIGHT              218   // update buttons: right caps (4 states)
#define IDB_UPDATE_FRAME_BOTTOM_LEFT     219   // frame bottom-left corner
#define IDB_UPDATE_BODY_PROGRESS         220   // update dialog body while updating (left piece, full width)
#define IDB_UPDATE_FRAME_TOP_LEFT        221   // frame top-left corner, update dialog
#define IDB_UPDATE_FRAME_BOTTOM          222   // frame bottom edge, tiled
#define IDB_UPDATE_FRAME_TOP             223   // frame top edge, tiled
#define IDB_UPDATE_FRAME_BOTTOM_RIGHT    224   // frame bottom-right corner
#define IDB_UPDATE_FRAME_RIGHT           225   // frame right edge, tiled
#define IDB_UPDATE_FRAME_TOP_RIGHT       226   // frame top-right corner
#define IDB_UPDATE_TITLE                 227   // update dialog title
#define IDB_BTN_UPDATE_MINIMISE          228   // update dialog minimise (4 states)
#define IDB_BTN_UPDATE_CLOSE             229   // update dialog close (4 states)
#define IDB_UPDATE_BODY                  230   // update dialog body (left piece, full width)
#define IDB_BTN_CLOSE_SMALL              354   // close (message box) (4 states)
// Icons
#define IDI_APP                          128   // program icon
#define IDI_APP_SMALL                    326   // small program icon, tray icon
// END ARTWORK IDS
