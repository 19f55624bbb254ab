// The tray icon follows the display's DPI: the main form, with its icon in
// the session's tray, loads the program icon again at the small-icon size of
// each new DPI, hands it to the tray and destroys the one it replaced. The
// prefix runs at 96 DPI, so every other size here comes from the messages.
#include "core/Mfrm.h"
#include "platform/Win32Api.h"

#include <gtest/gtest.h>

namespace {

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

TEST(Dpi, TheTrayIconIsLoadedAgainAtTheSmallIconSizeOfEachNewDpi) {
    Mfrm form;
    ASSERT_TRUE(form.Create());
    ASSERT_TRUE(form.AddTrayIcon(form, form, "Quellmar Starter"));
    ASSERT_EQ(IconWidth(form.Icon()), 16);
    // A message left unhandled, its DPI not taken from wParam, or the size
    // read for the system's DPI only, leaves a row with the wrong width. The
    // display change and the new taskbar read the window's own DPI (96).
    const struct { UINT msg; WORD dpi; int width; } rows[] = {
        {WM_DPICHANGED, 144, 24}, {WM_DPICHANGED, 96, 16}, {WM_DPICHANGED, 120, 20},
        {WM_DISPLAYCHANGE, 0, 16}, {WM_DPICHANGED, 144, 24}, {RegisterWindowMessageA("TaskbarCreated"), 0, 16},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << row.msg << std::dec << ", DPI " << row.dpi);
        HICON replaced = form.Icon();
        RECT suggested{0, 0, 0, 0};
        SendMessageA(form.hwnd(), row.msg, MAKEWPARAM(row.dpi, row.dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(IconWidth(form.Icon()), row.width);
        // The icon replaced is destroyed: the form owns each one once.
        ICONINFO info{};
        EXPECT_FALSE(GetIconInfo(replaced, &info));
    }
    EXPECT_TRUE(form.RemoveTrayIcon(form, form));
}

}  // namespace
