// Resource ids of the window-layer tests.
#pragma once
#define IDD_TEST_FORM 200
#define IDC_TEST_NAME 201
#define IDC_TEST_COUNT 202
#define IDC_TEST_CHECK 203
#define IDD_TEST_MODELESS 210
#define IDC_TEST_LABEL 211
#define IDB_TEST_BITMAP 220
#define IDR_TEST_MENU 230
#define ID_TEST_ITEM1 231
#define ID_TEST_ITEM2 232
