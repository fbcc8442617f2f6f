// A Store app's shape: a top-level frame owned by a process named like the frame host, and the
// app's content window, from another process (this one), inside it. The frame counts as the
// app's program for grouping, the filter and run-or-raise entries.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "model/frame_host.h"
#include "model/list_building.h"
#include "model/run_or_raise.h"
#include "model/window_list.h"
#include "platform/process_info.h"
#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"
#include "support/temp_dir.h"

namespace {

using namespace mw;
using namespace mw::test;

void AddWindow(ItemList& list, HWND window) {
    ListItem item;
    InitListItem(item, L"w", nullptr, window, KindWindow);
    item.order = list.count;
    ASSERT_EQ(AppendListItem(list, item), 1);
}

TEST(StoreApp, AHostFrameIsListedUnderTheProgramOfItsContent) {
    TempDir dir;
    const std::wstring host = dir.file(kFrameHostProgram);
    ASSERT_TRUE(CopyFileW((BinDir() + L"\\target_window.exe").c_str(), host.c_str(), FALSE));
    ChildProcess frameProcess;
    ASSERT_TRUE(frameProcess.Start(host, L"\"Store frame\"", dir.path()));
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND w : WindowsOfProcess(frameProcess.pid(), L"MwTargetWindow"))
                if (IsWindowVisible(w))
                    frame = w;
            return frame != nullptr;
        },
        10000));
    Target other;
    ASSERT_TRUE(other.Start(L"Other program"));
    HWND sibling = CreateTestWindow(L"This program's own window");
    ASSERT_NE(sibling, nullptr);

    ProgramPathMemo memo;
    wchar_t path[TextBufferLength];
    ASSERT_TRUE(ProgramPathOfWindow(&memo, frame, path));
    EXPECT_EQ(lstrcmpiW(path, host.c_str()), 0) << "no content yet: the host's own program";

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kAppContentClass;
    RegisterClassW(&wc);
    HWND content = CreateWindowExW(0, kAppContentClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, frame,
                                   nullptr, wc.hInstance, nullptr);
    ASSERT_NE(content, nullptr) << GetLastError();
    ASSERT_EQ(GetParent(content), frame);

    const std::wstring self = ExecutablePath();
    for (ProgramPathMemo* m : {&memo, static_cast<ProgramPathMemo*>(nullptr)}) {
        ASSERT_TRUE(ProgramPathOfWindow(m, frame, path));
        EXPECT_EQ(lstrcmpiW(path, self.c_str()), 0) << (m ? "remembered host path" : "read anew");
    }

    // Grouping: the frame and this program's window come together, ahead of the other program.
    auto list = CreateItemList();
    AddWindow(*list, frame);
    AddWindow(*list, other.window);
    AddWindow(*list, sibling);
    ArrangeByProgram(*list, memo);
    EXPECT_EQ(list->slots[0].window, frame);
    EXPECT_EQ(list->slots[1].window, sibling);
    EXPECT_EQ(list->slots[2].window, other.window);

    // Run-or-raise: an entry for this program finds the frame.
    ProgramState program;
    LauncherEntry entry;
    entry.path = self;
    entry.raise = true;
    auto listed = CreateItemList();
    AddWindow(*listed, other.window);
    AddWindow(*listed, frame);
    EXPECT_EQ(RunningWindowOfEntry(program, entry, listed.get()), frame);

    ClearItemList(*list);
    ClearItemList(*listed);
    DestroyWindow(content);
    DestroyWindow(sibling);
}

} // namespace
