#include "system/window_list.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/exclude_set.h"
#include "model/icon_cache.h"
#include "model/test_windows.h"
#include "resources/resource.h"
#include "support/icon_probe.h"

namespace {

using namespace mw;
using namespace mw_test;

int IndexOf(const ItemList& list, HWND window) {
    for (int i = 0; i < list.count; ++i) {
        if (list.slots[i].window == window)
            return i;
    }
    return -1;
}

int CountOf(const ItemList& list, std::initializer_list<HWND> windows) {
    int n = 0;
    for (int i = 0; i < list.count; ++i) {
        for (HWND w : windows)
            n += list.slots[i].window == w;
    }
    return n;
}

// Captionless popups shown without activation: on a display without a window manager Wine
// waits two seconds to hide or destroy every window it hands to the (absent) manager: captioned,
// activated by showing, minimised or maximised ones. The rules do not look at style.
constexpr DWORD kStyle = WS_POPUP | WS_BORDER;

// The desktop under test may hold other windows; tests assert only on their own.
class Enumeration : public ::testing::Test {
  protected:
    void TearDown() override {
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
            if (IsWindow(*it))
                DestroyWindow(*it);
        }
        Pump();
    }

    HWND Make(const wchar_t* title, int show = SW_SHOWNA, DWORD exStyle = 0, HWND owner = nullptr,
              const wchar_t* windowClass = PlainClass(), DWORD style = kStyle) {
        int n = static_cast<int>(windows_.size());
        HWND w = CreateWindowExW(exStyle, windowClass, title, style, 40 + 8 * (n % 40), 40 + 6 * (n % 40),
                                 240, 120, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(w, nullptr);
        windows_.push_back(w);
        if (show >= 0)
            ShowWindow(w, show);
        Pump();
        return w;
    }

    std::unique_ptr<ItemList> Enumerate(int iconSize = 32) {
        auto list = CreateItemList();
        EnumerateTopLevelWindows(program_, *list, iconSize);
        return list;
    }

    ProgramState program_; // a fresh program for each test: nothing excluded, the system's cloak query
    std::vector<HWND> windows_;
};

TEST_F(Enumeration, ListsSwitchableWindowsOnlyAndNumbersThemWithoutGaps) {
    HWND normal = Make(L"mw-normal");
    HWND hidden = Make(L"mw-hidden", -1);
    HWND disabled = Make(L"mw-disabled");
    EnableWindow(disabled, FALSE);
    HWND tool = Make(L"mw-tool", SW_SHOWNA, WS_EX_TOOLWINDOW);
    // A disabled owner whose visible owned window is a tool window: neither leads to an entry.
    HWND disabledOwner = Make(L"mw-disabled-owner");
    HWND ownedTool = Make(L"mw-owned-tool", SW_SHOWNA, WS_EX_TOOLWINDOW, disabledOwner);
    SetActiveWindow(ownedTool);
    EnableWindow(disabledOwner, FALSE);

    auto list = Enumerate();
    int i = IndexOf(*list, normal);
    ASSERT_GE(i, 0);
    EXPECT_EQ(list->slots[i].name, L"mw-normal");
    EXPECT_EQ(list->slots[i].kind, KindWindow);
    EXPECT_EQ(list->slots[i].inUse, 1);
    EXPECT_EQ(list->slots[i].showState, StateNormal);
    EXPECT_EQ(CountOf(*list, {hidden, disabled, tool, disabledOwner, ownedTool}), 0);
    for (int k = 0; k < list->count; ++k)
        EXPECT_EQ(list->slots[k].order, k) << "order runs without gaps";
}

TEST_F(Enumeration, ModalDialogStandsForItsDisabledOwner) {
    HWND owner = Make(L"mw-main");
    HWND dialog = Make(L"mw-dialog", SW_SHOWNA, 0, owner);
    SetActiveWindow(dialog);
    EnableWindow(owner, FALSE);
    ASSERT_TRUE(WaitFor([&] { return GetLastActivePopup(owner) == dialog; }));

    auto list = Enumerate();
    EXPECT_EQ(IndexOf(*list, owner), -1);
    ASSERT_EQ(CountOf(*list, {dialog}), 1);
    EXPECT_EQ(list->slots[IndexOf(*list, dialog)].name, L"mw-dialog");
}

TEST_F(Enumeration, WindowsOwnedByOneOwnerGiveOneEntryForTheLastActive) {
    HWND owner = Make(L"mw-owner");
    HWND first = Make(L"mw-owned-1", SW_SHOWNA, 0, owner);
    SetActiveWindow(first);
    HWND second = Make(L"mw-owned-2", SW_SHOWNA, 0, owner);
    SetActiveWindow(second);
    ASSERT_TRUE(WaitFor([&] { return GetLastActivePopup(owner) == second; }));
    // The first owned window on top of the Z order leads to the same entry.
    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Pump();

    auto list = Enumerate();
    EXPECT_EQ(CountOf(*list, {owner, first, second}), 1);
    ASSERT_GE(IndexOf(*list, second), 0);
    EXPECT_EQ(list->slots[IndexOf(*list, second)].name, L"mw-owned-2");
}

TEST_F(Enumeration, RecordsMinimisedAndMaximisedState) {
    HWND normal = Make(L"mw-state-normal");
    HWND minimised = Make(L"mw-state-min", SW_SHOWMINNOACTIVE);
    HWND maximised = Make(L"mw-state-max", SW_SHOWMAXIMIZED);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(minimised) && IsZoomed(maximised); }));

    auto list = Enumerate();
    ASSERT_GE(IndexOf(*list, normal), 0);
    ASSERT_GE(IndexOf(*list, minimised), 0);
    ASSERT_GE(IndexOf(*list, maximised), 0);
    EXPECT_EQ(list->slots[IndexOf(*list, normal)].showState, StateNormal);
    EXPECT_EQ(list->slots[IndexOf(*list, minimised)].showState, StateMinimized);
    EXPECT_EQ(list->slots[IndexOf(*list, maximised)].showState, StateMaximized);
}

TEST_F(Enumeration, ExcludesExactTitlesOnly) {
    AddExcluded(program_.excluded, L"mw-excluded");
    HWND exact = Make(L"mw-excluded");
    HWND otherCase = Make(L"MW-Excluded");
    HWND trailingBlank = Make(L"mw-excluded ");
    HWND untitled = Make(L"");

    auto list = Enumerate();
    EXPECT_EQ(IndexOf(*list, exact), -1);
    EXPECT_GE(IndexOf(*list, otherCase), 0);
    EXPECT_GE(IndexOf(*list, trailingBlank), 0);
    ASSERT_GE(IndexOf(*list, untitled), 0) << "an empty title is listed until an empty entry excludes it";
    EXPECT_EQ(list->slots[IndexOf(*list, untitled)].name, L"");

    AddExcluded(program_.excluded, L"");
    list = Enumerate();
    EXPECT_EQ(IndexOf(*list, untitled), -1);
    EXPECT_GE(IndexOf(*list, otherCase), 0);
}

TEST_F(Enumeration, TitleIsCutAt259Characters) {
    std::wstring longTitle(300, L'x');
    HWND w = Make(longTitle.c_str());
    auto list = Enumerate();
    ASSERT_GE(IndexOf(*list, w), 0);
    EXPECT_EQ(list->slots[IndexOf(*list, w)].name, std::wstring(259, L'x'));
}

TEST_F(Enumeration, WindowIconFollowsTheSizeRuleAndItsSources) {
    const ClassIcons& cls = IconClassIcons();
    HWND classOnly = Make(L"mw-icon-class", SW_SHOWNA, 0, nullptr, IconClass());
    HICON setBig = MakeTestIcon(32), setSmall = MakeTestIcon(16);
    HWND answering = Make(L"mw-icon-message");
    SendMessageW(answering, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(setBig));
    SendMessageW(answering, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(setSmall));
    // The window's own answer wins over its class.
    HWND both = Make(L"mw-icon-both", SW_SHOWNA, 0, nullptr, IconClass());
    HICON bothBig = MakeTestIcon(32);
    SendMessageW(both, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bothBig));
    // No icon of its own: the owner's answer, then the owner's class.
    HWND ownedByAnswering = Make(L"mw-icon-owned-1", SW_SHOWNA, 0, answering);
    HWND ownedByClass = Make(L"mw-icon-owned-2", SW_SHOWNA, 0, classOnly);

    struct Case {
        HWND window;
        int size;
        HICON expected;
    } cases[] = {
        {classOnly, 32, cls.big},
        {classOnly, 16, cls.small},
        {answering, 32, setBig},
        {answering, 16, setSmall},
        {both, 32, bothBig},
        {both, 16, cls.small},
        {ownedByAnswering, 32, setBig},
        {ownedByAnswering, 16, setSmall},
        {ownedByClass, 32, cls.big},
        {ownedByClass, 16, cls.small},
    };
    for (const Case& c : cases) {
        bool owned = true;
        EXPECT_EQ(WindowIcon(c.window, c.size, &owned), c.expected) << "size " << c.size;
        EXPECT_FALSE(owned) << "a window's icon is not the caller's to destroy";
    }

    // 24 (and any size other than 16, 32 or 48 and more) gives no icon; 48 only the file icon.
    for (HWND w : {classOnly, answering, both, ownedByClass}) {
        bool owned = true;
        EXPECT_EQ(WindowIcon(w, 24, &owned), nullptr);
        EXPECT_FALSE(owned);
        HICON fileIcon = WindowIcon(w, 48, &owned);
        EXPECT_TRUE(fileIcon != cls.big && fileIcon != cls.small && fileIcon != setBig &&
                    fileIcon != bothBig);
        EXPECT_EQ(owned, fileIcon != nullptr);
        if (owned)
            DestroyIcon(fileIcon);
    }

    // The list holds duplicates, never the window's own handles.
    for (int size : {16, 32}) {
        auto list = Enumerate(size);
        int i = IndexOf(*list, classOnly);
        ASSERT_GE(i, 0);
        HICON icon = list->slots[i].icon.get();
        ASSERT_NE(icon, nullptr) << "size " << size;
        EXPECT_NE(icon, size == 32 ? cls.big : cls.small);
        EXPECT_EQ(IconEdge(icon), size);
    }
    auto list = Enumerate(24);
    ASSERT_GE(IndexOf(*list, classOnly), 0);
    EXPECT_EQ(list->slots[IndexOf(*list, classOnly)].icon.get(), nullptr);

    for (HWND w : {answering, both})
        DestroyWindow(w);
    DestroyIcon(setBig);
    DestroyIcon(setSmall);
    DestroyIcon(bothBig);
}

// A window on a thread that stopped answering messages (busy, or waiting on something else).
struct SilentWindowThread {
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND window = nullptr;
    HANDLE thread = nullptr;

    static DWORD WINAPI Run(LPVOID p) {
        auto* self = static_cast<SilentWindowThread*>(p);
        self->window = CreateWindowExW(0, IconClass(), L"mw-silent", kStyle, 300, 300, 200, 100, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(self->window, SW_SHOWNA);
        SetEvent(self->created);
        // Not pumping: every message sent to the window waits. After 5 s it answers again, so a
        // switcher that waits for it would be caught by the time it took rather than hang.
        WaitForSingleObject(self->release, 5000);
        Pump();
        DestroyWindow(self->window);
        return 0;
    }

    SilentWindowThread() { thread = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
    ~SilentWindowThread() {
        SetEvent(release);
        WaitFor([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 10000);
        CloseHandle(thread);
        CloseHandle(created);
        CloseHandle(release);
    }
};

// On a 144-DPI monitor the design's 32 picks the big icon, which is then taken at 48 pixels: from
// its own multi-size resource, so the 48-pixel image is used rather than a stretched 32.
TEST_F(Enumeration, IconsAreTakenAtTheScaledSizeFromTheRuleOfTheDesignsSize) {
    HICON big = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 32, 32, LR_SHARED));
    ASSERT_NE(big, nullptr);
    HWND window = Make(L"mw-icon-scaled");
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    bool owned = false;
    HICON scaled = WindowIcon(window, 32, &owned, 48);
    ASSERT_NE(scaled, nullptr);
    EXPECT_TRUE(owned) << "a copy at the new size is the caller's";
    EXPECT_EQ(mw::test::IconBitmapSize(scaled).width, 48);
    const auto crisp = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 48, 48, 0));
    EXPECT_TRUE(mw::test::SameIconPixels(scaled, crisp, 48)) << "the resource's own 48-pixel image";
    DestroyIcon(crisp);
    DestroyIcon(scaled);
    // At the design's own size the window's icon is lent as before.
    EXPECT_EQ(WindowIcon(window, 32, &owned, 32), big);
    EXPECT_FALSE(owned);
}

// Another size of an icon that was not loaded as shared (no resource to read again) is the
// program's file icon at that size, not the small image enlarged.
TEST(ScaledIcon, SourceByIconAndSize) {
    EXPECT_EQ(ChooseScaledIconSource(32, 0, false), ScaledIconSource::AsItIs);
    EXPECT_EQ(ChooseScaledIconSource(32, 32, false), ScaledIconSource::AsItIs);
    EXPECT_EQ(ChooseScaledIconSource(32, 48, true), ScaledIconSource::Resource);
    EXPECT_EQ(ChooseScaledIconSource(32, 48, false), ScaledIconSource::ProgramFile);
}

TEST_F(Enumeration, WindowThatDoesNotAnswerIsListedWithoutHoldingUpThePass) {
    SilentWindowThread silent;
    ASSERT_TRUE(WaitFor([&] { return WaitForSingleObject(silent.created, 0) == WAIT_OBJECT_0; }));
    ASSERT_NE(silent.window, nullptr);

    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    auto list = Enumerate(32);
    QueryPerformanceCounter(&t1);
    double ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);

    EXPECT_LT(ms, 2000.0) << "the pass waited for the silent window";
    int i = IndexOf(*list, silent.window);
    ASSERT_GE(i, 0);
    EXPECT_EQ(list->slots[i].name, L"mw-silent");
    // The unanswered message counts as no icon; the class icon is the next source.
    EXPECT_EQ(IconEdge(list->slots[i].icon.get()), 32);
}

TEST_F(Enumeration, StopsAtFiftyWindows) {
    for (int k = 0; k < ListCapacity + 2; ++k)
        Make((L"mw-many " + std::to_wstring(k)).c_str());
    auto list = Enumerate();
    EXPECT_EQ(list->count, ListCapacity);
    for (int k = 0; k < list->count; ++k)
        EXPECT_EQ(list->slots[k].order, k);

    // A full list takes nothing more and ends the pass.
    HWND extra = windows_.back();
    ClearItemList(*list);
    auto full = CreateItemList();
    EnumerationContext context{full.get(), 0, 32, 0, nullptr, &program_};
    for (int k = 0; k < ListCapacity; ++k) {
        BOOL more = EnumerateWindow(windows_[k], reinterpret_cast<LPARAM>(&context));
        EXPECT_EQ(more, k < ListCapacity - 1 ? TRUE : FALSE) << "window " << k;
    }
    EXPECT_EQ(full->count, ListCapacity);
    EXPECT_EQ(EnumerateWindow(extra, reinterpret_cast<LPARAM>(&context)), FALSE);
    EXPECT_EQ(full->count, ListCapacity);
    EXPECT_EQ(context.order, ListCapacity);
}

HWND g_cloaked = nullptr;
DWORD g_lastAttribute = 0, g_lastSize = 0;

HRESULT WINAPI FakeCloakQuery(HWND window, DWORD attribute, void* value, DWORD size) {
    g_lastAttribute = attribute;
    g_lastSize = size;
    *static_cast<DWORD*>(value) = window == g_cloaked ? 2 /* cloaked by the shell */ : 0;
    return S_OK;
}

HRESULT WINAPI FailingCloakQuery(HWND, DWORD, void* value, DWORD) {
    *static_cast<DWORD*>(value) = 1; // garbage that a failed call leaves behind
    return E_NOTIMPL;
}

TEST_F(Enumeration, SkipsWindowsTheCompositorCloaks) {
    HWND cloaked = Make(L"mw-cloaked");
    HWND shown = Make(L"mw-uncloaked");
    g_cloaked = cloaked;

    program_.services.cloakQuery = FakeCloakQuery;
    auto list = Enumerate();
    EXPECT_EQ(IndexOf(*list, cloaked), -1);
    EXPECT_GE(IndexOf(*list, shown), 0);
    EXPECT_EQ(g_lastAttribute, CloakedAttribute);
    EXPECT_EQ(g_lastSize, sizeof(DWORD));

    program_.services.cloakQuery = FailingCloakQuery;
    EXPECT_FALSE(IsWindowCloaked(program_.services.cloakQuery, cloaked));
    list = Enumerate();
    EXPECT_GE(IndexOf(*list, cloaked), 0) << "a failed query means not cloaked";

    program_.services.cloakQuery = nullptr; // the system's query: nothing is cloaked on this desktop
    EXPECT_FALSE(IsWindowCloaked(program_.services.cloakQuery, cloaked));
}

TEST(ProgramPath, OfOwnWindowAndOfNoWindow) {
    HWND w = CreateWindowExW(0, PlainClass(), L"mw-path", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    wchar_t path[TextBufferLength], own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    ProgramPathMemo memo;
    EXPECT_TRUE(ProgramPathOfWindow(&memo, w, path));
    EXPECT_EQ(lstrcmpiW(path, own), 0) << "path " << static_cast<int>(lstrlenW(path));
    DestroyWindow(w);

    path[0] = L'?';
    EXPECT_FALSE(ProgramPathOfWindow(&memo, w, path));
    EXPECT_EQ(path[0], L'\0');
    path[0] = L'?';
    EXPECT_FALSE(ProgramPathOfWindow(&memo, nullptr, path));
    EXPECT_EQ(path[0], L'\0');
}

// A pass asks each process for its creation time once; the next pass asks again.
TEST(ProgramPath, APassTrustsOnlyWhatItCheckedItself) {
    HWND w = CreateWindowExW(0, PlainClass(), L"mw-pass", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    wchar_t path[TextBufferLength];
    ProgramPathMemo memo;
    {
        const ProgramPathPass pass(memo);
        ASSERT_TRUE(ProgramPathOfWindow(&memo, w, path));
        memo.entries.at(0).created = 1; // as if the id now named another process
        memo.entries.at(0).path = L"C:\\other.exe";
        ASSERT_TRUE(ProgramPathOfWindow(&memo, w, path));
        EXPECT_STREQ(path, L"C:\\other.exe") << "checked once in the pass";
    }
    const ProgramPathPass next(memo);
    ASSERT_TRUE(ProgramPathOfWindow(&memo, w, path));
    EXPECT_STRNE(path, L"C:\\other.exe") << "a new pass checks again";
    DestroyWindow(w);
}

// GetModuleFileNameExW cuts a long program path without an error: a 300-character path came
// back as its first 259 characters and was taken for the whole one. Only a length that leaves
// room for the terminator and one unit more is certainly whole.
TEST(ProgramPath, ACutModuleNameIsNotTakenForTheWholePath) {
    using mw::ModuleNameIsWhole;
    const DWORD units = mw::TextBufferLength + 1;
    EXPECT_TRUE(ModuleNameIsWhole(259, units));  // the longest path the lists hold
    EXPECT_FALSE(ModuleNameIsWhole(260, units)); // cut, terminator not counted
    EXPECT_FALSE(ModuleNameIsWhole(261, units)); // cut, terminator counted (older systems)
    EXPECT_TRUE(ModuleNameIsWhole(12, units));
    EXPECT_FALSE(ModuleNameIsWhole(0, units)); // the call failed
    EXPECT_FALSE(ModuleNameIsWhole(1, 1));
}

TEST(ProgramPath, MemoKnowsAProcessByIdAndCreationTime) {
    ProgramPathMemo memo;
    EXPECT_EQ(FindProgramPath(memo, 40, 1000), nullptr);
    RememberProgramPath(memo, 40, 1000, L"C:\\a.exe");
    RememberProgramPath(memo, 44, 1000, L"C:\\b.exe");
    ASSERT_NE(FindProgramPath(memo, 40, 1000), nullptr);
    EXPECT_EQ(*FindProgramPath(memo, 40, 1000), L"C:\\a.exe");
    EXPECT_EQ(*FindProgramPath(memo, 44, 1000), L"C:\\b.exe");
    // The id handed on to a later process: a different creation time, no answer.
    EXPECT_EQ(FindProgramPath(memo, 40, 2000), nullptr);
    RememberProgramPath(memo, 40, 2000, L"C:\\c.exe");
    EXPECT_EQ(*FindProgramPath(memo, 40, 2000), L"C:\\c.exe");
    EXPECT_EQ(*FindProgramPath(memo, 40, 1000), L"C:\\a.exe");
    // The same process again replaces its entry instead of adding one.
    RememberProgramPath(memo, 44, 1000, L"C:\\b2.exe");
    EXPECT_EQ(*FindProgramPath(memo, 44, 1000), L"C:\\b2.exe");
    EXPECT_EQ(memo.entries.size(), 3u);
}

TEST(ProgramPath, MemoStaysBoundedAndForgetsTheOldestFirst) {
    ProgramPathMemo memo;
    const DWORD extra = 5;
    for (DWORD pid = 1; pid <= ProgramPathMemo::Capacity + extra; ++pid)
        RememberProgramPath(memo, pid, 7, L"p" + std::to_wstring(pid));
    EXPECT_EQ(memo.entries.size(), ProgramPathMemo::Capacity);
    for (DWORD pid = 1; pid <= extra; ++pid)
        EXPECT_EQ(FindProgramPath(memo, pid, 7), nullptr) << pid;
    for (DWORD pid = extra + 1; pid <= ProgramPathMemo::Capacity + extra; ++pid) {
        ASSERT_NE(FindProgramPath(memo, pid, 7), nullptr) << pid;
        EXPECT_EQ(*FindProgramPath(memo, pid, 7), L"p" + std::to_wstring(pid));
    }
}

// Asked again, a process answers from the memo with the same path.
TEST(ProgramPath, RepeatedLookupsOfAnotherProcessAgree) {
    wchar_t exe[MAX_PATH];
    GetSystemDirectoryW(exe, MAX_PATH);
    lstrcatW(exe, L"\\notepad.exe");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(exe, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND found = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND w = GetTopWindow(nullptr); w && !found; w = GetWindow(w, GW_HWNDNEXT)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == pi.dwProcessId && IsWindowVisible(w))
                    found = w;
            }
            return found != nullptr;
        },
        20000));
    wchar_t first[TextBufferLength], second[TextBufferLength];
    ProgramPathMemo memo;
    EXPECT_TRUE(ProgramPathOfWindow(&memo, found, first));
    EXPECT_TRUE(ProgramPathOfWindow(&memo, found, second));
    EXPECT_EQ(std::wstring(first), std::wstring(second));
    const std::wstring p(second);
    ASSERT_GE(p.size(), 11u);
    EXPECT_EQ(lstrcmpiW(p.substr(p.size() - 11).c_str(), L"notepad.exe"), 0);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // The process is gone: its window has no path any more, memo or not.
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(found); }));
    EXPECT_FALSE(ProgramPathOfWindow(&memo, found, first));
}

// Another program's window: notepad, started and ended by the test.
TEST_F(Enumeration, ListsTheWindowOfAnotherProcess) {
    wchar_t exe[MAX_PATH];
    GetSystemDirectoryW(exe, MAX_PATH);
    lstrcatW(exe, L"\\notepad.exe");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(exe, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    struct Ender {
        PROCESS_INFORMATION& p;
        ~Ender() {
            TerminateProcess(p.hProcess, 0);
            WaitForSingleObject(p.hProcess, 5000);
            CloseHandle(p.hThread);
            CloseHandle(p.hProcess);
        }
    } ender{pi};

    struct Finder {
        DWORD pid;
        HWND found;
    } finder{pi.dwProcessId, nullptr};
    auto find = [](HWND w, LPARAM p) -> BOOL {
        auto* f = reinterpret_cast<Finder*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == f->pid && IsWindowVisible(w) && !GetWindow(w, GW_OWNER)) {
            f->found = w;
            return FALSE;
        }
        return TRUE;
    };
    ASSERT_TRUE(WaitFor(
        [&] {
            EnumWindows(find, reinterpret_cast<LPARAM>(&finder));
            return finder.found != nullptr;
        },
        20000));

    auto list = Enumerate(32);
    int i = IndexOf(*list, finder.found);
    ASSERT_GE(i, 0);
    EXPECT_FALSE(list->slots[i].name.empty());

    wchar_t path[TextBufferLength];
    ASSERT_TRUE(ProgramPathOfWindow(&program_.pathMemo, finder.found, path));
    std::wstring p(path);
    ASSERT_GE(p.size(), 11u);
    EXPECT_EQ(lstrcmpiW(p.substr(p.size() - 11).c_str(), L"notepad.exe"), 0) << "path length " << p.size();
}

} // namespace

namespace {

TEST_F(Enumeration, AKeptCopyServesTheNextOpenUntilTheWindowChangesItsIcon) {
    // The second icon's edge tells a copy of it from a kept copy of the first.
    const mw::UniqueIcon first(MakeTestIcon(32)), second(MakeTestIcon(24));
    HWND window = Make(L"mw-icon-kept");
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(first.get()));
    IconCache cache;
    auto open = [&] {
        auto list = CreateItemList();
        EnumerateTopLevelWindows(program_, *list, 32, 32, &cache);
        const int at = IndexOf(*list, window);
        EXPECT_GE(at, 0);
        const HICON drawn = at >= 0 ? list->slots[at].icon.get() : nullptr;
        EXPECT_NE(drawn, first.get()) << "the record owns a copy, not the window's icon";
        const int edge = IconEdge(drawn);
        ReturnLentIcons(cache, *list);
        ClearItemList(*list);
        return std::make_pair(drawn, edge);
    };
    const auto copy = open();
    EXPECT_EQ(copy.second, 32);
    EXPECT_EQ(open(), copy) << "same window, same icon: the kept copy again";
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(second.get()));
    EXPECT_EQ(open().second, 24) << "the window changed its icon: a copy of the new one";
    ClearIconCache(cache);
}

} // namespace
