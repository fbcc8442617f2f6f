#include "system/window_list.h"

#include "platform/process_info.h"

#include <psapi.h>

#include "model/exclude_set.h"
#include "system/frame_host.h"
#include "system/file_icon.h"
#include "model/icon_cache.h"
#include "platform/system_library.h"
#include "platform/unique_handle.h"

namespace mw {

namespace {

// The compositor's attribute query, looked up once. dwmapi.dll is taken from the system folder
// by full path and stays loaded for the rest of the run.
CloakQuery SystemCloakQuery() {
    static const CloakQuery query = []() -> CloakQuery {
        HMODULE dwm = LoadSystemLibrary(L"dwmapi.dll");
        if (!dwm)
            return nullptr;
        return reinterpret_cast<CloakQuery>(
            reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")));
    }();
    return query;
}

// Asks a window for its icon without waiting on a thread that does not answer. Returns false
// when the window gave no answer in time (then `icon` is null).
bool QueryWindowIcon(HWND window, WPARAM which, HICON* icon) {
    DWORD_PTR result = 0;
    *icon = nullptr;
    if (!SendMessageTimeoutW(window, WM_GETICON, which, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, IconQueryTimeoutMs,
                             &result)) {
        return false;
    }
    *icon = reinterpret_cast<HICON>(result);
    return true;
}

HICON ClassIcon(HWND window, int index) {
    return reinterpret_cast<HICON>(GetClassLongPtrW(window, index));
}

bool FullAccessPath(DWORD processId, wchar_t* buffer) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process)
        return false;
    // The first module of a process is its executable. When the modules cannot be listed, a null
    // module asks for the executable just the same.
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process.get(), &module, sizeof module, &needed))
        module = nullptr;
    // One unit more than the path may have, so that a path of TextBufferLength - 1 units still
    // reads as whole; a longer one (cut short, it would group and find icons wrongly) is refused.
    wchar_t name[TextBufferLength + 1] = {};
    const DWORD length = GetModuleFileNameExW(process.get(), module, name, TextBufferLength + 1);
    if (!ModuleNameIsWhole(length, TextBufferLength + 1))
        return false;
    lstrcpynW(buffer, name, TextBufferLength);
    return true;
}

// Processes of other users or of higher integrity refuse the full mask but still tell their
// image name to a limited query.
bool LimitedAccessPath(DWORD processId, wchar_t* buffer) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return false;
    DWORD length = TextBufferLength;
    if (!QueryFullProcessImageNameW(process.get(), 0, buffer, &length))
        return false;
    return length > 0;
}

} // namespace

bool ModuleNameIsWhole(DWORD length, DWORD bufferUnits) {
    return length > 0 && bufferUnits >= 2 && length <= bufferUnits - 2;
}

const std::wstring* FindProgramPath(const ProgramPathMemo& memo, DWORD processId, ULONGLONG created) {
    for (const auto& entry : memo.entries) {
        if (entry.processId == processId && entry.created == created)
            return &entry.path;
    }
    return nullptr;
}

void RememberProgramPath(ProgramPathMemo& memo, DWORD processId, ULONGLONG created,
                         const std::wstring& path) {
    for (auto& entry : memo.entries) {
        if (entry.processId == processId && entry.created == created) {
            entry.path = path;
            entry.checkedInPass = memo.pass;
            return;
        }
    }
    if (memo.entries.size() >= ProgramPathMemo::Capacity)
        memo.entries.erase(memo.entries.begin());
    memo.entries.push_back({processId, created, path, memo.pass});
}

namespace {

// The path remembered for the process, checked earlier in the pass under way; null outside a pass.
const std::wstring* CheckedInThisPass(const ProgramPathMemo& memo, DWORD processId) {
    if (memo.pass == 0)
        return nullptr;
    for (const auto& entry : memo.entries) {
        if (entry.processId == processId && entry.checkedInPass == memo.pass)
            return &entry.path;
    }
    return nullptr;
}

} // namespace

bool IsWindowCloaked(CloakQuery override, HWND window) {
    CloakQuery query = override ? override : SystemCloakQuery();
    if (!query)
        return false;
    DWORD cloaked = 0;
    if (FAILED(query(window, CloakedAttribute, &cloaked, sizeof cloaked)))
        return false;
    return cloaked != 0;
}

void ReadWindowTitle(HWND window, wchar_t* buffer) {
    buffer[0] = L'\0';
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(window, &processId);
    if (threadId == 0)
        return;
    // For a window of this process GetWindowTextW sends WM_GETTEXT and would wait for as long as
    // the window's thread is busy. Other threads of ours get the stored text instead; windows of
    // other processes and of this thread are read the ordinary way.
    if (processId == GetCurrentProcessId() && threadId != GetCurrentThreadId()) {
        InternalGetWindowText(window, buffer, TextBufferLength);
    } else {
        GetWindowTextW(window, buffer, TextBufferLength);
    }
    buffer[TextBufferLength - 1] = L'\0';
}

namespace {

bool ProcessPathOfWindow(ProgramPathMemo* memo, HWND window, wchar_t* buffer);

} // namespace

bool ProgramPathOfWindow(ProgramPathMemo* memo, HWND window, wchar_t* buffer) {
    if (!ProcessPathOfWindow(memo, window, buffer))
        return false;
    // A Store app's frame: the program is the app that draws inside it.
    if (IsFrameHostProgram(buffer)) {
        DWORD frameProcess = 0, contentProcess = 0;
        GetWindowThreadProcessId(window, &frameProcess);
        HWND content = ForeignContentWindow(window, &contentProcess);
        HWND source = ProgramWindowOfFrame(window, buffer, frameProcess, content, contentProcess);
        wchar_t appPath[TextBufferLength];
        if (source != window && ProcessPathOfWindow(memo, source, appPath))
            lstrcpynW(buffer, appPath, TextBufferLength);
    }
    return true;
}

namespace {

bool FindListProgramPath(void* context, HWND window, wchar_t* buffer) {
    auto& paths = *static_cast<ListProgramPaths*>(context);
    DWORD processId = 0, contentProcess = 0;
    GetWindowThreadProcessId(window, &processId);
    if (ForeignContentWindow(window, &contentProcess))
        processId = 0;
    for (const auto& [process, path] : paths.known) {
        if (processId != 0 && process == processId) {
            lstrcpynW(buffer, path.c_str(), TextBufferLength);
            return !path.empty();
        }
    }
    const bool found = ProgramPathOfWindow(paths.memo, window, buffer);
    if (processId != 0)
        paths.known.emplace_back(processId, found ? buffer : L"");
    return found;
}

} // namespace

ProgramPathLookup ListProgramPathLookup(ListProgramPaths& paths) {
    return ProgramPathLookup{FindListProgramPath, &paths};
}

namespace {

// The executable of the process that owns `window` itself.
bool ProcessPathOfWindow(ProgramPathMemo* memo, HWND window, wchar_t* buffer) {
    buffer[0] = L'\0';
    DWORD processId = 0;
    if (!window || GetWindowThreadProcessId(window, &processId) == 0 || processId == 0)
        return false;
    if (memo) {
        if (const std::wstring* known = CheckedInThisPass(*memo, processId)) {
            lstrcpynW(buffer, known->c_str(), TextBufferLength);
            return true;
        }
    }
    const ULONGLONG created = ProcessCreationTime(processId);
    if (memo && created != 0) {
        if (const std::wstring* known = FindProgramPath(*memo, processId, created)) {
            lstrcpynW(buffer, known->c_str(), TextBufferLength);
            RememberProgramPath(*memo, processId, created, buffer); // checked in this pass
            return true;
        }
    }
    if (FullAccessPath(processId, buffer) || LimitedAccessPath(processId, buffer)) {
        buffer[TextBufferLength - 1] = L'\0';
        if (memo && created != 0)
            RememberProgramPath(*memo, processId, created, buffer);
        return true;
    }
    // A path that cannot be read is the empty path: no file icon, grouped with the other unknowns.
    buffer[0] = L'\0';
    return false;
}

} // namespace

namespace {

// Whether the system still knows the resource an icon was loaded from, so that a copy at another
// size can be read from it: icons loaded as shared. Other programs' own icons usually are not.
bool IconKnowsItsResource(HICON icon) {
    ICONINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetIconInfoExW(icon, &info))
        return false;
    UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    return info.szModName[0] != L'\0' && (info.wResID != 0 || info.szResName[0] != L'\0');
}

// A window's or class's icon at another size, never the 32-pixel image enlarged where a better
// one can be had: the copy comes from the icon's own resource when the system kept track of it,
// else the program's file icon is extracted at that size.
HICON BorrowedIconAt(HWND window, HICON icon, int size, int pixels, bool* ownedByCaller,
                     ProgramPathMemo* memo) {
    const bool resource = pixels > 0 && pixels != size && IconKnowsItsResource(icon);
    HICON file = nullptr;
    wchar_t path[TextBufferLength];
    const ScaledIconSource source = ChooseScaledIconSource(size, pixels, resource);
    if (source == ScaledIconSource::ProgramFile && ProgramPathOfWindow(memo, window, path))
        file = FileIcon(path, pixels);
    if (file) {
        *ownedByCaller = true;
        return file;
    }
    if (source == ScaledIconSource::AsItIs)
        return icon;
    HICON copy = static_cast<HICON>(CopyImage(
        icon, IMAGE_ICON, pixels, pixels, source == ScaledIconSource::Resource ? LR_COPYFROMRESOURCE : 0));
    if (!copy)
        return icon; // drawn stretched rather than not at all
    *ownedByCaller = true;
    return copy;
}

} // namespace

ScaledIconSource ChooseScaledIconSource(int size, int pixels, bool resourceKnown) {
    if (pixels <= 0 || pixels == size)
        return ScaledIconSource::AsItIs;
    return resourceKnown ? ScaledIconSource::Resource : ScaledIconSource::ProgramFile;
}

namespace {

HICON WindowOrClassIcon(HWND window, WPARAM which, int classIndex) {
    HICON icon = nullptr;
    bool answered = QueryWindowIcon(window, which, &icon);
    if (icon)
        return icon;
    if ((icon = ClassIcon(window, classIndex)))
        return icon;
    if (HWND owner = GetWindow(window, GW_OWNER)) {
        // An owner on the thread that just failed to answer would only make us wait again.
        bool sameSilentThread = !answered && GetWindowThreadProcessId(owner, nullptr) ==
                                                 GetWindowThreadProcessId(window, nullptr);
        if (!sameSilentThread && QueryWindowIcon(owner, which, &icon) && icon)
            return icon;
        if ((icon = ClassIcon(owner, classIndex)))
            return icon;
    }
    return nullptr;
}

} // namespace

namespace {

constexpr wchar_t kAppsFolderPrefix[] = L"shell:AppsFolder\\";

// The AppUserModelID of a Store app's frame; empty for every other window (most have no content
// child of another process, which is looked at first because it costs the least).
std::wstring StoreAppIdOfFrame(HWND window, ProgramPathMemo* memo) {
    DWORD contentProcess = 0;
    if (!ForeignContentWindow(window, &contentProcess))
        return std::wstring();
    wchar_t path[TextBufferLength];
    if (!ProcessPathOfWindow(memo, window, path) || !IsFrameHostProgram(path))
        return std::wstring();
    return AppUserModelIdOfWindow(window);
}

// Which message and class field the icon size rule reads; false for a size the rule does not know.
bool IconQueryFor(int size, WPARAM* which, int* classIndex) {
    if (size == 16) {
        *which = ICON_SMALL;
        *classIndex = GCLP_HICONSM; // GCL_HICONSM of 32-bit builds
    } else if (size == 32) {
        *which = ICON_BIG;
        *classIndex = GCLP_HICON; // GCL_HICON of 32-bit builds
    } else if (size >= 48) {
        *which = 0;
        *classIndex = 0; // the program's file icon only
    } else {
        return false;
    }
    return true;
}

// The icon size rule, written once for a record's icon and for WindowIcon: a Store app's own
// picture, else the window's or its class's icon, else the program's file icon. `origin` says
// where the icon came from; with `cache` a copy kept for the same window, source and size (or the
// same program's file icon at the same size) is taken instead of copying again.
// `ownedByCaller` tells whether the icon is the caller's to destroy.
HICON IconByRule(HWND window, int size, int pixels, IconCache* cache, IconOrigin& origin,
                 ProgramPathMemo* memo, bool* ownedByCaller) {
    *ownedByCaller = false;
    WPARAM which;
    int classIndex;
    if (!IconQueryFor(size, &which, &classIndex))
        return nullptr;
    origin.window = window;
    origin.size = pixels > 0 ? pixels : size;
    // A Store app's frame shows the app's own picture, kept like a file icon under the app's name.
    const std::wstring appId = StoreAppIdOfFrame(window, memo);
    if (!appId.empty()) {
        origin.path = kAppsFolderPrefix + appId;
        HICON icon = cache ? TakeFileIcon(*cache, origin.path, origin.size) : nullptr;
        if (!icon)
            icon = AppsFolderIcon(appId, origin.size);
        if (icon) {
            *ownedByCaller = true;
            return icon;
        }
        origin.path.clear();
    }
    if (classIndex != 0) {
        if (HICON source = WindowOrClassIcon(window, which, classIndex)) {
            origin.source = source;
            if (cache) {
                if (HICON kept = TakeWindowIcon(*cache, window, source, origin.size)) {
                    *ownedByCaller = true;
                    return kept;
                }
            }
            return BorrowedIconAt(window, source, size, pixels, ownedByCaller, memo);
        }
    }
    wchar_t path[TextBufferLength];
    if (!ProgramPathOfWindow(memo, window, path))
        return nullptr;
    origin.path = path;
    if (cache) {
        if (HICON kept = TakeFileIcon(*cache, origin.path, origin.size)) {
            *ownedByCaller = true;
            return kept;
        }
        if (KnownWithoutFileIcon(*cache, origin.path, origin.size))
            return nullptr;
    }
    HICON icon = FileIcon(path, origin.size);
    if (!icon && cache)
        KeepWithoutFileIcon(*cache, origin.path, origin.size);
    *ownedByCaller = icon != nullptr;
    return icon;
}

// The icon a window's record owns: a window's or class's icon is copied, as the record keeps it.
HICON RecordIcon(HWND window, int size, int pixels, IconCache* cache, IconOrigin& origin,
                 ProgramPathMemo* memo) {
    bool owned = false;
    HICON icon = IconByRule(window, size, pixels, cache, origin, memo, &owned);
    return owned || !icon ? icon : DuplicateOwnedIcon(icon);
}

} // namespace

HICON WindowIcon(HWND window, int size, bool* ownedByCaller, int pixels, ProgramPathMemo* memo) {
    IconOrigin origin;
    return IconByRule(window, size, pixels, nullptr, origin, memo, ownedByCaller);
}

BOOL CALLBACK EnumerateWindow(HWND window, LPARAM context) {
    auto* ctx = reinterpret_cast<EnumerationContext*>(context);
    if (!ctx || !ctx->list)
        return FALSE;
    ItemList& list = *ctx->list;
    // The list has room for ListCapacity windows; further ones are not offered.
    if (list.count >= ListCapacity)
        return FALSE;

    if (!IsWindowVisible(window))
        return TRUE;
    if (!IsWindowEnabled(window))
        return TRUE;
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)
        return TRUE;
    if (IsWindowCloaked(ctx->program ? ctx->program->services.cloakQuery : nullptr, window))
        return TRUE;

    // An application with a dialog open is represented by the dialog.
    HWND owner = GetWindow(window, GW_OWNER);
    HWND target = GetLastActivePopup(owner ? owner : window);
    if (!target)
        target = window;
    for (int i = 0; i < list.count; ++i) {
        if (list.slots[i].window == target)
            return TRUE;
    }

    wchar_t title[TextBufferLength];
    ReadWindowTitle(target, title);
    if (ctx->program && IsExcluded(ctx->program->excluded, title))
        return TRUE;

    IconOrigin origin;
    HICON icon = RecordIcon(target, ctx->iconSize, ctx->iconPixels, ctx->iconCache, origin,
                            ctx->program ? &ctx->program->pathMemo : nullptr);

    int state = StateNormal;
    if (IsIconic(target))
        state = StateMinimized;
    if (IsZoomed(target))
        state = StateMaximized;

    // The record owns its icon: a copy of the window's own icon, or the program's file icon. It
    // goes into the list as it is; a second copy would be made only to destroy the first.
    ListItem item;
    InitListItem(item, title, icon, target, KindWindow);
    item.order = ctx->order;
    item.showState = state;
    AdoptListItem(list, std::move(item));
    ++ctx->order;
    if (icon && ctx->iconCache)
        LendIcon(*ctx->iconCache, std::move(origin));

    return list.count < ListCapacity ? TRUE : FALSE;
}

void EnumerateTopLevelWindows(ProgramState& program, ItemList& list, int iconSize, int iconPixels,
                              IconCache* cache) {
    EnumerationContext context{&list, 0, iconSize, iconPixels, cache, &program};
    EnumWindows(EnumerateWindow, reinterpret_cast<LPARAM>(&context));
}

} // namespace mw
