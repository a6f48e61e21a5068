// The shell, common-dialog and network calls of the windows, their libraries loaded on first use
// (os/win32/late_library.h). Under Wine, merely importing shell32, comdlg32 and mpr made a
// window's start-up 70% slower than a bare program's, and nothing needs them before the window
// is up. Every call of theirs goes through here (the backend's own through late::); the program
// does not link them, so a direct call does not build. A function that cannot be had fails the
// way the call fails.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winnetwk.h>

namespace lazy {

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags);
LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA bi);
// Returns a value above 32 on success, SE_ERR_NOASSOC-like codes (or 0) on failure.
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                        LPCSTR directory, INT show);
HRESULT SHGetDesktopFolder(IShellFolder** folder);
HRESULT SHGetMalloc(IMalloc** malloc);
void DragAcceptFiles(HWND window, BOOL accept);
BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn);
DWORD WNetConnectionDialog(HWND owner, DWORD type);
DWORD WNetDisconnectDialog(HWND owner, DWORD type);
DWORD WNetGetConnectionA(LPCSTR local, LPSTR remote, LPDWORD size);

// Any other export of one of these libraries, typed by the caller; null when it cannot be had.
FARPROC Proc(const char* library, const char* name);

}  // namespace lazy
