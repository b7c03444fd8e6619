// Identifiers of tellu.exe's resources: dialogs, controls, pictures and strings.
// Shared by res/tellu.rc and the C++ front end, so only #define lines here.
#pragma once

// Dialogs
#define IDD_ABOUTBOX 100
#define IDD_TELLU_DIALOG 102
#define IDD_TRANSFER 115
#define IDD_MESSAGE_TABLE 131
#define IDD_LOG_WINDOW 134
#define IDD_SETTINGS 136
#define IDD_WHO_WINDOW 137
#define IDD_STARTUP_NOTICE 141

// Icons
#define IDI_TELLU 128
#define IDI_AWAY 155

// Cursors
#define IDC_HAND_OPEN 104
#define IDC_HAND_POINT 138

// Bitmaps
#define IDB_STARTUP 144
#define IDB_LOG_TILE 146
#define IDB_STATUS_NONE 150
#define IDB_STATUS_NORMAL 151
#define IDB_STATUS_AWAY 152
#define IDB_STATUS_ROM 156
#define IDB_STATUS_SECRET 157
#define IDB_STATUS_PHONE 158
#define IDB_STATUS_LOVE 160
#define IDB_STATUS_UNKNOWN 163
#define IDB_MIRABO 164
#define IDB_MIRABO_AWAY 165
#define IDB_MIRABO_ROM 166
#define IDB_MIRABO_SECRET 167
#define IDB_MIRABO_PHONE 168
#define IDB_MIRABO_HEART 169
#define IDB_STATUS_SLEEP 171

// String table (the system menu's texts and the information box's lines)
#define IDS_ABOUT 101
#define IDS_MESSAGE_TABLE 102
#define IDS_LOG 103
#define IDS_SETTINGS 104
#define IDS_WHO 105
#define IDS_AVATAR_CHANGE 106
#define IDS_FREE_MEMORY 107
#define IDS_DISK_SPACE 108
#define IDS_UNKNOWN 109
#define IDS_AVATAR_REQUEST 110
#define IDS_HELP 111

// About box (100)
#define IDC_ABOUT_HOMEPAGE 1029
#define IDC_ABOUT_INFO 1034

// Input bar (102); its hidden default button is IDOK
#define IDC_BAR_EDIT 1000
#define IDC_BAR_WHO 1001
#define IDC_BAR_MESSAGE_TABLE 1005
#define IDC_BAR_STATUS 1059

// Transfer progress (115); its cancel button is IDCANCEL
#define IDC_TRANSFER_MESSAGE 1001
#define IDC_TRANSFER_PROGRESS 1003
#define IDC_TRANSFER_PERCENT 1040
#define IDC_TRANSFER_FACE 1044

// Message table (131): buttons IDC_MESSAGE_FIRST .. IDC_MESSAGE_FIRST + 15
#define IDC_MESSAGE_FIRST 1001

// Log window (134): the placeholder is replaced by the text view of the same id
#define IDC_LOG_VIEW 134
#define IDC_LOG_FREEZE 1007
#define IDC_LOG_CLOSE 1008
#define IDC_LOG_WHISPER_ONLY 1011

// Settings (136)
#define IDC_SET_WHISPER_ON 1011
#define IDC_SET_WHISPER_TEXT 1012
#define IDC_SET_GREET_ON 1013
#define IDC_SET_GREET_TEXT 1014
#define IDC_SET_GREET_HANDLE 1015
#define IDC_SET_POSITION_SAVE 1017
#define IDC_SET_SAVE_NOW 1019
#define IDC_SET_MOST_TOP 1032
#define IDC_SET_IME_ON 1036
#define IDC_SET_FONT_SIZE 1048
#define IDC_SET_FONT 1049
#define IDC_SET_MUTE 1050
#define IDC_SET_MUTE_ADD 1051
#define IDC_SET_MUTE_DELETE 1052
#define IDC_SET_LOG_ON 1056
#define IDC_SET_REFUSE_ON 1057
#define IDC_SET_REFUSE_TEXT 1058
#define IDC_SET_LOG_FOLDER 1060

// Real-time Who window (137)
#define IDC_WHO_LIST 1024

// Startup notice (141)
#define IDC_NOTICE_TEXT 1038
