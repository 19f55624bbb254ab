// The simulated input box: the prompt, title and default text are recorded,
// and the text typed comes from the test's script.
#include "platform/AppRuntime.h"
#include "platform/sim/UserState.h"

namespace platform {

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    using sim::user::S;
    sim::InputBoxCall call;
    call.prompt = prompt;
    call.title = title;
    call.defaultText = defaultText;
    S().inputBoxes.push_back(call);
    const std::size_t record = S().inputBoxes.size() - 1;

    sim::user::PumpModalLoop();
    if (S().inputBoxHook) {
        std::function<void(const sim::InputBoxCall&)> hook = S().inputBoxHook;
        hook(call);
        sim::user::PumpModalLoop();
    }

    if (S().inputBoxAnswers.empty())
        throw sim::UnscriptedInteraction("no scripted answer for the input box \"" + prompt + "\" (title \"" + title +
                                         "\")");
    std::string answer = S().inputBoxAnswers.front();
    S().inputBoxAnswers.pop_front();
    if (record < S().inputBoxes.size()) S().inputBoxes[record].answer = answer;
    return answer;
}

}  // namespace platform
