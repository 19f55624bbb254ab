// The companion list's registry layout: set-up, load with its defaults and
// number readings, and the save that writes the 31 values back in place.
#include "companions/CompanionList.h"

#include "RegistryProbe.h"
#include "platform/sim/SimDesktop.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kKey = "Software\\Quellmar\\KZHalvane\\";

class CompanionListTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        list.SetUpCompanionList(HKEY_LOCAL_MACHINE, "Software\\Quellmar\\", "", 0, "", 0);
    }

    static void Store(const std::string& name, const std::string& text) {
        probe::WriteText(HKEY_LOCAL_MACHINE, kKey, name, text);
    }
    static probe::StoredValue Stored(const std::string& name) {
        return probe::ReadValue(HKEY_LOCAL_MACHINE, kKey, name);
    }

    // A full list as a suite program would write it.
    static void StoreFullList() {
        Store("browse application", "C:\\Tools\\browse.exe /e,");
        for (int n = 1; n <= 5; ++n) {
            std::string s = std::to_string(n);
            Store("file type" + s, n == 3 ? "2" : "1");
            Store("file type description" + s, "Description " + s);
            Store("application name" + s, n == 3 ? "C:\\Music\\" : "C:\\Halvane\\app" + s + ".exe");
            Store("application command" + s, "app" + s + ".exe \"%1\"");
            Store("icon file" + s, " C:\\Halvane\\icons.dll ");
            Store("icon index" + s, "-" + s);
        }
    }

    CompanionList list;
};

void ExpectEmpty(const CompanionEntry& e) {
    EXPECT_EQ(e.FileType, CompanionKindEmpty);
    EXPECT_EQ(e.FileTypeDescription, "");
    EXPECT_EQ(e.ApplicationCommand, "");
    EXPECT_EQ(e.ApplicationName, "");
    EXPECT_EQ(e.IconFile, "");
    EXPECT_EQ(e.IconIndex, 0);
}

}  // namespace

TEST_F(CompanionListTest, SetUpMakesFiveEmptySlotsAndReadsNothing) {
    Store("file type1", "1");
    CompanionList fresh;
    EXPECT_EQ(fresh.CompanionCount(), 0);
    fresh.BrowseApplication = "kept.exe";
    fresh.SetUpCompanionList(HKEY_LOCAL_MACHINE, "Software\\Quellmar\\", "", 0, "", 0);
    EXPECT_EQ(fresh.CompanionCount(), 5);
    for (int n = 1; n <= 5; ++n) ExpectEmpty(fresh.Entry(n));
    EXPECT_EQ(fresh.BrowseApplication, "kept.exe");
    EXPECT_EQ(fresh.CompanionRoot, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(fresh.CompanionKey(), kKey);
}

TEST_F(CompanionListTest, TheProductKeyGetsItsBackslash) {
    CompanionList other;
    other.SetUpCompanionList(HKEY_LOCAL_MACHINE, "Software\\Quellmar", "x", 1, "y", 2);
    EXPECT_EQ(other.ProductKey, "Software\\Quellmar\\");
    EXPECT_EQ(other.CompanionKey(), kKey);
}

TEST_F(CompanionListTest, SetUpAgainDiscardsTheLoadedSlots) {
    StoreFullList();
    list.LoadCompanionList();
    list.SetUpCompanionList(HKEY_LOCAL_MACHINE, "Software\\Quellmar\\", "", 0, "", 0);
    for (int n = 1; n <= 5; ++n) ExpectEmpty(list.Entry(n));
}

// A caller's mistake: asserts in a debug build; otherwise a scratch entry
// that leaves the five slots alone.
TEST_F(CompanionListTest, EntryOutsideTheSlotsIsACallersMistake) {
    StoreFullList();
    list.LoadCompanionList();
    for (int index : {0, 6, -1}) {
        EXPECT_DEBUG_DEATH(list.Entry(index).ApplicationName = "changed", "companion slot out of range");
        EXPECT_DEBUG_DEATH(EXPECT_EQ(static_cast<const CompanionList&>(list).Entry(index).ApplicationName, ""),
                           "companion slot out of range");
    }
    for (int n = 1; n <= 5; ++n) EXPECT_NE(list.Entry(n).ApplicationName, "changed");
}

TEST_F(CompanionListTest, LoadWithoutTheKeyGivesEmptySlotsAndTheExplorer) {
    list.LoadCompanionList();
    EXPECT_EQ(list.BrowseApplication, "explorer.exe");
    for (int n = 1; n <= 5; ++n) ExpectEmpty(list.Entry(n));
    EXPECT_FALSE(probe::KeyExists(HKEY_LOCAL_MACHINE, kKey));  // a load writes nothing
}

TEST_F(CompanionListTest, BrowseApplicationIsUsedAsStoredUnlessEmpty) {
    Store("browse application", " ");
    list.LoadCompanionList();
    EXPECT_EQ(list.BrowseApplication, " ");

    Store("browse application", "");
    list.LoadCompanionList();
    EXPECT_EQ(list.BrowseApplication, "explorer.exe");
}

TEST_F(CompanionListTest, LoadReadsEveryFieldOfEverySlotUnchanged) {
    StoreFullList();
    list.LoadCompanionList();
    EXPECT_EQ(list.BrowseApplication, "C:\\Tools\\browse.exe /e,");
    for (int n = 1; n <= 5; ++n) {
        std::string s = std::to_string(n);
        const CompanionEntry& e = list.Entry(n);
        EXPECT_EQ(e.FileType, n == 3 ? CompanionKindFolder : CompanionKindProgram) << n;
        EXPECT_EQ(e.FileTypeDescription, "Description " + s);
        EXPECT_EQ(e.ApplicationName, n == 3 ? "C:\\Music\\" : "C:\\Halvane\\app" + s + ".exe");
        EXPECT_EQ(e.ApplicationCommand, "app" + s + ".exe \"%1\"");
        EXPECT_EQ(e.IconFile, " C:\\Halvane\\icons.dll ");  // not trimmed
        EXPECT_EQ(e.IconIndex, -n);
    }
}

TEST_F(CompanionListTest, LoadReadsNumbersFromTheirFirstCharacters) {
    Store("file type1", "1.5");
    Store("file type2", "12345");
    Store("file type3", " 1");
    Store("file type4", "x");
    Store("file type5", "9E99");
    Store("icon index1", "40000");
    Store("icon index2", "-40000");
    Store("icon index3", "123456789");
    Store("icon index4", "2.5");
    Store("icon index5", "&HFF");
    list.LoadCompanionList();
    EXPECT_EQ(list.Entry(1).FileType, 2);
    EXPECT_EQ(list.Entry(2).FileType, 1234);
    EXPECT_EQ(list.Entry(3).FileType, 1);
    EXPECT_EQ(list.Entry(4).FileType, 0);
    EXPECT_EQ(list.Entry(5).FileType, 32767);
    EXPECT_EQ(list.Entry(1).IconIndex, 32767);
    EXPECT_EQ(list.Entry(2).IconIndex, -32767);
    EXPECT_EQ(list.Entry(3).IconIndex, 32767);
    EXPECT_EQ(list.Entry(4).IconIndex, 2);
    EXPECT_EQ(list.Entry(5).IconIndex, 255);
}

TEST_F(CompanionListTest, ADwordValueReadsAsItsNumber) {
    probe::WriteDword(HKEY_LOCAL_MACHINE, kKey, "file type4", 1);
    probe::WriteDword(HKEY_LOCAL_MACHINE, kKey, "icon index4", 0xFFFFFFFD);
    list.LoadCompanionList();
    EXPECT_EQ(list.Entry(4).FileType, CompanionKindProgram);
    EXPECT_EQ(list.Entry(4).IconIndex, -3);
}

TEST_F(CompanionListTest, NothingOfAnEarlierLoadSurvives) {
    StoreFullList();
    list.LoadCompanionList();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
    list.LoadCompanionList();
    EXPECT_EQ(list.BrowseApplication, "explorer.exe");
    for (int n = 1; n <= 5; ++n) ExpectEmpty(list.Entry(n));
}

TEST_F(CompanionListTest, SaveWritesTheThirtyOneValuesAsTextInPlace) {
    StoreFullList();
    probe::WriteDword(HKEY_LOCAL_MACHINE, kKey, "file type4", 1);
    Store("suite setting", "kept by another program");
    list.LoadCompanionList();
    list.BrowseApplication = "C:\\Windows\\explorer.exe";
    list.SaveCompanionList();

    // Values the starter doesn't know stay where they are.
    probe::StoredValue other = Stored("suite setting");
    EXPECT_TRUE(other.present);
    EXPECT_EQ(other.data, "kept by another program");

    probe::StoredValue browse = Stored("browse application");
    EXPECT_EQ(browse.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(browse.data, "C:\\Windows\\explorer.exe");
    for (int n = 1; n <= 5; ++n) {
        std::string s = std::to_string(n);
        const struct {
            std::string name, data;
        } expected[] = {
            {"file type" + s, n == 3 ? "2" : "1"},
            {"file type description" + s, "Description " + s},
            {"application name" + s, n == 3 ? "C:\\Music\\" : "C:\\Halvane\\app" + s + ".exe"},
            {"application command" + s, "app" + s + ".exe \"%1\""},
            {"icon file" + s, " C:\\Halvane\\icons.dll "},
            {"icon index" + s, "-" + s},
        };
        for (const auto& value : expected) {
            probe::StoredValue stored = Stored(value.name);
            EXPECT_TRUE(stored.present) << value.name;
            EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ)) << value.name;  // the DWORD became text
            EXPECT_EQ(stored.data, value.data) << value.name;
        }
    }

    // And the list reads back as it was saved.
    CompanionList again;
    again.SetUpCompanionList(HKEY_LOCAL_MACHINE, "Software\\Quellmar\\", "", 0, "", 0);
    again.LoadCompanionList();
    EXPECT_EQ(again.BrowseApplication, "C:\\Windows\\explorer.exe");
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(again.Entry(n).FileType, list.Entry(n).FileType);
        EXPECT_EQ(again.Entry(n).ApplicationName, list.Entry(n).ApplicationName);
        EXPECT_EQ(again.Entry(n).IconIndex, list.Entry(n).IconIndex);
    }
}

TEST_F(CompanionListTest, SavingAnEmptyListWritesEmptySlots) {
    list.LoadCompanionList();
    list.SaveCompanionList();
    EXPECT_EQ(Stored("browse application").data, "explorer.exe");
    for (int n = 1; n <= 5; ++n) {
        std::string s = std::to_string(n);
        EXPECT_EQ(Stored("file type" + s).data, "0");
        EXPECT_EQ(Stored("icon index" + s).data, "0");
        probe::StoredValue name = Stored("application name" + s);
        EXPECT_TRUE(name.present);
        EXPECT_EQ(name.data, "");
    }
}

TEST_F(CompanionListTest, AFailedSaveLeavesKeyAndMemoryAsTheyWere) {
    StoreFullList();
    list.LoadCompanionList();
    list.BrowseApplication = "new.exe";
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, false);
    list.SaveCompanionList();
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, true);
    EXPECT_EQ(Stored("browse application").data, "C:\\Tools\\browse.exe /e,");
    EXPECT_EQ(Stored("application name1").data, "C:\\Halvane\\app1.exe");
    EXPECT_EQ(list.BrowseApplication, "new.exe");
    EXPECT_EQ(sim::OpenKeyCount(), 0u);
}

TEST_F(CompanionListTest, BeforeSetUpLoadAndSaveDoNothing) {
    Store("browse application", "stored.exe");
    CompanionList fresh;
    fresh.LoadCompanionList();
    EXPECT_EQ(fresh.BrowseApplication, "");
    fresh.BrowseApplication = "other.exe";
    fresh.SaveCompanionList();
    EXPECT_EQ(Stored("browse application").data, "stored.exe");
}
