// Identifiers of the settings dialogs' layouts and controls. Shared by the resource script and
// the program.
#pragma once

// Layouts
#define IDD_TOOLBAR_EDIT 1     // toolbar buttons
#define IDD_MASK_MENU_EDIT 2   // mask menu items
#define IDD_RUN_MENU_EDIT 3    // run menu items
#define IDD_COLOURS 7          // the seven colours of a pane
#define IDD_VIEW_DATA 30054    // shown columns, hidden files and types
#define IDD_BARS 30055         // toolbar and status bar
#define IDD_ICON_SPACING 30085 // icon spacing

// Toolbar editor (1) and menu editors (2, 3)
#define IDC_LIST_ADD 901       // 1: add; 2, 3: new
#define IDC_LIST_REMOVE 902    // 1: remove; 2, 3: change
#define IDC_TOOLBAR_LIST 903   // 1: the toolbar's buttons
#define IDC_LIST_904 904       // 1: up; 2, 3: delete
#define IDC_LIST_905 905       // 1: down; 2, 3: up
#define IDC_LIST_DOWN 906      // 2, 3: down
#define IDC_LIST_LABEL 907     // 2, 3: the titles' label
#define IDC_LIST_908 908       // 1: available buttons; 2, 3: the titles

// Colours (7): one button per slot
#define IDC_COLOUR_TEXT 101
#define IDC_COLOUR_HIDDEN 102
#define IDC_COLOUR_READONLY 103
#define IDC_COLOUR_SYSTEM 104
#define IDC_COLOUR_BACKGROUND 105
#define IDC_COLOUR_SELECTED 106
#define IDC_COLOUR_FOCUS 108

// View data (30054)
#define IDC_VIEW_SIZE 30056
#define IDC_VIEW_ATTRIBUTES 30057
#define IDC_VIEW_TIME 30058
#define IDC_VIEW_DATE 30059
#define IDC_VIEW_HIDDEN_TYPES 30060
#define IDC_VIEW_SHOW_HIDDEN 30068

// Bars (30055)
#define IDC_BARS_STATUS 30060
#define IDC_BARS_BOTTOM 30061
#define IDC_BARS_LEFT 30062
#define IDC_BARS_RIGHT 30063
#define IDC_BARS_TOP 30064
#define IDC_BARS_TOOLBAR 30065

// Icon spacing (30085)
#define IDC_SPACING_X 101
#define IDC_SPACING_Y 102
#define IDC_SPACING_ADJUST 103
