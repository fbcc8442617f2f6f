// The real program against things going wrong around it: a window whose thread stopped
// answering, windows that vanish while the popup is open, forged private messages from another
// process, Explorer's restart, a read-only preferences file, more windows than the list holds,
// titles and paths at and past 259 characters, and the user's input while the program is busy.
// After each one the program still answers and the preferences file holds what the user set.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "hook/hook.h"
#include "platform/unique_handle.h"
#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

constexpr UINT kTrayCallback = 50209;
constexpr int kOptionsMenuCommand = 32774;
constexpr int kRightButtonRadio = 1006;
constexpr int kLeftButtonRadio = 1005;
constexpr int kOptionsOk = 1000;

HWND FindDescendant(HWND parent, int id) {
    struct Ctx {
        int id;
        HWND found;
    } ctx{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            if (GetDlgCtrlID(w) == c->id && IsWindowVisible(w)) {
                c->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    return text;
}

TEST(Faults, AWindowThatStoppedAnsweringNeitherDelaysThePopupNorFreezesTheChoice) {
    Target normal, hung;
    ASSERT_TRUE(normal.Start(L"Answering window"));
    ASSERT_TRUE(hung.Start(L"Hung window", true));
    BringToFront(hung.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nArrangeWindow=0\r\n"));
    PostMessageW(hung.window, WM_APP, 0, 0); // its thread sleeps until the process is ended
    ASSERT_TRUE(WaitFor([&] { return StopsAnswering(hung.window); }));

    for (int round = 0; round < 2; ++round) {
        // The hung window is the front one: the first entry.
        const ULONGLONG opened = GetTickCount64();
        ASSERT_TRUE(program.Open()) << "round " << round;
        EXPECT_LT(GetTickCount64() - opened, 3000u) << "the icon queries must not wait on the hung thread";
        PostMessageW(program.main, kMsgChoose, 0, 0);
        EXPECT_TRUE(program.Closed());
        EXPECT_TRUE(program.Answers(3000))
            << "round " << round << ": choosing a hung window froze the program";
        ASSERT_TRUE(program.sandbox.process().Running());
    }
    // The program still switches to a window that answers.
    ASSERT_TRUE(program.Open());
    PostMessageW(program.main, kMsgCancel, 0, 0);
    EXPECT_TRUE(program.Closed());
    hung.process.Kill();
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Faults, WindowsClosedBetweenOpenAndChooseAreSkippedQuietly) {
    Target alpha, beta, gamma;
    ASSERT_TRUE(alpha.Start(L"Alpha vanishing"));
    ASSERT_TRUE(beta.Start(L"Beta vanishing"));
    ASSERT_TRUE(gamma.Start(L"Gamma staying"));
    BringToFront(alpha.window);
    Resident program;
    // The frame preview puts the other windows away, so closing one of them also tests the
    // restore of a window that is gone.
    ASSERT_TRUE(program.Start(L"[Preference]\r\nArrangeWindow=0\r\nAltab7=1\r\n"));
    const std::string before = ReadFileBytes(program.sandbox.preferencesPath());

    ASSERT_TRUE(program.Open());
    PostMessageW(alpha.window, WM_CLOSE, 0, 0); // the selected one
    ASSERT_TRUE(alpha.process.WaitExit(5000) == 0);
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(program.Answers());

    BringToFront(gamma.window);
    ASSERT_TRUE(program.Open());
    PostMessageW(beta.window, WM_CLOSE, 0, 0); // put away by the preview
    ASSERT_TRUE(beta.process.WaitExit(5000) == 0);
    PostMessageW(program.main, kMsgMoveSelection, kNext, 0); // onto the closed one
    PostMessageW(program.main, kMsgCancel, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(program.Answers());
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(gamma.window) && !IsIconic(gamma.window); }))
        << "the window left is back as it was";
    EXPECT_EQ(ReadFileBytes(program.sandbox.preferencesPath()), before);
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Faults, ForgedPrivateMessagesFromAnotherProcessDoNoHarm) {
    Target alpha;
    ASSERT_TRUE(alpha.Start(L"Alpha forged"));
    BringToFront(alpha.window);
    Resident program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(WaitFor([&] { return !program.HookCalls().empty(); }));
    const std::string hookCalls = program.HookCalls();
    const std::string before = ReadFileBytes(program.sandbox.preferencesPath());

    std::mt19937 rng(0x5EED);
    auto randomParam = [&]() -> LPARAM {
        static const LPARAM kOdd[] = {
            0,     1,     -1,    2,     0x7FFFFFFF, static_cast<LPARAM>(0x80000000u),
            0x200, 0x201, 0x203, 0x204, 0x206,      0x207,
            0x400, 0x404, 0x405};
        return rng() % 3 ? kOdd[rng() % std::size(kOdd)] : static_cast<LPARAM>(static_cast<int>(rng()));
    };
    // Tray callbacks of any kind but the two real clicks (pause and the menu).
    auto trayParam = [&] {
        LPARAM l;
        do
            l = randomParam();
        while (l == WM_LBUTTONUP || l == WM_RBUTTONUP);
        return l;
    };
    // While closed: everything but the open message.
    for (int i = 0; i < 300; ++i) {
        const UINT message = i % 5 == 4 ? kTrayCallback : 50178 + rng() % 6;
        PostMessageW(program.main, message, static_cast<WPARAM>(randomParam()),
                     message == kTrayCallback ? trayParam() : randomParam());
    }
    EXPECT_TRUE(program.Answers());
    EXPECT_FALSE(IsWindowVisible(program.main)) << "nothing but 50177 opens the popup";

    // While open: repeated opens, moves of any size, unknown neighbours, the tray callback, and
    // now and then a choice or a cancel that closes it (a later open opens it again).
    ASSERT_TRUE(program.Open());
    for (int i = 0; i < 300; ++i) {
        UINT message;
        const unsigned pick = rng() % 100;
        if (pick < 30)
            message = kMsgOpenPopup;
        else if (pick < 70)
            message = kMsgMoveSelection;
        else if (pick < 72)
            message = kMsgChoose;
        else if (pick < 75)
            message = kMsgCancel;
        else if (pick < 90)
            message = 50180 + rng() % 3;
        else
            message = kTrayCallback;
        PostMessageW(program.main, message, static_cast<WPARAM>(randomParam()),
                     message == kTrayCallback ? trayParam() : randomParam());
    }
    PostMessageW(program.main, kMsgCancel, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(program.Answers(5000));
    ASSERT_TRUE(program.sandbox.process().Running());
    // Still a working switcher: open, step, choose.
    BringToFront(alpha.window);
    ASSERT_TRUE(program.Open());
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == alpha.window; }));
    EXPECT_EQ(program.HookCalls(), hookCalls) << "no forged message paused or reinstalled the hook";
    EXPECT_EQ(ReadFileBytes(program.sandbox.preferencesPath()), before) << "no forged message wrote the file";
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Faults, TheTrayIconComesBackWhenExplorerRestarts) {
    Resident program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(TrayIconExists(program.main));
    // What a restarting Explorer does to every icon: it forgets it.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = program.main;
    data.uID = 0;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    ASSERT_FALSE(TrayIconExists(program.main));
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    ASSERT_NE(taskbarCreated, 0u);
    PostMessageW(program.main, taskbarCreated, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return TrayIconExists(program.main); }));
    EXPECT_TRUE(program.Answers());
    EXPECT_EQ(program.sandbox.Close(), 0);
    EXPECT_FALSE(TrayIconExists(program.main));
}

// Whether a file can be opened for writing right now.
bool Writable(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

TEST(Faults, AReadOnlyPreferencesFileIsToldAndLeftAsItWas) {
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nRightButton=0\r\nPermissibleRange=8\r\n"));
    const std::wstring prefs = program.sandbox.preferencesPath();
    const std::string before = ReadFileBytes(prefs);
    ASSERT_TRUE(SetFileAttributesW(prefs.c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine keeps the read-only attribute as the file's Unix write permission, which root (as
    // CI runs) writes through. There the file is also held open without write sharing, as an
    // editor or a backup tool may hold it: the program's write fails the same way.
    mw::UniqueFileHandle holder;
    if (Writable(prefs)) {
        holder.reset(CreateFileW(prefs.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
    }
    ASSERT_FALSE(Writable(prefs)) << "the test could not make the file unwritable";

    PostMessageW(program.main, WM_COMMAND, kOptionsMenuCommand, 0);
    const DWORD pid = program.sandbox.process().pid();
    HWND options = WaitVisibleDialog(pid, L"オプション - Mistlewick");
    ASSERT_NE(options, nullptr);
    HWND right = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (right = FindDescendant(options, kRightButtonRadio)) != nullptr; }));
    PostMessageW(right, BM_CLICK, 0, 0);

    // The failed write is told in an error box that names the file.
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND w : WindowsOfProcess(pid, L"#32770")) {
            if (w != options && IsWindowVisible(w) && MessageBoxText(w).find(prefs) != std::wstring::npos)
                box = w;
        }
        return box != nullptr;
    })) << "no message about the failed write";
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, 64);
    EXPECT_STREQ(caption, L"Mistlewick");
    EXPECT_EQ(ReadFileBytes(prefs), before) << "a read-only file is not touched";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));

    // Writable again: the user's next choices reach the file, and nothing else in it changes.
    holder.reset();
    ASSERT_TRUE(SetFileAttributesW(prefs.c_str(), FILE_ATTRIBUTE_NORMAL));
    HWND left = FindDescendant(options, kLeftButtonRadio);
    ASSERT_NE(left, nullptr);
    PostMessageW(left, BM_CLICK, 0, 0);
    PostMessageW(right, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor(
        [&] { return GetPrivateProfileIntW(L"Preference", L"RightButton", -1, prefs.c_str()) == 1; }));
    EXPECT_EQ(GetPrivateProfileIntW(L"Preference", L"PermissibleRange", -1, prefs.c_str()), 8u);
    wchar_t excluded[64] = {};
    GetPrivateProfileStringW(L"Exclude", L"1", L"", excluded, 64, prefs.c_str());
    EXPECT_STREQ(excluded, L"Wine System Tray");
    PumpFor(300);
    for (HWND w : WindowsOfProcess(pid, L"#32770")) {
        EXPECT_TRUE(w == options || !IsWindowVisible(w))
            << "a write that worked raised a message: " << testing::PrintToString(MessageBoxText(w));
    }
    PostMessageW(options, WM_COMMAND, MAKEWPARAM(kOptionsOk, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(options); }));
    EXPECT_EQ(GetPrivateProfileIntW(L"Preference", L"RightButton", -1, prefs.c_str()), 1u);
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Faults, MoreWindowsThanTheListHoldsOpenFiftyAndChooseTheLast) {
    std::vector<HWND> windows;
    for (int i = 0; i < 60; ++i) {
        HWND w = CreateTestWindow((L"Crowd " + std::to_wstring(i)).c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, nullptr, 20 + i * 5, 20 + i * 5, 200, 100);
        ASSERT_NE(w, nullptr);
        windows.push_back(w);
    }
    PumpFor(200);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nArrangeWindow=0\r\nToggleDesktop=0\r\nCansel=0\r\n"));
    ASSERT_TRUE(program.Open());
    RECT popup{};
    GetWindowRect(program.main, &popup);
    EXPECT_GT(popup.bottom - popup.top, 0);
    // Forty-nine steps from the first entry reach the fiftieth; one step back from the first wraps
    // to the last entry as well (no commands, no launchers).
    PostMessageW(program.main, kMsgMoveSelection, kPrevious, 0);
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(program.Closed());
    HWND chosen = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        chosen = GetForegroundWindow();
        for (HWND w : windows) {
            if (w == chosen)
                return true;
        }
        return false;
    })) << "the last entry is one of the crowd";
    EXPECT_TRUE(program.Answers());
    for (HWND w : windows)
        DestroyWindow(w);
    EXPECT_EQ(program.sandbox.Close(), 0);
}

TEST(Faults, TitlesAndPathsOfTwoHundredFiftyNineAndMoreCharacters) {
    const std::wstring longTitle = L"Long title " + std::wstring(289, L'x'); // 300 characters
    HWND window = CreateTestWindow(longTitle.c_str());
    ASSERT_NE(window, nullptr);
    BringToFront(window);
    Resident program;
    // The close entry's label is made of the active window's title.
    ASSERT_TRUE(program.Start(L"[Preference]\r\nArrangeWindow=0\r\nCloseWnd=1\r\nCansel=0\r\n"));
    ASSERT_TRUE(program.Open());
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }));
    // Back from the first entry: the last command, which closes the active window. The test
    // window hands WM_CLOSE to DefWindowProc, which destroys it, and its message record goes
    // with it: the window being gone is what shows that WM_CLOSE arrived (no other process can
    // destroy it).
    ASSERT_TRUE(program.Open());
    PostMessageW(program.main, kMsgMoveSelection, kPrevious, 0);
    PostMessageW(program.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(window); }))
        << "the close entry of a window with a 300-character title";
    EXPECT_TRUE(program.Answers());
    EXPECT_EQ(program.sandbox.Close(), 0);
    if (IsWindow(window))
        DestroyWindow(window);

    // A launcher entry whose path, name and arguments run past any buffer.
    Resident launcher;
    const std::wstring longPath = L"C:\\nowhere\\" + std::wstring(289, L'p') + L".exe";
    ASSERT_TRUE(launcher.Start(L"[Launcher]\r\ncnt=1\r\npath1=" + longPath + L"\r\nname1=" +
                                   std::wstring(300, L'n') + L"\r\ncmnd1=" + std::wstring(300, L'c') +
                                   L"\r\nwfol1=" + std::wstring(300, L'w') + L"\r\n",
                               L"/Launch"));
    ASSERT_TRUE(launcher.Open());
    PostMessageW(launcher.main, kMsgChoose, 0, 0);
    EXPECT_TRUE(launcher.Closed());
    PumpFor(500);
    for (HWND w : WindowsOfProcess(launcher.sandbox.process().pid(), L"#32770")) {
        if (IsWindowVisible(w))
            PostMessageW(w, WM_COMMAND, IDOK, 0); // a shell error box, if any
    }
    EXPECT_TRUE(launcher.Answers());
    EXPECT_EQ(launcher.sandbox.Close(), 0);
}

// The program in a folder so deep that its preferences path has exactly 259 characters (what
// the path buffer holds): it comes up resident and reads that file.
TEST(Faults, AProgramFolderAtTheLengthLimitStillFindsItsPreferences) {
    // The temporary folder's name varies in length; adjust the subfolder until the path fits.
    std::unique_ptr<Resident> program;
    size_t subfolder = 150;
    for (int attempt = 0; attempt < 3; ++attempt) {
        program = std::make_unique<Resident>(std::wstring(subfolder, L'd').c_str());
        const size_t total = program->sandbox.preferencesPath().size();
        if (total == 259)
            break;
        subfolder = subfolder + 259 - total;
    }
    ASSERT_EQ(program->sandbox.preferencesPath().size(), 259u);
    ASSERT_TRUE(program->Start(L"[Preference]\r\nPermissibleRange=14\r\n"));
    ASSERT_TRUE(WaitFor([&] { return !program->HookCalls().empty(); }));
    EXPECT_EQ(program->HookCalls(), "start 1 100 0 0 0 14 500\n");
    EXPECT_TRUE(program->Answers());
    EXPECT_EQ(program->sandbox.Close(), 0);
}

// With the real hook, the low-level mouse hook runs on the program's thread. While that thread
// waits inside a window activation, the user's mouse still moves the cursor without a stall.
TEST(Faults, InputKeepsFlowingWhileTheProgramIsBusyActivatingAWindow) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha busy"));
    ASSERT_TRUE(beta.Start(L"Beta busy"));
    BringToFront(beta.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nArrangeWindow=0\r\n", L"", true));
    PlaceCursor(1500, 900);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(program.Open());
        PostMessageW(program.main, kMsgMoveSelection, kNext, 0);
        PostMessageW(program.main, kMsgChoose, 0, 0);
        ASSERT_TRUE(program.Closed()); // the activation and its wait start now
        ULONGLONG worst = 0;
        for (int step = 0; step < 6; ++step) {
            const int x = 1500 + (step % 2 ? 40 : -40) + round, y = 900 + step;
            const ULONGLONG sent = GetTickCount64();
            MouseMoveTo(x, y);
            ASSERT_TRUE(WaitFor(
                [&] {
                    POINT p{};
                    GetCursorPos(&p);
                    return p.x == x && p.y == y;
                },
                5000));
            worst = std::max(worst, GetTickCount64() - sent);
        }
        // The activation's wait lasts 400 ms; input may not stall for longer than a hook's time-out.
        EXPECT_LT(worst, 1500u) << "round " << round;
        EXPECT_TRUE(program.Answers());
    }
    EXPECT_EQ(program.sandbox.Close(), 0);
}

} // namespace
