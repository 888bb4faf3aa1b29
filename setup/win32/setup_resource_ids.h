// Resource ids of the setup tool (Ruddock.exe, Ruddset.exe): the About box, the
// main dialog and its controls, the icon, the system menu's About text, and the
// embedded files. Plain #defines: windres reads this file too.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETUP_MAIN 102
#define IDR_MAINFRAME 128

// The system menu item that opens the About box (a system command id: its low
// four bits are the system's).
#define IDM_ABOUTBOX 0x0010

// Main dialog controls.
#define IDC_RADIO_TVN 1000
#define IDC_RADIO_QLN 1001
#define IDC_BTN_TEST 1002
#define IDC_BTN_UNINSTALL 1003
#define IDC_BTN_INSTALL 1004
#define IDC_BTN_CONFIG 1005
#define IDC_STATIC_OSLINE 1006
#define IDC_PROGRESS 1007
#define IDC_STATIC_OS 1010
#define IDC_STATIC_PWL 1011
#define IDC_STATIC_COMPLETE 1012
#define IDC_STATIC_PRINTERTYPE 1013
#define IDC_LANGUAGE 1014
#define IDC_STATIC_OP 1015
