// The screen as the user sees it: captured through the screen's device
// context (under Wine that reads the X display), kept as 0x00RRGGBB
// pixels, and saved as a 24-bit BMP file in the build tree.
#pragma once

#include "platform/Win32Api.h"

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct ScreenCapture {
    RECT area{};
    std::vector<std::uint32_t> pixels;  // row by row from the top, 0x00RRGGBB

    LONG width() const { return area.right - area.left; }
    LONG height() const { return area.bottom - area.top; }
    // The pixel at screen coordinates (x, y), which must lie in area.
    std::uint32_t At(LONG x, LONG y) const {
        return pixels[static_cast<std::size_t>((y - area.top) * width() + (x - area.left))];
    }
};

// An empty capture (no pixels) when the screen can't be read.
ScreenCapture CaptureScreen(const RECT& area);
ScreenCapture CaptureWholeScreen();

bool SaveBmp(const ScreenCapture& capture, const std::string& path);

// A path for an output file of the tests (screenshots): the output folder
// of the build tree, created when missing, with name in it.
std::string OutputPath(const std::string& name);

// Saves the whole screen as OutputPath(name); gives the path, or "" when
// it failed.
std::string SaveScreenshot(const std::string& name);

}  // namespace e2e
