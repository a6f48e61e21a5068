// Resource identifiers, named once. Shared by the resource script and the program.
#pragma once

// Bitmaps
#define IDB_SPLASH 500

// Cursors
#define IDC_HELPMODE 24000

// Menus
#define IDM_MAIN 100

// Icons: 1001 program (large), 1002-1009 placeholders and overlays, 1010 program (small)
#define IDI_PROGRAM 1001
#define IDI_FOLDER_LARGE 1002
#define IDI_EXE_LARGE 1003
#define IDI_DOC_LARGE 1004
#define IDI_LINK_LARGE 1005
#define IDI_FOLDER_SMALL 1006
#define IDI_EXE_SMALL 1007
#define IDI_DOC_SMALL 1008
#define IDI_LINK_SMALL 1009
#define IDI_PROGRAM_SMALL 1010

// Version resource
#define SORM_VERSION_MAJOR 1
#define SORM_VERSION_MINOR 0
// The same numbers as text, for the version resource's strings and the release's name.
#define SORM_TEXT2(x) #x
#define SORM_TEXT(x) SORM_TEXT2(x)
#define SORM_VERSION_TEXT SORM_TEXT(SORM_VERSION_MAJOR) "." SORM_TEXT(SORM_VERSION_MINOR)
