#include "harness/Screenshot.h"

#include "harness/Files.h"

#include <cstring>

namespace e2e {

ScreenCapture CaptureScreen(const RECT& area) {
    ScreenCapture capture;
    capture.area = area;
    LONG width = capture.width();
    LONG height = capture.height();
    if (width <= 0 || height <= 0) return capture;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
            GdiFlush();
            capture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
            std::memcpy(capture.pixels.data(), bits, capture.pixels.size() * sizeof(std::uint32_t));
            for (std::uint32_t& p : capture.pixels) p &= 0x00FFFFFF;
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

ScreenCapture CaptureWholeScreen() {
    RECT all{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return CaptureScreen(all);
}

bool SaveBmp(const ScreenCapture& capture, const std::string& path) {
    LONG width = capture.width();
    LONG height = capture.height();
    if (capture.pixels.empty()) return false;
    DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    DWORD imageBytes = rowBytes * static_cast<DWORD>(height);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageBytes;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up rows, the form every reader takes
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = imageBytes;

    std::string data(reinterpret_cast<const char*>(&file), sizeof file);
    data.append(reinterpret_cast<const char*>(&header), sizeof header);
    std::string row(rowBytes, '\0');
    for (LONG y = height - 1; y >= 0; --y) {
        for (LONG x = 0; x < width; ++x) {
            std::uint32_t p = capture.pixels[static_cast<std::size_t>(y * width + x)];
            row[static_cast<std::size_t>(x * 3)] = static_cast<char>(p & 0xFF);
            row[static_cast<std::size_t>(x * 3 + 1)] = static_cast<char>((p >> 8) & 0xFF);
            row[static_cast<std::size_t>(x * 3 + 2)] = static_cast<char>((p >> 16) & 0xFF);
        }
        data += row;
    }
    return WriteTextFile(path, data);
}

std::string OutputPath(const std::string& name) {
    std::string folder = ToWindowsPath(E2E_OUTPUT_DIR);
    CreateDirectoryA(folder.c_str(), nullptr);
    return JoinPath(folder, name);
}

std::string SaveScreenshot(const std::string& name) {
    std::string path = OutputPath(name);
    return SaveBmp(CaptureWholeScreen(), path) ? path : std::string();
}

}  // namespace e2e
