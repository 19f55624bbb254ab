// Message boxes: each call is recorded and answered from the test's script,
// while a modal loop keeps dispatching what is posted meanwhile.
#include "platform/sim/UserState.h"

#include <string>

using namespace sim::user;

namespace {

bool BoxHasButton(UINT type, int answer) {
    switch (type & MB_TYPEMASK) {
    case MB_OK: return answer == IDOK;
    case MB_OKCANCEL: return answer == IDOK || answer == IDCANCEL;
    case MB_ABORTRETRYIGNORE: return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
    case MB_YESNOCANCEL: return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO: return answer == IDYES || answer == IDNO;
    case MB_RETRYCANCEL: return answer == IDRETRY || answer == IDCANCEL;
    default: return false;
    }
}

std::string Describe(const sim::MessageBoxCall& call) {
    return "message box \"" + call.text + "\" (caption \"" + call.caption + "\", style " + std::to_string(call.style) +
           ")";
}

}  // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    State& s = S();
    sim::MessageBoxCall call;
    call.owner = owner;
    call.text = text ? text : "";
    call.caption = caption ? caption : "Error";  // Windows' title for a box without one
    call.style = type;
    s.messageBoxes.push_back(call);
    const std::size_t record = s.messageBoxes.size() - 1;

    PumpModalLoop();
    if (S().messageBoxHook) {
        std::function<void(const sim::MessageBoxCall&)> hook = S().messageBoxHook;
        hook(call);
        PumpModalLoop();
    }

    int answer = 0;
    if (!S().messageBoxAnswers.empty()) {
        answer = S().messageBoxAnswers.front();
        S().messageBoxAnswers.pop_front();
        if (!BoxHasButton(type, answer))
            throw sim::UnscriptedInteraction("scripted answer " + std::to_string(answer) + " is no button of the " +
                                             Describe(call));
    } else if ((type & MB_TYPEMASK) == MB_OK) {
        answer = IDOK;
    } else {
        throw sim::UnscriptedInteraction("no scripted answer for the " + Describe(call));
    }
    if (record < S().messageBoxes.size()) S().messageBoxes[record].answer = answer;
    return answer;
}

namespace sim {

const std::vector<MessageBoxCall>& MessageBoxes() {
    return user::S().messageBoxes;
}

void ClearMessageBoxes() {
    user::S().messageBoxes.clear();
}

void AnswerMessageBoxes(std::vector<int> answers) {
    for (int answer : answers) user::S().messageBoxAnswers.push_back(answer);
}

void SetMessageBoxHook(std::function<void(const MessageBoxCall&)> hook) {
    user::S().messageBoxHook = std::move(hook);
}

const std::vector<InputBoxCall>& InputBoxes() {
    return user::S().inputBoxes;
}

void ClearInputBoxes() {
    user::S().inputBoxes.clear();
}

void AnswerInputBoxes(std::vector<std::string> answers) {
    for (std::string& answer : answers) user::S().inputBoxAnswers.push_back(std::move(answer));
}

void SetInputBoxHook(std::function<void(const InputBoxCall&)> hook) {
    user::S().inputBoxHook = std::move(hook);
}

}  // namespace sim
