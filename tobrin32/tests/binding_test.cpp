// Binding at load time, in child processes whose environment picks the
// companion and the binding mode.
#include "child_process.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using companion_test::Child;

// Runs a probe program of this build with these variables set (an empty
// value removes the variable).
Child RunChild(const std::string& probe,
               const std::vector<std::pair<std::string, std::string>>& env) {
    return companion_test::RunChild(std::string(PROBE_DIR) + "/" + probe, env);
}

Child RunProbe(const char* windowsVersion, const std::string& companion = "") {
    return RunChild("tobrin32_probe",
                    {{"PCEMU_WINVER", windowsVersion}, {"PCEMU_TOBRIN16", companion}});
}

TEST(TobrinBinding, BothModesBindAndReachTheBios) {
    for (const char* version : {"4", "3"}) {
        const Child child = RunProbe(version);
        EXPECT_EQ(child.exitCode, 0) << version;
        EXPECT_EQ(child.out, "started\nmode 3\n") << version;
        EXPECT_EQ(child.err, "") << version;
    }
}

TEST(TobrinBinding, FailuresEndTheProcessBeforeMainWithTheirMessage) {
    struct Case {
        const char* version;
        std::string companion;
        const char* message;
    };
    const Case cases[] = {
        {"4", "/nonexistent/libtobrin16.so", "Unable to load TOBRIN16.DLL!"},
        {"3", "/nonexistent/libtobrin16.so", "Unable to load TOBRIN16.DLL!"},
        {"4", NO_COMPANION_PATH, "Unable to link to TOBRIN16.DLL!"},
        {"3", NO_COMPANION_PATH, "Unable to link to TOBRIN16.DLL!"},
        {"4", FAILING_COMPANION_PATH, "InitSharedMem failed!"},
    };
    for (const Case& c : cases) {
        const Child child = RunProbe(c.version, c.companion);
        EXPECT_EQ(child.exitCode, 1) << c.version << " " << c.companion;
        EXPECT_EQ(child.err, std::string("Tobrin Error: ") + c.message + "\n")
            << c.version << " " << c.companion;
        EXPECT_EQ(child.out, "") << "main never ran";
    }
}

TEST(TobrinBinding, TheUniversalThunkStartsNoSharedBlock) {
    // The failing companion refuses every service, SharedBlock included;
    // only the flat thunk needs one to load.
    const Child child = RunProbe("3", FAILING_COMPANION_PATH);
    EXPECT_EQ(child.exitCode, 0);
    EXPECT_EQ(child.out, "started\nmode 0\n") << "the service itself failed";
}

// Each probe links both libraries that export DllEntryPoint, in one order.
TEST(TobrinBinding, TheEntryPointRoutesReachTobrinWhateverTheLoadOrder) {
    for (const char* probe :
         {"tobrin32_entryprobe_vantorfirst", "tobrin32_entryprobe_tobrinfirst"}) {
        const Child child = RunChild(probe, {{"PCEMU_WINVER", "4"}, {"PCEMU_TOBRIN16", ""}});
        EXPECT_EQ(child.exitCode, 0) << probe << child.err;
        EXPECT_EQ(child.out, "bound 1; handle 2; alias 2; vantor takes the screen 1\n") << probe;
    }
}

} // namespace
