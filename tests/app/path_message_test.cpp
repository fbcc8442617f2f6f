#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/command_line.h"

namespace {

struct SeenBox {
    bool found = false;
    std::wstring texts;
    bool errorIcon = false;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* seen = reinterpret_cast<SeenBox*>(param);
    wchar_t text[1024] = {};
    GetWindowTextW(child, text, 1024);
    seen->texts += text;
    seen->texts += L'\n';
    const HICON hand = LoadIconW(nullptr, IDI_HAND);
    if (hand && reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == hand)
        seen->errorIcon = true;
    return TRUE;
}

// Waits for this process's message box captioned "Mistlewick", records what it says and
// dismisses it.
void AnswerMessageBox(SeenBox* seen) {
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (GetTickCount64() < deadline) {
        HWND box = FindWindowW(L"#32770", L"Mistlewick");
        DWORD pid = 0;
        if (box)
            GetWindowThreadProcessId(box, &pid);
        if (box && pid == GetCurrentProcessId() && IsWindowVisible(box)) {
            seen->found = true;
            EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(seen));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return;
        }
        Sleep(20);
    }
}

TEST(ShowPathTooLongMessage, NamesTheFileInAnErrorBox) {
    const std::wstring name = L"C:\\Tools\\" + std::wstring(300, L'n') + L".ini";
    SeenBox seen;
    std::thread answer(AnswerMessageBox, &seen);
    mw::ShowPathTooLongMessage(name);
    answer.join();
    ASSERT_TRUE(seen.found);
    EXPECT_NE(seen.texts.find(L"長すぎ"), std::wstring::npos);
    EXPECT_NE(seen.texts.find(name), std::wstring::npos);
    EXPECT_TRUE(seen.errorIcon);
}

} // namespace
