// The auto-start setting: its text form and its registry value.
#include "integration/AutoStartSetting.h"

#include "RegistryProbe.h"
#include "platform/sim/SimDesktop.h"

#include <gtest/gtest.h>

#include <string>

TEST(AutoStartFlagText, OnlyTrueInAnyCaseIsTrue) {
    for (const char* text : {"TRUE", "true", "True", "tRuE"}) EXPECT_EQ(TextToFlag(text), True) << text;
    for (const char* text : {"", "1", "yes", "Yes", " True", "True ", "TRUE\t", "Tru", "truee", "False", "-1"})
        EXPECT_EQ(TextToFlag(text), False) << '"' << text << '"';
}

TEST(AutoStartFlagText, OnlyMinusOneIsWrittenAsTrue) {
    EXPECT_EQ(FlagToText(True), "True");
    EXPECT_EQ(FlagToText(False), "False");
    EXPECT_EQ(FlagToText(1), "False");
    EXPECT_EQ(FlagToText(-2), "False");
    EXPECT_EQ(FlagToText(32767), "False");
}

class AutoStartSettingTest : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    static void Store(const std::string& text) {
        probe::WriteText(HKEY_LOCAL_MACHINE, AutoStartKey, AutoStartValueName, text);
    }
};

TEST_F(AutoStartSettingTest, AMissingSettingIsFalse) {
    EXPECT_EQ(LoadAutoStartSetting(), False);
    EXPECT_FALSE(probe::KeyExists(HKEY_LOCAL_MACHINE, AutoStartKey));  // nothing written on load
}

TEST_F(AutoStartSettingTest, LoadReadsTheStoredText) {
    Store("TRUE");
    EXPECT_EQ(LoadAutoStartSetting(), True);
    Store("true");
    EXPECT_EQ(LoadAutoStartSetting(), True);
    Store(" True");
    EXPECT_EQ(LoadAutoStartSetting(), False);
    Store("");
    EXPECT_EQ(LoadAutoStartSetting(), False);
    probe::WriteDword(HKEY_LOCAL_MACHINE, AutoStartKey, AutoStartValueName, 1);
    EXPECT_EQ(LoadAutoStartSetting(), False);
}

TEST_F(AutoStartSettingTest, ASavedSettingReadsBack) {
    SaveAutoStartSetting(True);
    probe::StoredValue stored = probe::ReadValue(HKEY_LOCAL_MACHINE, AutoStartKey, AutoStartValueName);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.data, "True");
    EXPECT_EQ(LoadAutoStartSetting(), True);

    SaveAutoStartSetting(False);
    EXPECT_EQ(probe::ReadValue(HKEY_LOCAL_MACHINE, AutoStartKey, AutoStartValueName).data, "False");
    EXPECT_EQ(LoadAutoStartSetting(), False);

    SaveAutoStartSetting(1);  // not -1: not True
    EXPECT_EQ(probe::ReadValue(HKEY_LOCAL_MACHINE, AutoStartKey, AutoStartValueName).data, "False");
}

TEST_F(AutoStartSettingTest, SavingReplacesTheKeyWithOneHoldingOnlyTheSetting) {
    probe::WriteText(HKEY_LOCAL_MACHINE, AutoStartKey, "leftover", "x");
    SaveAutoStartSetting(False);
    EXPECT_FALSE(probe::ReadValue(HKEY_LOCAL_MACHINE, AutoStartKey, "leftover").present);
    EXPECT_EQ(probe::ReadValue(HKEY_LOCAL_MACHINE, AutoStartKey, AutoStartValueName).data, "False");
}

TEST_F(AutoStartSettingTest, AFailedSaveKeepsTheOldValueAndReportsNothing) {
    Store("True");
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, false);
    SaveAutoStartSetting(False);
    EXPECT_EQ(LoadAutoStartSetting(), True);  // reading still works
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, true);
    EXPECT_EQ(sim::OpenKeyCount(), 0u);
}
