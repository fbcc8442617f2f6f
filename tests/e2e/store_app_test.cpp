// A Store app's shape: a top-level frame of a process named like the frame host, with the app's
// content window, from another process (this one), inside it.
#include <windows.h>

#include <gtest/gtest.h>

#include "system/frame_host.h"
#include "model/list_building.h"
#include "model/run_or_raise.h"
#include "system/window_list.h"
#include "platform/process_info.h"
#include "support/e2e.h"
#include "support/temp_dir.h"

namespace {

using namespace mw;
using namespace mw::test;

TEST(StoreApp, AHostFrameCountsAsTheProgramOfItsContent) {
    TempDir dir;
    const std::wstring host = dir.file(kFrameHostProgram);
    ASSERT_TRUE(CopyFileW((BinDir() + L"\\target_window.exe").c_str(), host.c_str(), FALSE));
    ChildProcess frameProcess;
    ASSERT_TRUE(frameProcess.Start(host, L"\"Store frame\"", dir.path()));
    HWND frame = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (frame = FindWindowW(L"MwTargetWindow", L"Store frame")) != nullptr; }, 10000));
    Target other;
    ASSERT_TRUE(other.Start(L"Other program"));
    HWND sibling = CreateTestWindow(L"This program's own window");
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kAppContentClass;
    RegisterClassW(&wc);
    HWND content = CreateWindowExW(0, kAppContentClass, L"", WS_CHILD, 0, 0, 9, 9, frame, nullptr,
                                   wc.hInstance, nullptr);
    ASSERT_EQ(GetParent(content), frame);

    // Grouping: the frame goes with this program's window, ahead of the other program.
    ProgramPathMemo memo;
    auto list = CreateItemList();
    for (HWND w : {frame, other.window, sibling}) {
        ListItem item;
        InitListItem(item, L"w", nullptr, w, KindWindow);
        item.order = list->count;
        AppendListItem(*list, item);
    }
    ListProgramPaths paths{&memo, {}};
    ArrangeByProgram(*list, ListProgramPathLookup(paths));
    EXPECT_EQ(list->slots[1].window, sibling);
    // Run-or-raise (and the filter, which reads the same path): this program's entry finds the frame.
    ProgramState program;
    LauncherEntry entry;
    entry.path = ExecutablePath();
    entry.raise = true;
    list->slots[1].window = other.window; // only the frame is of this program now
    EXPECT_EQ(RunningWindowOfEntry(program, entry, list.get()), frame);
    ClearItemList(*list);
    DestroyWindow(content);
    DestroyWindow(sibling);
}

} // namespace
