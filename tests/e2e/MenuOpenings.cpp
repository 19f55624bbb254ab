// Use doesn't make the starter grow: after a few openings of its menu to
// warm up, 500 more openings (a real click on the icon each time, Esc to
// close) leave its GDI objects, USER objects and kernel handles where they
// were, and its private memory within a small fixed margin. The figures
// and the time taken are printed.
//
// The first case checks the measuring itself: figures that could not rise
// would make the second one pass whatever the starter does.
#include "harness/ProcessResources.h"
#include "harness/StarterTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace e2e {
namespace {

constexpr int kWarmUpOpenings = 5;
constexpr int kOpenings = 500;
// Private memory may move by a few pages that the system's libraries
// touch for the first time; anything the starter kept per opening would
// pass this after 500 openings.
constexpr std::size_t kPrivateMemoryMargin = 64 * 1024;

void Print(const char* label, const ResourceFigures& figures) {
    std::printf("%-28s %s\n", label, Describe(figures).c_str());
}

void PrintSources(const ResourceFigures& f) {
    std::printf("measured: gdi by %s; user by %s; handles by %s; private memory by %s\n", f.gdiObjects.how.c_str(),
                f.userObjects.how.c_str(), f.kernelHandles.how.c_str(), f.privateBytes.how.c_str());
}

bool AllMeasured(const ResourceFigures& f) {
    return f.gdiObjects.value && f.userObjects.value && f.kernelHandles.value && f.privateBytes.value;
}

// Each kind of figure in turn: it rises by what the test process takes
// and falls back when it gives that back.
class ResourceFiguresOfTheTestProcess : public ::testing::Test {
protected:
    static ResourceFigures Now() { return MeasureResources(GetCurrentProcess(), GetCurrentProcessId()); }
    void SetUp() override {
        ResourceFigures first = Now();
        ASSERT_TRUE(AllMeasured(first)) << Describe(first);
    }
};

TEST_F(ResourceFiguresOfTheTestProcess, GdiObjectsCountBrushes) {
    std::size_t before = *Now().gdiObjects.value;
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 10; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    EXPECT_EQ(*Now().gdiObjects.value, before + 10);
    for (HBRUSH brush : brushes) DeleteObject(brush);
    EXPECT_EQ(*Now().gdiObjects.value, before);
}

TEST_F(ResourceFiguresOfTheTestProcess, UserObjectsCountWindowsOfEveryKind) {
    // The first window of a thread brings helper windows of the system
    // along; they are there before the count starts.
    HWND first = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(first, nullptr);
    std::size_t before = *Now().userObjects.value;
    HWND topLevel = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, topLevel, nullptr, nullptr, nullptr);
    HWND messageOnly = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(topLevel && child && messageOnly);
    EXPECT_GE(*Now().userObjects.value, before + 3);
    DestroyWindow(messageOnly);
    DestroyWindow(topLevel);  // and its child
    EXPECT_EQ(*Now().userObjects.value, before);
    DestroyWindow(first);
}

TEST_F(ResourceFiguresOfTheTestProcess, KernelHandlesCountEvents) {
    std::size_t before = *Now().kernelHandles.value;
    std::vector<HANDLE> events;
    for (int i = 0; i < 5; ++i) events.push_back(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    EXPECT_EQ(*Now().kernelHandles.value, before + 5);
    for (HANDLE event : events) CloseHandle(event);
    EXPECT_EQ(*Now().kernelHandles.value, before);
}

TEST_F(ResourceFiguresOfTheTestProcess, PrivateMemoryCountsTouchedPages) {
    std::size_t before = *Now().privateBytes.value;
    constexpr std::size_t kTouched = 4 * 1024 * 1024;
    auto* memory = static_cast<char*>(VirtualAlloc(nullptr, kTouched, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(memory, nullptr);
    for (std::size_t i = 0; i < kTouched; i += 4096) memory[i] = 1;
    std::size_t taken = *Now().privateBytes.value;
    EXPECT_GE(taken, before + kTouched);
    VirtualFree(memory, 0, MEM_RELEASE);
    EXPECT_LE(*Now().privateBytes.value, taken - kTouched + kPrivateMemoryMargin);
}

class MenuOpenings : public StarterTest {
protected:
    // One opening as the user makes it: a click on the icon, the menu,
    // Esc, and the starter back at rest.
    bool OpenAndClose(HWND icon, const StartedProcess& starter) {
        if (!ClickTrayIcon(icon) || !WaitForPopupMenu(starter.pid())) return false;
        PressKey(VK_ESCAPE);
        return WaitForPopupMenusClosed(starter.pid()) && starter.WaitUntilIdle();
    }
};

TEST_F(MenuOpenings, FiveHundredOpeningsLeaveNoObjectsAndNoMemoryBehind) {
    StartedProcess starter;
    HWND icon = StartStarterWithIcon(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(starter.WaitUntilIdle());

    for (int i = 0; i < kWarmUpOpenings; ++i) ASSERT_TRUE(OpenAndClose(icon, starter)) << "warm-up opening " << i + 1;
    ResourceFigures begin = MeasureResources(starter.handle(), starter.pid());
    PrintSources(begin);
    ASSERT_TRUE(AllMeasured(begin)) << Describe(begin);
    // A figure of 0 could not show a leak of its kind.
    ASSERT_GT(*begin.gdiObjects.value, 0u);
    ASSERT_GT(*begin.userObjects.value, 0u);
    Print("after warm-up:", begin);

    const ULONGLONG started = GetTickCount64();
    ResourceFigures half;
    for (int i = 1; i <= kOpenings; ++i) {
        ASSERT_TRUE(OpenAndClose(icon, starter)) << "opening " << i << " of " << kOpenings;
        if (i == kOpenings / 2) half = MeasureResources(starter.handle(), starter.pid());
    }
    const ULONGLONG elapsed = GetTickCount64() - started;
    ResourceFigures end = MeasureResources(starter.handle(), starter.pid());
    ASSERT_TRUE(AllMeasured(end)) << Describe(end);

    Print("after 250 openings:", half);
    Print("after 500 openings:", end);
    std::printf("%d openings took %.1f s (%.0f ms each)\n", kOpenings, static_cast<double>(elapsed) / 1000.0,
                static_cast<double>(elapsed) / kOpenings);

    EXPECT_EQ(*end.gdiObjects.value, *begin.gdiObjects.value) << "GDI objects";
    EXPECT_EQ(*end.userObjects.value, *begin.userObjects.value) << "USER objects";
    EXPECT_EQ(*end.kernelHandles.value, *begin.kernelHandles.value) << "kernel handles";
    EXPECT_LE(*end.privateBytes.value, *begin.privateBytes.value + kPrivateMemoryMargin) << "private memory";
    EXPECT_TRUE(starter.Running());
}

}  // namespace
}  // namespace e2e
