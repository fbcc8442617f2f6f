// The windows the popup offers: one pass over the top-level windows in Z order that keeps the
// ones a user can switch to, lists the last active popup of each application once, and records
// title, icon and show state. Also the executable path and the icon of a window.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "model/item_list.h"
#include "model/list_building.h"
#include "model/program_state.h"

namespace mw {

// A title or path buffer: 259 characters and the terminator.
constexpr int TextBufferLength = 260;

// How long one icon question may wait for a window's thread. A window that does not answer in
// time gives no icon from that source; it must never freeze the switcher.
constexpr UINT IconQueryTimeoutMs = 100;

// What the enumeration callback works on: the list being filled, the position number of the
// next accepted window (0 before each pass), the icon size of the design and the size in pixels
// the icons are drawn at (0: the design's size; more on a monitor of a higher DPI).
struct IconCache;

struct EnumerationContext {
    ItemList* list;
    int order;
    int iconSize;
    int iconPixels = 0;
    IconCache* iconCache = nullptr; // copies kept from the last open; null: every icon copied anew
    // The excluded titles, the path memo and the cloak query; null: nothing excluded, nothing
    // remembered, the system's query.
    ProgramState* program = nullptr;
};

// The enumeration callback; `context` points at an EnumerationContext. Returns FALSE only to
// stop the pass once the list holds ListCapacity entries.
BOOL CALLBACK EnumerateWindow(HWND window, LPARAM context);

// One pass over all top-level windows into `list` (normally empty), order counter from 0. With a
// cache, a window that still offers the icon it offered last time gets the copy kept from then,
// and every record's icon is lent from the cache until ReturnLentIcons.
// The program gives the excluded titles, the path memo and the cloak query of its services.
void EnumerateTopLevelWindows(ProgramState& program, ItemList& list, int iconSize, int iconPixels = 0,
                              IconCache* cache = nullptr);

// The icon of a window by the icon size rule (16: small icons, 32: big icons, 48 or more: the
// program's file icon only, anything else: none). `ownedByCaller` (required) tells whether the
// caller must destroy the icon: true for a file icon; window and class icons belong to the
// window. With `pixels` set and different from `size` (the design's size on a monitor of another
// DPI) the icon the rule picks is taken at `pixels` x `pixels`: a window or class icon is copied
// at that size from the image it was loaded from where the system still knows it (the copy is the
// caller's), and a file icon is extracted at that size.
// Program paths are remembered in `memo` when one is given.
// (The copy at another size: see ChooseScaledIconSource.)
HICON WindowIcon(HWND window, int size, bool* ownedByCaller, int pixels = 0, ProgramPathMemo* memo = nullptr);

// Where a window's or class's icon drawn at `pixels` (0: the design's `size`) comes from: the icon
// as it is at the design's size; else a copy read from the icon's resource when the system knows
// it (icons loaded as shared); else the program's file icon extracted at that size, and a
// stretched copy only when the program has no file icon.
enum class ScaledIconSource { AsItIs, Resource, ProgramFile };
ScaledIconSource ChooseScaledIconSource(int size, int pixels, bool resourceKnown);

// The full path of the executable of the process that owns `window`, into a buffer of
// TextBufferLength units; for a Store app's frame, the app's executable (system/frame_host.h). When it cannot
// be read the buffer holds the empty path and the result is false. Paths are remembered in `memo` (null: read
// every time).
bool ProgramPathOfWindow(ProgramPathMemo* memo, HWND window, wchar_t* buffer);

// The program paths of one list's windows, for ArrangeByProgram: ProgramPathOfWindow through the
// run's memo, each process asked once (reading a path opens the process). A Store app's frame is
// asked on its own: one host process draws the frames of many apps.
struct ListProgramPaths {
    ProgramPathMemo* memo = nullptr;
    std::vector<std::pair<DWORD, std::wstring>> known; // process, its path ("" when unknown)
};
ProgramPathLookup ListProgramPathLookup(ListProgramPaths& paths);

// Whether a module name of `length` units, as GetModuleFileNameExW reports it for a buffer of
// `bufferUnits`, is certainly whole. The call cuts a longer name without an error, and systems
// differ in whether the reported length then counts the terminator, so a length of
// bufferUnits - 1 or more may be a cut name.
bool ModuleNameIsWhole(DWORD length, DWORD bufferUnits);

// Program paths remembered by process: see ProgramPathMemo (model/program_state.h).
// The remembered path of the process, or null.
const std::wstring* FindProgramPath(const ProgramPathMemo& memo, DWORD processId, ULONGLONG created);
void RememberProgramPath(ProgramPathMemo& memo, DWORD processId, ULONGLONG created, const std::wstring& path);

// The title of a window into a buffer of TextBufferLength units (empty when it has none). Never
// waits on another thread of this process: a window of ours on a busy thread cannot hold the
// caller up.
void ReadWindowTitle(HWND window, wchar_t* buffer);

// Windows hidden by the desktop compositor (other virtual desktops, suspended store apps) are
// visible to the window manager but not on screen. The query is looked up at run time from
// dwmapi.dll; a failed query counts as not cloaked. `query` is the services' cloakQuery (tests
// put their own there); null is the system's function.
constexpr DWORD CloakedAttribute = 14; // DWMWA_CLOAKED
bool IsWindowCloaked(CloakQuery query, HWND window);

} // namespace mw
