// The program icon: the images the program file carries, and the icon the
// tray shows for the running starter.
#include "harness/StarterTest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>

namespace e2e {
namespace {

// The icon group resource as the program file stores it.
#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

class ProgramIcon : public StarterTest {
protected:
    void SetUp() override {
        StarterTest::SetUp();
        module_ = LoadLibraryExA(starterPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "error " << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
        StarterTest::TearDown();
    }

    HMODULE module_ = nullptr;
};

TEST_F(ProgramIcon, HoldsEveryImageOfTheProgramIcon) {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(found, nullptr) << "no icon 1 in the program file";
    const auto* header = static_cast<const GroupIconHeader*>(LockResource(LoadResource(module_, found)));
    ASSERT_NE(header, nullptr);
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);

    std::set<std::pair<int, int>> images;  // (size, bits per pixel)
    for (WORD i = 0; i < header->count; ++i) {
        images.insert({entries[i].width == 0 ? 256 : entries[i].width, entries[i].bitCount});
    }
    // 32x32 and 16x16 in 16 and 256 colours, plus the sizes of today's
    // small and large icons at higher resolutions in full colour.
    std::set<std::pair<int, int>> expected{{32, 4}, {32, 8}, {16, 4}, {16, 8}, {20, 32}, {24, 32}, {40, 32}, {48, 32}};
    EXPECT_EQ(images, expected);
}

// The tray draws the icon that the starter handed it: the program icon at
// the small icon size. Drawn the same way onto the tray's background, it
// must give the same pixels as the screen shows in the icon's place.
TEST_F(ProgramIcon, IsTheIconTheTrayShows) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    HICON programIcon = static_cast<HICON>(LoadImageA(module_, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0));
    ASSERT_NE(programIcon, nullptr);

    StartedProcess starter;
    HWND icon = StartStarterWithIcon(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(starter.WaitUntilIdle());
    MoveMouseTo(POINT{600, 600});  // no highlight or tooltip over the icon
    RECT place = WindowRect(icon);
    ScreenCapture shown;
    // Drawing happens after the icon window appears: wait until it is done.
    ASSERT_TRUE(WaitUntil([&] {
        shown = CaptureScreen(place);
        if (shown.pixels.empty()) return false;
        for (std::uint32_t p : shown.pixels) {
            if (p != shown.pixels.front()) return true;
        }
        return false;
    })) << "nothing is drawn in the icon's place";

    // Where in its window the tray puts the icon is its own business: try
    // every position and keep the best match.
    const std::uint32_t background = shown.pixels.front();
    const LONG w = shown.width();
    const LONG h = shown.height();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    double best = 0;
    for (LONG dy = 0; dy + size <= h; ++dy) {
        for (LONG dx = 0; dx + size <= w; ++dx) {
            RECT all{0, 0, w, h};
            FillRect(memory, &all, brush);
            DrawIconEx(memory, dx, dy, programIcon, size, size, 0, nullptr, DI_NORMAL);
            long same = 0;
            for (LONG y = 0; y < h; ++y) {
                for (LONG x = 0; x < w; ++x) {
                    COLORREF c = GetPixel(memory, x, y);
                    std::uint32_t drawn = (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
                                          (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
                    if (drawn == shown.At(place.left + x, place.top + y)) ++same;
                }
            }
            best = std::max(best, static_cast<double>(same) / static_cast<double>(w * h));
        }
    }
    DeleteObject(brush);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DestroyIcon(programIcon);

    EXPECT_GE(best, 0.98) << "the tray does not show the program icon (best match " << best * 100 << "%)";
}

}  // namespace
}  // namespace e2e
