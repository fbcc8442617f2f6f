#include "model/frame_host.h"

#include <gtest/gtest.h>

namespace {

using namespace mw;

TEST(FrameHost, TheProgramOfAHostWindowIsItsForeignContent) {
    HWND frame = reinterpret_cast<HWND>(0x10);
    HWND content = reinterpret_cast<HWND>(0x20);
    const wchar_t* host = L"C:\\Windows\\System32\\ApplicationFrameHost.exe";
    const struct {
        const char* name;
        const wchar_t* framePath;
        HWND content;
        DWORD contentProcess;
        HWND expected;
    } rows[] = {
        {"host with the app's content", host, content, 7, content},
        {"host name in other letter case", L"c:\\x\\applicationframehost.EXE", content, 7, content},
        {"bare host name", L"ApplicationFrameHost.exe", content, 7, content},
        {"host without content", host, nullptr, 0, frame},
        {"content of the host's own process", host, content, 5, frame},
        {"content of an unknown process", host, content, 0, frame},
        {"another program with such a child", L"C:\\apps\\viewer.exe", content, 7, frame},
        {"a name that only ends like the host", L"C:\\x\\MyApplicationFrameHost.exe", content, 7, frame},
        {"unknown path", L"", content, 7, frame},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ProgramWindowOfFrame(frame, row.framePath, 5, row.content, row.contentProcess), row.expected)
            << row.name;
    EXPECT_FALSE(IsFrameHostProgram(nullptr));
}

} // namespace
