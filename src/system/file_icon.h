// The icon that stands for a file system path: a program, a shortcut, a document of a registered
// type or a folder, extracted at an exact square size.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>

namespace mw {

// Longest path the lookup accepts, in characters, without the terminating zero.
constexpr int MaxIconPathLength = 259;

// How a shortcut's target is found: never a window, never a rewrite of the user's file, no
// search of the disks and no link tracking, and at most a short time (the high word, in
// milliseconds). Shortcuts are read at start-up, before the hook and the tray icon exist.
constexpr DWORD kShortcutResolveMilliseconds = 200;
constexpr DWORD kShortcutResolveFlags = static_cast<DWORD>(SLR_NO_UI) | static_cast<DWORD>(SLR_NOUPDATE) |
                                        static_cast<DWORD>(SLR_NOSEARCH) | static_cast<DWORD>(SLR_NOTRACK) |
                                        (kShortcutResolveMilliseconds << 16);

// The target path of a loaded shortcut, resolved by the rules above; empty when it has none.
std::wstring ShortcutPath(IShellLinkW& link);

// The target of the shortcut file `path`, resolved by the rules above; empty when the shortcut
// cannot be read or points at nothing.
std::wstring ShortcutTargetPath(const wchar_t* path);

// A new icon of size x size pixels that the caller owns, or null when none was found.
HICON FileIcon(const wchar_t* path, int size);

// Exactly one icon, the one at `index` of `file` (a negative index names a resource id), at
// size x size pixels; null when the file holds no icon there. The caller owns the icon.
HICON ExtractOneIcon(const wchar_t* file, int index, int size);

// The icon of a launcher entry at size x size: the stored choice (`iconFile` at `iconIndex`) when
// there is one, else whatever its path looks like. The caller owns the icon.
HICON LauncherEntryIcon(const std::wstring& path, const std::wstring& iconFile, int iconIndex, int size);

// Registry string data as read: `bytes` long, with or without a terminating zero. The text ends
// at the first zero or at the end of the data, whichever comes first; never reads beyond it.
std::wstring TextFromRegistryData(const BYTE* data, DWORD bytes);

// The extension of a path: the text from the last dot of the file-name part (after the last
// backslash or slash), dot included; empty when the file name has no dot.
std::wstring PathExtension(const wchar_t* path);

// An icon index written as text: leading blanks skipped, an optional sign, then decimal digits up
// to the first other character; 0 when there are none. Values beyond int are clamped.
int ParseIconIndex(const wchar_t* text);

// Splits a "DefaultIcon" value "file,index" at its last comma, looking from the last character
// down to the second. False when there is no such comma (the icon file would be empty).
bool SplitIconLocation(const std::wstring& value, std::wstring& file, int& index);

// The file part of a "DefaultIcon" value as a path: the quotes around it (or anywhere in it)
// and blanks at either end removed, then environment references such as %SystemRoot% expanded.
// A reference to a variable that is not set stays as written.
std::wstring IconFileOfLocation(const std::wstring& file);

} // namespace mw
