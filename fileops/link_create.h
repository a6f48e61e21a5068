// Making the program's own link files (.LFI) and the shell's shortcuts (.LNK), and changing the
// three keys of a link file. Names are numbered or counted up to the first free one; a name is
// free when opening it fails with "no such file".
#pragma once
#include <string>

namespace fileops {

// Makes a link file in directory ("%ld.LFI", the first free number from 0) whose "Link" is
// target as given, whose "Title" is title (or, when null, "<name><ext> へのリンク" of the
// final target after following a chain of link files) and whose "Current" is the final
// target's drive and directory with its backslash. 0 on success (made, when not null, gets the
// file's path); -1 "Link" could not be written, -2 "Title" or "Current" could not be
// written, -3 no free number. A partly written file is deleted again.
int CreateLinkFile(const char* target, const char* directory, const char* title,
                   std::string* made = nullptr);

// Write one key of a link file: 0, or -1 when the profile write fails. A name without drive
// or directory is taken in the process's current directory.
int WriteLinkTitle(const char* linkFile, const char* title);
int WriteLinkTarget(const char* linkFile, const char* target);
int WriteLinkWorkingDirectory(const char* linkFile, const char* directory);

// The name a shortcut to target gets: "<name>へのｼｮｰﾄｶｯﾄ" of its name without extension, or
// just that name when the target is itself a shortcut.
std::string ShortcutBaseName(const char* target);

// Makes a shortcut to target in directory (which ends in a backslash) named
// "<base>.LNK", or "<base> (n).LNK" with n = 2, 3, ... for the first free one, with the icon
// location (index 0), the base name as description and the working directory. 0 on success
// (made gets the path), -1 the shell link could not be made or saved, -3 no free name.
int CreateShortcut(const char* target, const char* directory, const char* iconLocation,
                   const char* workingDirectory, std::string* made = nullptr);

// The working directory a shortcut made by a link-mode drop gets: empty for a directory,
// else the dropped file's drive and directory without the trailing backslash (a root such as
// "C:\" keeps it).
std::string ShortcutWorkingDirectory(const char* droppedPath, bool isDirectory);

}  // namespace fileops
