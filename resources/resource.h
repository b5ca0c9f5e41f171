// Resource ids of Quenvale. Dialog, control and string ids are fixed: the
// pages, the command line and peers such as the WM_USER answer rely on them.
#ifndef QUENVALE_RESOURCE_H
#define QUENVALE_RESOURCE_H

// Dialog templates
#define IDD_MAIN            101
#define IDD_FILE_ACCESS     102
#define IDD_BLOCK_ACCESS    103
#define IDD_GRAPH           123
#define IDD_QUICK_ACCESS    155
#define IDD_INFORMATION     164

// Icons
#define IDI_PROGRAM         108
#define IDI_DRIVE_RAM       113
#define IDI_DRIVE_REMOVABLE 114
#define IDI_DRIVE_FIXED     115
#define IDI_DRIVE_NETWORK   116
#define IDI_DRIVE_OPTICAL   117
#define IDI_DRIVE_TAPE      154
#define IDI_DRIVE_USB_BLUE  160
#define IDI_DRIVE_USB_AMBER 161
#define IDI_DRIVE_ISCSI     162
#define IDI_PAGE            163
#define IDI_TAB_QUICK       173
#define IDI_TAB_FILE        174
#define IDI_TAB_BLOCK       175
#define IDI_TAB_OPTIONS     176
#define IDI_MENU_READ       170
#define IDI_MENU_WRITE      171
#define IDI_MENU_DELETE     172

// Bitmaps
#define IDB_LOGO            177
#define IDB_LOGO_LARGE      179

// Menus and their commands
#define IDM_FILE_CONTEXT    131
#define ID_FILE_DELETE      40001
#define ID_FILE_READ_SPEED  40002
#define ID_FILE_WRITE_SPEED 40003

// Cursor
#define IDC_HAND_POINTER    127

// Data
#define IDR_SPLASH          150
#define IDR_NOTES           169

// Version resource
#define QV_VERSION_MAJOR    1
#define QV_VERSION_MINOR    0
#define QV_VERSION_TEXT     "1.00"

#endif
