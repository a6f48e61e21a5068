// Identifiers of the input dialogs' layouts and controls. Shared by the resource script and the
// program.
#pragma once

// Layouts
#define IDD_INPUT 31050         // one drop-down entry field with its history
#define IDD_INPUT_BROWSE 30080  // the same with a browse button
#define IDD_KEYIN_MASK 4        // mask menu entry: title and file mask
#define IDD_KEYIN_RUN 5         // run menu entry: title and command, with a browse button

// Controls of 31050 and 30080
#define IDC_INPUT_COMBO 31051
#define IDC_INPUT_PROMPT 31052
#define IDC_INPUT_BROWSE 30011

// Controls of 4 and 5
#define IDC_KEYIN_TITLE 6
#define IDC_KEYIN_VALUE 7
#define IDC_KEYIN_BROWSE 8
