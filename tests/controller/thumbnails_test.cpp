#include "controller/thumbnails.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "system/thumbnail_api.h"
#include "support/harness.h"

namespace {

using namespace mw;

struct Registration {
    HWND destination;
    HWND source;
};
struct Update {
    HTHUMBNAIL id;
    DWORD flags;
    RECT destination;
    BOOL visible;
};

// What the recorders saw, and how registration answers (per call, in order; S_OK when absent).
struct Recorder {
    std::vector<Registration> registrations;
    std::vector<Update> updates;
    std::vector<uintptr_t> unregistrations;
    std::vector<HRESULT> answers;
    uintptr_t nextId = 101;
};
Recorder g_rec;

HRESULT WINAPI RecordRegister(HWND destination, HWND source, PHTHUMBNAIL id) {
    size_t call = g_rec.registrations.size();
    g_rec.registrations.push_back({destination, source});
    HRESULT answer = call < g_rec.answers.size() ? g_rec.answers[call] : S_OK;
    *id = SUCCEEDED(answer) ? reinterpret_cast<HTHUMBNAIL>(g_rec.nextId++) : nullptr;
    return answer;
}
HRESULT WINAPI RecordUpdate(HTHUMBNAIL id, const DWM_THUMBNAIL_PROPERTIES* properties) {
    g_rec.updates.push_back({id, properties->dwFlags, properties->rcDestination, properties->fVisible});
    return S_OK;
}
HRESULT WINAPI RecordUnregister(HTHUMBNAIL id) {
    g_rec.unregistrations.push_back(reinterpret_cast<uintptr_t>(id));
    return S_OK;
}

void ExpectRect(const RECT& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

class Thumbnails : public testing::Test {
  protected:
    void SetUp() override {
        g_rec = Recorder{};
        api = ThumbnailApi{RecordRegister, RecordUpdate, RecordUnregister};
        design.thumbnail = 1;
        // Wine's desktop may have no window of that class; then the test provides one.
        desktop = FindWindowW(L"Progman", nullptr);
        if (!desktop) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"Progman";
            RegisterClassExW(&wc);
            ownDesktop = CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP, 0, 0, 10,
                                         10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            desktop = ownDesktop;
        }
        mainWindow = test::CreateTestWindow(L"Popup", WS_POPUP, WS_EX_TOOLWINDOW, nullptr, 0, 0, 328, 446);
        windows[0] = test::CreateTestWindow(L"First", WS_POPUP, WS_EX_TOOLWINDOW);
        windows[1] = test::CreateTestWindow(L"Second", WS_POPUP, WS_EX_TOOLWINDOW);
    }
    void TearDown() override {
        for (HWND w : {mainWindow, windows[0], windows[1], ownDesktop})
            if (w)
                DestroyWindow(w);
    }
    // The example: two windows, one launcher entry, the desktop and cancel commands, W = 200.
    void FillExample() {
        for (HWND w : windows) {
            ListItem item;
            InitListItem(item, L"", nullptr, w, KindWindow);
            AppendListItem(*list, item);
        }
        state.windowCount = 2;
        state.launcherCount = 1;
        state.commandCount = 2;
        state.textColumnWidth = 200;
    }

    ThumbnailApi api; // the recorders, as the program's services hold the functions
    Design design;
    SelectionState state;
    std::unique_ptr<ItemList> list = CreateItemList();
    HWND mainWindow = nullptr, desktop = nullptr, ownDesktop = nullptr;
    HWND windows[2] = {};
};

TEST_F(Thumbnails, EveryWindowAndTheDesktopPlacedAtTheirBoxes) {
    FillExample();
    ThumbnailSet set;
    RegisterThumbnails(api, set, mainWindow, *list, state, design, true, 1920, 1080);

    ASSERT_EQ(g_rec.registrations.size(), 3u);
    for (const Registration& r : g_rec.registrations)
        EXPECT_EQ(r.destination, mainWindow);
    EXPECT_EQ(g_rec.registrations[0].source, windows[0]);
    EXPECT_EQ(g_rec.registrations[1].source, windows[1]);
    EXPECT_EQ(g_rec.registrations[2].source, desktop);

    ASSERT_EQ(g_rec.updates.size(), 3u);
    for (const Update& u : g_rec.updates) {
        EXPECT_EQ(u.flags, static_cast<DWORD>(DWM_TNP_RECTDESTINATION | DWM_TNP_VISIBLE));
        EXPECT_TRUE(u.visible);
    }
    EXPECT_EQ(reinterpret_cast<uintptr_t>(g_rec.updates[0].id), 101u);
    ExpectRect(g_rec.updates[0].destination, 12, 44, 112, 120);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(g_rec.updates[1].id), 102u);
    ExpectRect(g_rec.updates[1].destination, 12, 152, 112, 228);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(g_rec.updates[2].id), 103u);
    ExpectRect(g_rec.updates[2].destination, 12, 318, 112, 394);

    ASSERT_EQ(set.ThumbnailIds.size(), 3u);
    UnregisterThumbnails(api, set);
    EXPECT_EQ(g_rec.unregistrations, (std::vector<uintptr_t>{101, 102, 103}));
    EXPECT_TRUE(set.ThumbnailIds.empty());
    // A second close has nothing left to unregister.
    UnregisterThumbnails(api, set);
    EXPECT_EQ(g_rec.unregistrations.size(), 3u);
}

TEST_F(Thumbnails, LauncherOnlyPopupHoldsOnlyTheDesktopPlace) {
    state.launcherCount = 1;
    state.commandCount = 2;
    state.textColumnWidth = 200;
    state.section = SectionLauncher;
    ThumbnailSet set;
    RegisterThumbnails(api, set, mainWindow, *list, state, design, true, 1920, 1080);
    ASSERT_EQ(set.ThumbnailIds.size(), 1u);
    ASSERT_EQ(g_rec.registrations.size(), 1u);
    EXPECT_EQ(g_rec.registrations[0].source, desktop);
    // Commands start below the launcher row and a separator: 12 + 40 + 9 = 61; the box 4 + 28 lower.
    ASSERT_EQ(g_rec.updates.size(), 1u);
    ExpectRect(g_rec.updates[0].destination, 12, 93, 112, 169);
    UnregisterThumbnails(api, set);
    EXPECT_EQ(g_rec.unregistrations, (std::vector<uintptr_t>{101}));
}

TEST_F(Thumbnails, WithoutTheDesktopToggleNoDesktopThumbnail) {
    FillExample();
    state.commandCount = 1; // cancel only
    ThumbnailSet set;
    RegisterThumbnails(api, set, mainWindow, *list, state, design, false, 1920, 1080);
    ASSERT_EQ(g_rec.registrations.size(), 2u);
    EXPECT_EQ(g_rec.registrations[1].source, windows[1]);
    ASSERT_EQ(g_rec.updates.size(), 2u);
    ExpectRect(g_rec.updates[0].destination, 12, 44, 112, 120);
    UnregisterThumbnails(api, set);
    EXPECT_EQ(g_rec.unregistrations, (std::vector<uintptr_t>{101, 102}));
}

TEST_F(Thumbnails, RefusedRegistrationsAreNeitherPlacedNorUnregistered) {
    FillExample();
    // The compositor refuses the second window (say, it closed), then everything (composition off).
    g_rec.answers = {S_OK, E_INVALIDARG, S_OK};
    ThumbnailSet set;
    RegisterThumbnails(api, set, mainWindow, *list, state, design, true, 1920, 1080);
    EXPECT_EQ(g_rec.registrations.size(), 3u);
    ASSERT_EQ(g_rec.updates.size(), 2u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(g_rec.updates[0].id), 101u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(g_rec.updates[1].id), 102u);
    ExpectRect(g_rec.updates[1].destination, 12, 318, 112, 394);
    UnregisterThumbnails(api, set);
    EXPECT_EQ(g_rec.unregistrations, (std::vector<uintptr_t>{101, 102}));

    g_rec = Recorder{};
    g_rec.answers = {E_NOTIMPL, E_NOTIMPL, E_NOTIMPL};
    RegisterThumbnails(api, set, mainWindow, *list, state, design, true, 1920, 1080);
    EXPECT_EQ(g_rec.registrations.size(), 3u);
    EXPECT_TRUE(g_rec.updates.empty());
    UnregisterThumbnails(api, set);
    EXPECT_TRUE(g_rec.unregistrations.empty());
}

TEST_F(Thumbnails, NoCompositorFunctionsMeansNoThumbnailsAndNoCrash) {
    FillExample();
    api = ThumbnailApi{};
    ThumbnailSet set;
    RegisterThumbnails(api, set, mainWindow, *list, state, design, true, 1920, 1080);
    UnregisterThumbnails(api, set);
    EXPECT_TRUE(g_rec.registrations.empty());
    EXPECT_TRUE(set.ThumbnailIds.empty());
}

// Sources: the first window wide, the second tall, the desktop of no known size.
HRESULT WINAPI SourceSize(HTHUMBNAIL id, PSIZE size) {
    const uintptr_t n = reinterpret_cast<uintptr_t>(id);
    *size = n == 101 ? SIZE{400, 100} : SIZE{100, 400};
    return n <= 102 ? S_OK : E_FAIL;
}

TEST_F(Thumbnails, EachThumbnailKeepsItsWindowsShapeCentredInItsBox) {
    FillExample();
    api.querySourceSize = SourceSize;
    ThumbnailSet set;
    RegisterThumbnails(api, set, mainWindow, *list, state, design, true, 1920, 1080);
    ASSERT_EQ(g_rec.updates.size(), 3u);
    // Boxes 100 x 76: 400 x 100 fits as 100 x 25, 100 x 400 as 19 x 76.
    ExpectRect(g_rec.updates[0].destination, 12, 44 + 25, 112, 44 + 25 + 25);
    ExpectRect(g_rec.updates[1].destination, 12 + 40, 152, 12 + 40 + 19, 228);
    ExpectRect(g_rec.updates[2].destination, 12, 318, 112, 394);
    UnregisterThumbnails(api, set);
}

} // namespace
