// Binding to the companion when the library is loaded, in child processes
// whose environment picks the companion and the binding mode.
#include "vantor16/vantor16.h"
#include "vantor32/vantor32.h"

#include "child_process.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using companion_test::Child;

// Runs the probe with this emulated Windows version and companion (empty:
// the one built with the library).
Child RunProbe(const char* windowsVersion, const std::string& companion = "") {
    return companion_test::RunChild(PROBE_PATH,
                                    {{"PCEMU_WINVER", windowsVersion}, {"PCEMU_VANTOR16", companion}});
}

const std::string kTakeoverOutput = "start 1; taken 0; restored 1\n";

TEST(VantorBinding, BothBindingModesReachTheCompanion) {
    for (const char* version : {"4", "3"}) {
        const Child child = RunProbe(version);
        EXPECT_EQ(child.exitCode, 0) << version;
        EXPECT_EQ(child.out, kTakeoverOutput) << version;
        EXPECT_EQ(child.err, "") << version;
    }
}

TEST(VantorBinding, AMissingCompanionEndsTheProcessBeforeMain) {
    for (const char* version : {"4", "3"}) {
        const Child child = RunProbe(version, "/nonexistent/libvantor16.so");
        EXPECT_EQ(child.exitCode, 1) << version;
        EXPECT_EQ(child.err, "Vantor Error: Unable to load VANTOR16.DLL!\n") << version;
        EXPECT_EQ(child.out, "") << version;
    }
}

TEST(VantorBinding, ACompanionWithoutTheEntriesEndsTheProcessBeforeMain) {
    for (const char* version : {"4", "3"}) {
        const Child child = RunProbe(version, NO_COMPANION_PATH);
        EXPECT_EQ(child.exitCode, 1) << version;
        EXPECT_EQ(child.err, "Vantor Error: Unable to link to VANTOR16.DLL!\n") << version;
        EXPECT_EQ(child.out, "") << version;
    }
}

TEST(VantorBinding, TheUniversalThunkPassesUserValuesWithoutArgumentsOrList) {
    Child child = RunProbe("3", UT_ONLY_COMPANION_PATH);
    EXPECT_EQ(child.exitCode, 0);
    EXPECT_EQ(child.out, "start 1;[UTProc 0] taken 1;[UTProc 1] restored 1\n");
    // The flat thunk needs the named entries this companion lacks.
    child = RunProbe("4", UT_ONLY_COMPANION_PATH);
    EXPECT_EQ(child.exitCode, 1);
    EXPECT_EQ(child.err, "Vantor Error: Unable to link to VANTOR16.DLL!\n");
}

// This process was attached once when it loaded the library.
TEST(VantorBinding, OnlyTheFirstAttachBindsAndOnlyTheLastDetachReleases) {
    EXPECT_EQ(DllEntryPoint(nullptr, VT_DLL_PROCESS_ATTACH, nullptr), 1);
    EXPECT_EQ(DllEntryPoint(nullptr, VT_DLL_PROCESS_DETACH, nullptr), 1);
    __Death();
    EXPECT_EQ(Vantor16_DesktopOutputOn(), 0) << "one attach is left: still bound";
    __Resurrection();
    EXPECT_EQ(DllEntryPoint(nullptr, VT_DLL_PROCESS_DETACH, nullptr), 1);
    __Death();
    EXPECT_EQ(Vantor16_DesktopOutputOn(), 1) << "released: nothing to call";
    EXPECT_EQ(DllEntryPoint(nullptr, VT_DLL_PROCESS_DETACH, nullptr), 1);
    EXPECT_EQ(DllEntryPoint(nullptr, VT_DLL_PROCESS_ATTACH, nullptr), 1);
    __Death();
    EXPECT_EQ(Vantor16_DesktopOutputOn(), 0) << "bound again";
    __Resurrection();
}

} // namespace
