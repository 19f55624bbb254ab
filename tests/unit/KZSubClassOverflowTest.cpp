// The subclassing engine's table limits: each of the three overflow messages
// is shown as a warning box titled "Quellmar Starter", and the registration
// that would overflow changes nothing. Native only: it fills the tables to
// their limits and reads the message boxes the simulated desktop recorded.
#include "platform/Win32Api.h"
#include "platform/sim/SimDesktop.h"
#include "subclass/KZSubClassmod.h"
#include "support/RecordingWindow.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

namespace {

class NullTarget : public KZSubClassTarget {
public:
    int calls = 0;
    void KZSubClassWindowProc(std::string&, HWND&, UINT&, WPARAM&, LPARAM&, LRESULT&, bool&) override { ++calls; }
};

class WindowSource : public KZSubClassSource {
public:
    explicit WindowSource(HWND hwnd) : hwnd_(hwnd) {}
    HWND hwnd() const override { return hwnd_; }

private:
    HWND hwnd_;
};

// Target forms that live as long as the process, as the form table does:
// one more than the table holds.
NullTarget& PoolTarget(std::size_t i) {
    static std::deque<NullTarget> pool(static_cast<std::size_t>(KZSubClassTableLimit) + 1);
    return pool.at(i);
}

class KZSubClassOverflow : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::FreshDesktop();
        window = testsupport::CreateRecordingWindow("overflow", WS_POPUP);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        UnSubClassAll();
        DestroyWindow(window);
    }

    void ExpectOneWarning(const std::string& text) {
        ASSERT_EQ(sim::MessageBoxes().size(), 1u);
        const sim::MessageBoxCall& box = sim::MessageBoxes()[0];
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, "Quellmar Starter");
        EXPECT_EQ(box.style, 48u);
        sim::ClearMessageBoxes();
    }

    HWND window = nullptr;
};

TEST_F(KZSubClassOverflow, The32767thEntryIsRefused) {
    WindowSource source(window);
    NullTarget& target = PoolTarget(0);
    for (int i = 1; i <= KZSubClassTableLimit; ++i)
        KZSubClass(source, "Entry " + std::to_string(i), target, True, nullptr, False);
    EXPECT_EQ(SubClass_EntryCount(), static_cast<std::size_t>(KZSubClassTableLimit));
    EXPECT_TRUE(sim::MessageBoxes().empty());

    KZSubClass(source, "One too many", target, True, nullptr, False);
    ExpectOneWarning("internal error in KZSubClass(): overflow !");
    EXPECT_EQ(SubClass_EntryCount(), static_cast<std::size_t>(KZSubClassTableLimit));
    EXPECT_EQ(SubClass_Find("One too many"), 0);
    // A known name still updates its target.
    KZSubClass(source, "Entry 7", target, False, nullptr, False);
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(KZSubClassOverflow, The32767thTargetOfAnEntryAndThe32767thFormAreRefused) {
    WindowSource source(window);
    // Fill one entry with as many targets as it can hold; every target is a
    // form of its own, so the form table fills up alongside.
    for (int i = 0; i < KZSubClassTableLimit; ++i)
        KZSubClass(source, "Crowded", PoolTarget(static_cast<std::size_t>(i)), True, nullptr, False);
    ASSERT_EQ(TargetForm_Find(1, PoolTarget(KZSubClassTableLimit - 1)), KZSubClassTableLimit);
    ASSERT_EQ(TargetForm_Count(), static_cast<std::size_t>(KZSubClassTableLimit));
    EXPECT_TRUE(sim::MessageBoxes().empty());

    NullTarget& extra = PoolTarget(KZSubClassTableLimit);
    KZSubClass(source, "Crowded", extra, True, nullptr, True);
    ExpectOneWarning("internal error in KZSubClass(): overflow (2) !");
    EXPECT_EQ(TargetForm_Find(1, extra), 0);
    EXPECT_EQ(TargetForm_Index(extra), 0);

    // The form table is full: a new entry for a new form can't get its
    // target, so no entry is made.
    KZSubClass(source, "Newcomer", extra, True, nullptr, False);
    ExpectOneWarning("internal error in TargetForm_Add() (KZSubClass): overflow !");
    EXPECT_EQ(SubClass_Find("Newcomer"), 0);
    EXPECT_EQ(SubClass_EntryCount(), 1u);

    TargetForm_Add(extra);
    ExpectOneWarning("internal error in TargetForm_Add() (KZSubClass): overflow !");
    EXPECT_EQ(TargetForm_Count(), static_cast<std::size_t>(KZSubClassTableLimit));

    // Forms already in the table still join entries.
    KZSubClass(source, "Second", PoolTarget(5), True, nullptr, False);
    EXPECT_TRUE(sim::MessageBoxes().empty());
    EXPECT_EQ(SubClass_Find("Second"), 2);

    // And the crowded window still works: every enabled target is called once.
    SendMessageA(window, WM_USER, 0, 0);
    EXPECT_EQ(PoolTarget(0).calls, 1);
    EXPECT_EQ(PoolTarget(5).calls, 2);  // in both entries
    EXPECT_EQ(PoolTarget(KZSubClassTableLimit - 1).calls, 1);
    EXPECT_EQ(extra.calls, 0);
}

}  // namespace
