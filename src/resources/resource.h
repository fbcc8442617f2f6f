// Resource ids, grouped by what uses them.
#pragma once

// Icons
#define IDI_APP 147     // application, window classes, tray while running, About page
#define IDI_DESKTOP 148 // desktop toggle entry
#define IDI_CLOSE 149   // close-window and cancel entries
#define IDI_PAUSED 150  // tray while paused

// Tray menu
#define IDR_TRAYMENU 135
#define IDM_OPTIONS 32774
#define IDM_EXIT 32775
#define IDM_PAUSE 32778

// Options dialog and its pages
#define IDD_OPTIONS 154
#define IDD_PAGE_MOUSE 155
#define IDD_PAGE_GENERAL 161
#define IDD_PAGE_LAUNCHER 159
#define IDD_PAGE_ABOUT 102
#define IDD_LAUNCHER_PROPERTIES 160

#define IDC_STATIC_ANY (-1)

// Options dialog
#define IDC_OPTIONS_OK 1000
#define IDC_OPTIONS_TAB 1004

// Mouse page
#define IDC_MOUSE_TIMEOUT_EDIT 1003
#define IDC_MOUSE_LEFT_BUTTON 1005
#define IDC_MOUSE_RIGHT_BUTTON 1006
#define IDC_MOUSE_CANCEL_EDIT 1022
#define IDC_MOUSE_DETAILS 1025
#define IDC_MOUSE_RANGE_SLIDER 1027
#define IDC_MOUSE_TIMEOUT_UPDOWN 1030
#define IDC_MOUSE_TO_CENTER 1032
#define IDC_MOUSE_CLICK_MODE 1034
#define IDC_MOUSE_WHEEL_MODE 1035
#define IDC_MOUSE_EXPLANATION 1036
#define IDC_MOUSE_DETAILS_GROUP 1037
#define IDC_MOUSE_RANGE_LABEL 1038
#define IDC_MOUSE_RANGE_NONE 1039
#define IDC_MOUSE_RANGE_MAX 1040
#define IDC_MOUSE_TIMEOUT_LABEL 1041
#define IDC_MOUSE_SECONDS_LABEL 1042
#define IDC_MOUSE_TIMEOUT_NOTE 1043
#define IDC_MOUSE_CANCEL_UPDOWN 1046
#define IDC_MOUSE_PX_LABEL 1047
#define IDC_MOUSE_CANCEL_LABEL 1048

// General page
#define IDC_GENERAL_STANDARD_MODE 1005
#define IDC_GENERAL_CLICK_MODE 1006
#define IDC_GENERAL_STARTUP 1031
#define IDC_GENERAL_ADJUST_CURSOR 1032
#define IDC_GENERAL_MOVE_WINDOW 1033
#define IDC_GENERAL_REPLACE_ALTTAB 1044
#define IDC_GENERAL_TOGGLE_DESKTOP 1049
#define IDC_GENERAL_CANCEL 1050
#define IDC_GENERAL_FRAMES 1051
#define IDC_GENERAL_FRAMES_HIDE 1052
#define IDC_GENERAL_CLOSE_WINDOW 1055
#define IDC_GENERAL_LANGUAGE 1056
#define IDC_GENERAL_TYPE_TO_FILTER 1057
#define IDC_GENERAL_MIDDLE_CLOSE 1058
#define IDC_GENERAL_MONITOR_SCOPE 1059
#define IDC_GENERAL_FOLLOW_THEME 1061
#define IDC_GENERAL_PROGRAM_SCOPE_KEY 1062
#define IDC_GENERAL_QUIET_FULL_SCREEN 1063
#define IDC_GENERAL_EXCLUDE_LIST 1064
#define IDC_GENERAL_EXCLUDE_NAME 1065
#define IDC_GENERAL_EXCLUDE_ADD 1066
#define IDC_GENERAL_EXCLUDE_REMOVE 1067

// About page
#define IDC_ABOUT_ICON (-1)
#define IDC_ABOUT_VERSION 1001
#define IDC_ABOUT_ADDRESS 1003

// Program launcher page
#define IDC_LAUNCHER_ADD 1008
#define IDC_LAUNCHER_REMOVE 1009
#define IDC_LAUNCHER_PROPERTIES 1013
#define IDC_LAUNCHER_UP 1019
#define IDC_LAUNCHER_DOWN 1020
#define IDC_LAUNCHER_LIST 1028

// Launcher entry property dialog
#define IDC_PROPERTY_PATH 1003
#define IDC_PROPERTY_REVERT_ICON 1013
#define IDC_PROPERTY_NAME 1022
#define IDC_PROPERTY_COMMAND_LINE 1023
#define IDC_PROPERTY_WORK_FOLDER 1024
#define IDC_PROPERTY_CHOOSE_FOLDER 1025
#define IDC_PROPERTY_CHANGE_ICON 1054
#define IDC_PROPERTY_RAISE 1060

// Texts: every text the code shows comes from the string tables, in Japanese and English.
// Adding one takes two lines:
//   1. strings.inc: MW_TEXT(IDS_SOMETHING, <next free number of its group>, "日本語", "English")
//      (both string tables are made from that entry; %1..%9 mark what the code fills in);
//   2. the code: LoadText(IDS_SOMETHING) or FormatText(IDS_SOMETHING, {value, ...}) from
//      platform/resources_lang.h.
// The table test checks that every entry has both languages, not empty, and no number twice.
#ifndef RC_INVOKED
enum TextId : unsigned {
#define MW_TEXT(name, number, japanese, english) name = number,
#include "strings.inc"
#undef MW_TEXT
};

// Every text id, for the tests that go through them all.
inline constexpr unsigned kAllTextIds[] = {
#define MW_TEXT(name, number, japanese, english) number,
#include "strings.inc"
#undef MW_TEXT
};
#endif
