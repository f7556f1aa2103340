// Resource identifiers of VLConverter: dialog templates, their controls, icons and the bitmap. Included by
// VLConverter.rc and by the window code, so it holds nothing but numbers.
#pragma once

// Icons and bitmap.
#define IDI_PROGRAM 129  // the program file's icon (48, 32 and 16 pixels); the lowest icon id
#define IDI_WINDOW 134   // the windows' icon (32 pixels)
#define IDB_ABOUT 143    // the About dialog's picture (48 x 48 pixels)

// About dialog.
#define IDD_ABOUT 100
#define IDC_ABOUT_OK 1
#define IDC_ABOUT_CREDITS 1033
#define IDC_ABOUT_CONTACT 1034

// Main window.
#define IDD_MAIN 102
#define IDC_MAIN_CONVERT 1000
#define IDC_MAIN_ALL_HANDS 1001
#define IDC_MAIN_FIRST_HANDS 1002
#define IDC_MAIN_LAST_HANDS 1003
#define IDC_MAIN_HANDS_BETWEEN 1004
#define IDC_MAIN_FIRST_COUNT 1005
#define IDC_MAIN_LAST_COUNT 1006
#define IDC_MAIN_RANGE_MIN 1007
#define IDC_MAIN_RANGE_MAX 1008
#define IDC_MAIN_MAKE_6MAX 1009
#define IDC_MAIN_FIX_SMALL_BLIND 1010
#define IDC_MAIN_REAL_MONEY 1011
#define IDC_MAIN_SAVE_ALL_HOLE 1012
#define IDC_MAIN_MUCK_HANDS 1013
#define IDC_MAIN_BROWSE_INPUT 1014
#define IDC_MAIN_BROWSE_OUTPUT 1015
#define IDC_MAIN_INPUT_PATH 1016
#define IDC_MAIN_OUTPUT_PATH 1017
#define IDC_MAIN_EXIT 1018
#define IDC_MAIN_HAND_RANGE 1019
#define IDC_MAIN_ONE_FILE 1035
#define IDC_MAIN_SPLIT_FILES 1036
#define IDC_MAIN_FILE_COUNT 1037
#define IDC_MAIN_HANDS_PER_FILE 1038
#define IDC_MAIN_HANDS_PER_FILE_COUNT 1039
#define IDM_MAIN_ABOUT 16         // the system-menu item "&About VLConverter..."
#define IDM_MAIN_TRACKER_SAFE 32  // the system-menu check item "&Tracker-safe output"

// Progress dialog.
#define IDD_PROGRESS 138
#define IDC_PROGRESS_CANCEL 2
#define IDC_PROGRESS_BAR 1023
#define IDC_PROGRESS_STATUS 1024
