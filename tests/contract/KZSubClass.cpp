// The subclassing engine against real windows: registration, the calling
// order of targets, the result protocol, restoration, and what callbacks may
// do to the tables while a message is in progress. Natively against the
// simulated desktop, under Wine against the real window manager.
#include "platform/Handles.h"
#include "platform/Win32Api.h"
#include "subclass/KZSubClassmod.h"
#include "support/RecordingWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using platform::unique_hwnd;
using namespace testsupport;

namespace {

constexpr UINT kPing = WM_USER + 1;
constexpr UINT kInner = WM_USER + 2;
constexpr LRESULT kOwnResult = 42;  // what the window's own procedure answers to kPing

// One call a target received.
struct TargetCall {
    std::string target;
    std::string sourceDescription;
    UINT msg;
    WPARAM wParam;
    LRESULT returnValueSeen;
    bool flagSeen;
};

std::vector<TargetCall>& Calls() {
    static std::vector<TargetCall> calls;
    return calls;
}

// A target form that records each call (for kPing and kInner only: a real
// window gets other messages too) and then does what the test asks.
class RecordingTarget : public KZSubClassTarget {
public:
    explicit RecordingTarget(std::string name) : name_(std::move(name)) {}

    using Action = std::function<void(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam, LRESULT& returnValue,
                                      bool& flag)>;
    Action onPing;

    void KZSubClassWindowProc(std::string& SourceDescription, HWND& hwnd, UINT& Msg, WPARAM& wParam, LPARAM& lParam,
                              LRESULT& ReturnValue, bool& ReturnValueUsedFlag) override {
        if (Msg != kPing && Msg != kInner) return;
        Calls().push_back(TargetCall{name_, SourceDescription, Msg, wParam, ReturnValue, ReturnValueUsedFlag});
        if (Msg == kPing && onPing) onPing(hwnd, Msg, wParam, lParam, ReturnValue, ReturnValueUsedFlag);
    }

private:
    std::string name_;
};

class WindowSource : public KZSubClassSource {
public:
    explicit WindowSource(HWND hwnd) : hwnd_(hwnd) {}
    HWND hwnd() const override { return hwnd_; }

private:
    HWND hwnd_;
};

std::vector<std::string> CalledTargets() {
    std::vector<std::string> names;
    for (const TargetCall& call : Calls()) names.push_back(call.target);
    return names;
}

class KZSubClassTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshDesktop();
        Calls().clear();
        // The window's own procedure answers kPing with kOwnResult; the log
        // tells how often it saw kPing and with which wParam.
        WatchMessages({kPing, kInner});
        AnswerMessages([](HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
            if (msg != kPing && msg != kInner) return false;
            result = msg == kPing ? kOwnResult : 0;
            return true;
        });
        window.reset(CreateRecordingWindow("subclassed", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 0, 0}));
        ASSERT_TRUE(window);
        ownProc = GetWindowLongPtrA(window.get(), GWLP_WNDPROC);
        source = std::make_unique<WindowSource>(window.get());
    }
    void TearDown() override {
        UnSubClassAll();
        window.reset();
        AnswerMessages(nullptr);
        WatchMessages({});
    }

    LRESULT Ping(WPARAM wParam = 0) { return SendMessageA(window.get(), kPing, wParam, 0); }
    // How often the window's own procedure saw kPing since the last look.
    int OwnProcPings() {
        int n = 0;
        for (const LoggedMessage& m : TakeLog()) n += m.message == kPing;
        return n;
    }
    bool Subclassed() const {
        return GetWindowLongPtrA(window.get(), GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubClass_WindowProc);
    }

    unique_hwnd window;
    LONG_PTR ownProc = 0;
    std::unique_ptr<WindowSource> source;
};

TEST_F(KZSubClassTest, RegisteringTheSamePairTwiceKeepsOneEntryOneTargetOneReplacement) {
    RecordingTarget a("a");
    KZSubClass(*source, "Same", a, True, nullptr, False);
    ASSERT_TRUE(Subclassed());
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_USERDATA), ownProc);
    KZSubClass(*source, "Same", a, True, nullptr, False);
    EXPECT_EQ(SubClass_EntryCount(), 1u);
    EXPECT_EQ(SubClass_Find("Same"), 1);
    EXPECT_EQ(TargetForm_Find(1, a), 1);
    // The slot still holds the window's own procedure, not the engine's.
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_USERDATA), ownProc);

    EXPECT_EQ(Ping(), kOwnResult);
    EXPECT_EQ(CalledTargets(), std::vector<std::string>{"a"});
    EXPECT_EQ(Calls()[0].sourceDescription, "Same");
    EXPECT_EQ(OwnProcPings(), 1);
}

TEST_F(KZSubClassTest, DisablingStopsTheCallsAndEnablingResumesThem) {
    RecordingTarget a("a");
    KZSubClass(*source, "Toggle", a, True, nullptr, False);
    Ping();
    KZSubClass(*source, "Toggle", a, False, nullptr, False);
    Ping();
    KZSubClass(*source, "Toggle", a, True, nullptr, False);
    Ping();
    EXPECT_EQ(CalledTargets(), (std::vector<std::string>{"a", "a"}));
    EXPECT_EQ(OwnProcPings(), 3);
    EXPECT_EQ(SubClass_EntryCount(), 1u);
}

TEST_F(KZSubClassTest, AFirstRegistrationDisabledSubclassesAndTheOwnResultComesBackUnchanged) {
    RecordingTarget a("a");
    KZSubClass(*source, "Disabled", a, False, nullptr, False);
    EXPECT_TRUE(Subclassed());
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_USERDATA), ownProc);
    EXPECT_EQ(Ping(), kOwnResult);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(OwnProcPings(), 1);
    KZSubClass(*source, "Disabled", a, True, nullptr, False);
    EXPECT_EQ(Ping(), kOwnResult);
    EXPECT_EQ(CalledTargets(), std::vector<std::string>{"a"});
}

TEST_F(KZSubClassTest, ATargetsResultReplacesTheOwnProcedureAndLaterTargetsSeeIt) {
    RecordingTarget first("first");
    RecordingTarget second("second");
    first.onPing = [](HWND&, UINT&, WPARAM&, LPARAM&, LRESULT& value, bool& flag) {
        value = 5;
        flag = true;
    };
    KZSubClass(*source, "Result", first, True, nullptr, False);
    KZSubClass(*source, "Result", second, True, nullptr, False);
    EXPECT_EQ(Ping(), 5);
    EXPECT_EQ(OwnProcPings(), 0);
    ASSERT_EQ(CalledTargets(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(Calls()[0].returnValueSeen, 0);
    EXPECT_FALSE(Calls()[0].flagSeen);
    EXPECT_EQ(Calls()[1].returnValueSeen, 5);
    EXPECT_TRUE(Calls()[1].flagSeen);
}

TEST_F(KZSubClassTest, AValueSetWithoutTheFlagIsIgnored) {
    RecordingTarget a("a");
    a.onPing = [](HWND&, UINT&, WPARAM&, LPARAM&, LRESULT& value, bool&) { value = 5; };
    KZSubClass(*source, "NoFlag", a, True, nullptr, False);
    EXPECT_EQ(Ping(), kOwnResult);
    EXPECT_EQ(OwnProcPings(), 1);
}

TEST_F(KZSubClassTest, AChangedWParamReachesLaterTargetsAndTheOwnProcedure) {
    RecordingTarget first("first");
    RecordingTarget second("second");
    first.onPing = [](HWND&, UINT&, WPARAM& wParam, LPARAM&, LRESULT&, bool&) { wParam = 77; };
    KZSubClass(*source, "Changes", first, True, nullptr, False);
    KZSubClass(*source, "Changes", second, True, nullptr, False);
    Ping(11);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[0].wParam, 11u);
    EXPECT_EQ(Calls()[1].wParam, 77u);
    const std::vector<LoggedMessage> own = TakeLog();
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].wParam, 77u);
}

TEST_F(KZSubClassTest, TwoSourceNamesOnOneWindowShareOneReplacement) {
    RecordingTarget a("a");
    RecordingTarget b("b");
    KZSubClass(*source, "One", a, True, nullptr, False);
    KZSubClass(*source, "Two", b, True, nullptr, False);
    EXPECT_EQ(SubClass_EntryCount(), 2u);
    EXPECT_EQ(SubClass_Find("Two"), 2);
    EXPECT_TRUE(Subclassed());
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_USERDATA), ownProc);
    EXPECT_EQ(Ping(), kOwnResult);
    EXPECT_EQ(CalledTargets(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Calls()[0].sourceDescription, "One");
    EXPECT_EQ(Calls()[1].sourceDescription, "Two");
    EXPECT_EQ(OwnProcPings(), 1);
    // Both entries go back to the same own procedure.
    UnSubClassAll();
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_WNDPROC), ownProc);
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_USERDATA), 0);
}

TEST_F(KZSubClassTest, SourceNamesAreComparedWithLetterCase) {
    RecordingTarget a("a");
    KZSubClass(*source, "KZSystray_TargetObject", a, True, nullptr, False);
    KZSubClass(*source, "kzsystray_targetobject", a, True, nullptr, False);
    EXPECT_EQ(SubClass_EntryCount(), 2u);
    EXPECT_EQ(SubClass_Find("KZSystray_TargetObject"), 1);
    EXPECT_EQ(SubClass_Find("kzsystray_targetobject"), 2);
    EXPECT_EQ(SubClass_Find("KZSYSTRAY_TARGETOBJECT"), 0);
    Ping();
    EXPECT_EQ(CalledTargets(), (std::vector<std::string>{"a", "a"}));
}

TEST_F(KZSubClassTest, InsertFirstPutsANewTargetBeforeTheOthers) {
    RecordingTarget a("a");
    RecordingTarget b("b");
    RecordingTarget c("c");
    KZSubClass(*source, "Order", a, True, nullptr, False);
    KZSubClass(*source, "Order", b, True, nullptr, True);
    KZSubClass(*source, "Order", c, True, nullptr, False);
    Ping();
    EXPECT_EQ(CalledTargets(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(TargetForm_Find(1, b), 1);
    EXPECT_EQ(TargetForm_Find(1, a), 2);
    EXPECT_EQ(TargetForm_Find(1, c), 3);
    // A known target keeps its place whatever insertFirst says.
    KZSubClass(*source, "Order", c, False, nullptr, True);
    EXPECT_EQ(TargetForm_Find(1, c), 3);
    Calls().clear();
    Ping();
    EXPECT_EQ(CalledTargets(), (std::vector<std::string>{"b", "a"}));
}

TEST_F(KZSubClassTest, TheWindowHandleArgumentWinsAndAKnownNameNeverMoves) {
    unique_hwnd other(CreateRecordingWindow("other", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 0, 0}));
    WindowSource none(nullptr);
    RecordingTarget a("a");
    RecordingTarget b("b");
    KZSubClass(none, "ByHandle", a, True, window.get(), False);  // the source's hwnd isn't read
    EXPECT_TRUE(Subclassed());
    KZSubClass(none, "ByHandle", b, True, other.get(), False);  // joins the entry; stays on `window`
    EXPECT_EQ(GetWindowLongPtrA(other.get(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingWindowProc));
    SendMessageA(other.get(), kPing, 0, 0);
    EXPECT_TRUE(Calls().empty());
    Ping();
    EXPECT_EQ(CalledTargets(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(KZSubClassTest, UnSubClassAllRestoresTheWindowForANewSubclassing) {
    UnSubClassAll();  // empty table: nothing to do
    EXPECT_EQ(SubClass_EntryCount(), 0u);
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_WNDPROC), ownProc);

    RecordingTarget a("a");
    KZSubClass(*source, "Restore", a, True, nullptr, False);
    ASSERT_TRUE(Subclassed());
    UnSubClassAll();
    EXPECT_EQ(SubClass_EntryCount(), 0u);
    EXPECT_EQ(SubClass_Find("Restore"), 0);
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_WNDPROC), ownProc);
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_USERDATA), 0);
    EXPECT_EQ(Ping(), kOwnResult);
    EXPECT_TRUE(Calls().empty());
    EXPECT_NE(TargetForm_Index(a), 0);  // the form table stays

    KZSubClass(*source, "Restore", a, True, nullptr, False);
    EXPECT_TRUE(Subclassed());
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_USERDATA), ownProc);
    Ping();
    EXPECT_EQ(CalledTargets(), std::vector<std::string>{"a"});
}

TEST_F(KZSubClassTest, UnSubClassAllInACallbackEndsTheMessageWithZero) {
    RecordingTarget first("first");
    RecordingTarget second("second");
    first.onPing = [](HWND&, UINT&, WPARAM&, LPARAM&, LRESULT& value, bool& flag) {
        UnSubClassAll();
        value = 5;
        flag = true;
    };
    KZSubClass(*source, "Shutdown", first, True, nullptr, False);
    KZSubClass(*source, "Shutdown", second, True, nullptr, False);
    EXPECT_EQ(Ping(), 0);
    EXPECT_EQ(CalledTargets(), std::vector<std::string>{"first"});
    EXPECT_EQ(OwnProcPings(), 0);
    // Later messages go straight to the window's own procedure.
    EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_WNDPROC), ownProc);
    EXPECT_EQ(Ping(), kOwnResult);
    EXPECT_EQ(OwnProcPings(), 1);
    EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(KZSubClassTest, EachNestedMessageKeepsItsOwnResult) {
    RecordingTarget a("a");
    LRESULT innerResult = -1;
    a.onPing = [&](HWND& hwnd, UINT&, WPARAM&, LPARAM&, LRESULT&, bool&) {
        // A handler whose work dispatches another message of the same window.
        innerResult = SendMessageA(hwnd, kInner, 0, 0);
    };
    // Another target answers the inner message itself; that mustn't leak
    // into the outer one.
    class InnerAnswer : public KZSubClassTarget {
    public:
        void KZSubClassWindowProc(std::string&, HWND&, UINT& Msg, WPARAM&, LPARAM&, LRESULT& ReturnValue,
                                  bool& ReturnValueUsedFlag) override {
            if (Msg != kInner) return;
            ReturnValue = 9;
            ReturnValueUsedFlag = true;
        }
    } inner;
    KZSubClass(*source, "Nested", a, True, nullptr, False);
    KZSubClass(*source, "Nested", inner, True, nullptr, False);
    EXPECT_EQ(Ping(), kOwnResult);
    EXPECT_EQ(innerResult, 9);
    EXPECT_EQ(OwnProcPings(), 1);
}

TEST_F(KZSubClassTest, RegistrationsMadeDuringAMessageWaitForTheNextOne) {
    RecordingTarget a("a");
    RecordingTarget late("late");
    RecordingTarget early("early");
    a.onPing = [&](HWND&, UINT&, WPARAM&, LPARAM&, LRESULT&, bool&) {
        KZSubClass(*source, "Late", late, True, nullptr, False);         // a new entry
        KZSubClass(*source, "During", early, True, nullptr, True);      // joins first, ahead of a
    };
    KZSubClass(*source, "During", a, True, nullptr, False);
    Ping();
    EXPECT_EQ(CalledTargets(), std::vector<std::string>{"a"});
    a.onPing = nullptr;
    Calls().clear();
    Ping();
    EXPECT_EQ(CalledTargets(), (std::vector<std::string>{"early", "a", "late"}));
}

TEST_F(KZSubClassTest, ATargetDisabledByAnEarlierOneIsPassedOver) {
    RecordingTarget first("first");
    RecordingTarget second("second");
    first.onPing = [&](HWND&, UINT&, WPARAM&, LPARAM&, LRESULT&, bool&) {
        KZSubClass(*source, "Switch", second, False, nullptr, False);
    };
    KZSubClass(*source, "Switch", first, True, nullptr, False);
    KZSubClass(*source, "Switch", second, True, nullptr, False);
    Ping();
    EXPECT_EQ(CalledTargets(), std::vector<std::string>{"first"});
}

TEST_F(KZSubClassTest, LookupsGiveZeroForWhatIsNotThere) {
    RecordingTarget a("a");
    // The form table outlives every test and holds forms by address: a form
    // at an address no earlier test used is one it has never seen.
    static RecordingTarget never("never");
    EXPECT_EQ(SubClass_Find("Nothing"), 0);
    EXPECT_EQ(TargetForm_Find(1, a), 0);  // no entry yet
    KZSubClass(*source, "Lookup", a, True, nullptr, False);
    EXPECT_EQ(TargetForm_Find(0, a), 0);
    EXPECT_EQ(TargetForm_Find(2, a), 0);
    EXPECT_EQ(TargetForm_Find(1, never), 0);
    EXPECT_EQ(TargetForm_Index(never), 0);
    const std::size_t forms = TargetForm_Count();
    TargetForm_Add(never);
    TargetForm_Add(never);
    EXPECT_EQ(TargetForm_Count(), forms + 1);
    EXPECT_EQ(TargetForm_Index(never), static_cast<int>(forms + 1));
    EXPECT_EQ(TargetForm_Find(1, never), 0);  // in the form table, not a target of the entry
}

TEST_F(KZSubClassTest, AMessageForAWindowWithoutEntryGivesZero) {
    EXPECT_EQ(SubClass_WindowProc(window.get(), kPing, 0, 0), 0);
    EXPECT_EQ(OwnProcPings(), 0);
}

}  // namespace
