// Resource ids, grouped by what uses them.
#pragma once

// Icons
#define IDI_APP 147      // application, window classes, tray while running, About page
#define IDI_DESKTOP 148  // desktop toggle entry
#define IDI_CLOSE 149    // close-window and cancel entries
#define IDI_PAUSED 150   // tray while paused

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
