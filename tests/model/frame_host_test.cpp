#include "system/frame_host.h"

#include <gtest/gtest.h>

namespace {

using namespace mw;

// The frame (process 5) and its content child: the content is the program only in the host's
// frame, and only when another process owns it.
TEST(FrameHost, TheProgramOfAHostWindowIsItsForeignContent) {
    HWND frame = reinterpret_cast<HWND>(0x10), content = reinterpret_cast<HWND>(0x20);
    const wchar_t* host = L"C:\\Windows\\System32\\ApplicationFrameHost.exe";
    EXPECT_EQ(ProgramWindowOfFrame(frame, host, 5, content, 7), content);
    EXPECT_EQ(ProgramWindowOfFrame(frame, L"c:\\x\\applicationframehost.EXE", 5, content, 7), content);
    EXPECT_EQ(ProgramWindowOfFrame(frame, host, 5, nullptr, 0), frame) << "no content";
    EXPECT_EQ(ProgramWindowOfFrame(frame, host, 5, content, 5), frame) << "the host's own child";
    EXPECT_EQ(ProgramWindowOfFrame(frame, L"C:\\apps\\viewer.exe", 5, content, 7), frame);
    EXPECT_EQ(ProgramWindowOfFrame(frame, L"C:\\x\\MyApplicationFrameHost.exe", 5, content, 7), frame);
    EXPECT_EQ(ProgramWindowOfFrame(frame, L"", 5, content, 7), frame) << "unknown path";
}

} // namespace
