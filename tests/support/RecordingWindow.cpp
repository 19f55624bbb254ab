#include "support/RecordingWindow.h"

#ifndef _WIN32
#include "platform/sim/SimDesktop.h"
#endif

#include <algorithm>
#include <cstdio>
#include <set>

namespace testsupport {

namespace {

std::set<UINT>& Watched() {
    static std::set<UINT> watched;
    return watched;
}

std::vector<LoggedMessage>& Log() {
    static std::vector<LoggedMessage> log;
    return log;
}

MessageAnswer& Answer() {
    static MessageAnswer answer;
    return answer;
}

std::string Hex(unsigned long long value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

}  // namespace

void WatchMessages(std::initializer_list<UINT> messages) {
    Watched() = std::set<UINT>(messages);
    Log().clear();
}

std::vector<LoggedMessage> TakeLog() {
    std::vector<LoggedMessage> taken;
    taken.swap(Log());
    return taken;
}

void AnswerMessages(MessageAnswer answer) {
    Answer() = std::move(answer);
}

LRESULT CALLBACK RecordingWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (Watched().count(msg)) Log().push_back(LoggedMessage{hwnd, msg, wParam, lParam});
    if (Answer()) {
        // A copy: the answer may replace itself.
        MessageAnswer answer = Answer();
        LRESULT result = 0;
        if (answer(hwnd, msg, wParam, lParam, result)) return result;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

const char* RecordingClassName() {
    static const char* const name = "QuellmarStarterTestRecordingWindow";
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordingWindowProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassExA(&wc);  // a second registration fails harmlessly
    return name;
}

HWND CreateRecordingWindow(const std::string& caption, DWORD style, DWORD exStyle, RECT rect) {
    return CreateWindowExA(exStyle, RecordingClassName(), caption.c_str(), style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

bool SequenceMatches(const std::vector<LoggedMessage>& got, const std::vector<ExpectedMessage>& expected) {
    if (got.size() != expected.size()) return false;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i].message != expected[i].message) return false;
        if (expected[i].checkWParam && got[i].wParam != expected[i].wParam) return false;
    }
    return true;
}

std::string DescribeSequence(const std::vector<LoggedMessage>& got, const std::vector<ExpectedMessage>& expected) {
    std::string text = "expected:\n";
    for (const ExpectedMessage& e : expected)
        text += "  " + Hex(e.message) + (e.checkWParam ? " wParam " + Hex(e.wParam) : std::string()) + "\n";
    text += "got:\n";
    for (const LoggedMessage& m : got)
        text += "  " + Hex(m.message) + " wParam " + Hex(m.wParam) + " lParam " +
                Hex(static_cast<unsigned long long>(m.lParam)) + "\n";
    return text;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void FreshDesktop() {
#ifndef _WIN32
    sim::Reset();
#endif
    WatchMessages({});
    AnswerMessages(nullptr);
}

}  // namespace testsupport
