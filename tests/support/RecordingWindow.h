// Windows for the contract tests of the window manager: a window class whose
// procedure writes the messages a test watches into a log, in the order they
// arrive, and lets a test answer any message itself. Works alike against the
// simulated desktop and the real one.
#pragma once

#include "platform/Win32Api.h"

#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

struct LoggedMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The messages to log (all others are passed over: the real desktop sends
// many that don't matter to a test). Clears the log.
void WatchMessages(std::initializer_list<UINT> messages);
// Takes what was logged so far and empties the log.
std::vector<LoggedMessage> TakeLog();

// Called for every message of a recording window before its default
// handling; return true and set result to answer the message yourself.
using MessageAnswer = std::function<bool(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
void AnswerMessages(MessageAnswer answer);

// The recording window class's name (registered on first use) and its
// procedure, which logs, asks the answer function, else DefWindowProcA.
const char* RecordingClassName();
LRESULT CALLBACK RecordingWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// A top-level window of the recording class; hidden unless style says
// WS_VISIBLE.
HWND CreateRecordingWindow(const std::string& caption, DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0,
                           RECT rect = RECT{50, 50, 450, 350});

// One expected message: wParam is compared only when checkWParam is set.
struct ExpectedMessage {
    UINT message;
    bool checkWParam = false;
    WPARAM wParam = 0;
};
// Text for a failure message: both sequences, one message a line.
std::string DescribeSequence(const std::vector<LoggedMessage>& got, const std::vector<ExpectedMessage>& expected);
bool SequenceMatches(const std::vector<LoggedMessage>& got, const std::vector<ExpectedMessage>& expected);

// Takes everything posted to this thread out of its queue and dispatches it.
void PumpMessages();

// Resets the test's view of the desktop: the simulation is reset natively;
// under Wine nothing is shared between tests except what they leave.
void FreshDesktop();

}  // namespace testsupport
