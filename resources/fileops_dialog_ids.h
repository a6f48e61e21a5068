// Identifiers of the file operation dialogs' layouts and controls. Shared by the resource script
// and the program. The progress dialog's controls and the question buttons keep the values the
// copy engine knows them by (fileops/engine_types.h).
#pragma once

// Layouts
#define IDD_PROGRESS 32517        // "処理中", modeless
#define IDD_OVERWRITE 31000       // "上書き確認"
#define IDD_DELETE_CONFIRM 32515  // "削除確認", the question before a delete
#define IDD_READONLY 32518        // "削除確認", a read-only entry
#define IDD_ATTRIBUTES 30071      // "名前･日付･属性の変更", one entry
#define IDD_ATTRIBUTES_MANY 30072 // the same for several entries

// Progress dialog
#define IDC_PROGRESS_LABEL1 10001
#define IDC_PROGRESS_LABEL2 10002
#define IDC_PROGRESS_PATH 10003
#define IDC_PROGRESS_DEST 10004
#define IDC_PROGRESS_DONE 10005
#define IDC_PROGRESS_TOTAL 10006
#define IDC_PROGRESS_SLASH 10007
#define IDC_PROGRESS_GAUGE 101

// Questions: the name shown, and the buttons besides IDOK (Yes) and IDCANCEL
#define IDC_QUESTION_NAME 10003
#define IDC_OVERWRITE_NEWER 601
#define IDC_OVERWRITE_ALL 602
#define IDC_OVERWRITE_NO 603
#define IDC_READONLY_ALL 501
#define IDC_READONLY_NO 502

// Name, date and attributes
#define IDC_ATTR_ARCHIVE 701
#define IDC_ATTR_CURRENT 702
#define IDC_ATTR_DATE 703
#define IDC_ATTR_NAME 704
#define IDC_ATTR_HIDDEN 705
#define IDC_ATTR_TARGET 706
#define IDC_ATTR_READONLY 707
#define IDC_ATTR_SYSTEM 708
#define IDC_ATTR_TIME 709
#define IDC_ATTR_SIZE 30070
