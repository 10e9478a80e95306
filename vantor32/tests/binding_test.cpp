// Binding to the companion when the library is loaded, in child processes
// whose environment picks the companion and the binding mode.
#include "vantor16/vantor16.h"
#include "vantor32/vantor32.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct ChildResult {
    int exitCode = -1;
    std::string out, err;
};

std::string ReadAll(int fd) {
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, n);
    close(fd);
    return text;
}

// Runs the probe with `settings` (NAME=VALUE) added to this environment.
ChildResult RunProbe(const std::vector<std::string>& settings) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("PCEMU_VANTOR16=", 0) && entry.rfind("PCEMU_WINVER=", 0))
            env.push_back(entry);
    }
    env.insert(env.end(), settings.begin(), settings.end());
    std::vector<char*> envp;
    for (auto& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    int out[2], err[2];
    if (pipe(out) || pipe(err)) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::string path = PROBE_PATH;
    char* argv[] = {path.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    ChildResult result;
    result.out = ReadAll(out[0]);
    result.err = ReadAll(err[0]);
    int status = 0;
    if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

const std::string kTakeoverOutput = "start 1; taken 0; restored 1\n";

TEST(VantorBinding, BothBindingModesReachTheCompanion) {
    for (const char* version : {"PCEMU_WINVER=4", "PCEMU_WINVER=3"}) {
        const ChildResult child = RunProbe({version});
        EXPECT_EQ(child.exitCode, 0) << version;
        EXPECT_EQ(child.out, kTakeoverOutput) << version;
        EXPECT_EQ(child.err, "") << version;
    }
}

TEST(VantorBinding, AMissingCompanionEndsTheProcessBeforeMain) {
    for (const char* version : {"PCEMU_WINVER=4", "PCEMU_WINVER=3"}) {
        const ChildResult child = RunProbe({"PCEMU_VANTOR16=/nonexistent/libvantor16.so", version});
        EXPECT_EQ(child.exitCode, 1) << version;
        EXPECT_EQ(child.err, "Vantor Error: Unable to load VANTOR16.DLL!\n") << version;
        EXPECT_EQ(child.out, "") << version;
    }
}

TEST(VantorBinding, ACompanionWithoutTheEntriesEndsTheProcessBeforeMain) {
    for (const char* version : {"PCEMU_WINVER=4", "PCEMU_WINVER=3"}) {
        const ChildResult child =
            RunProbe({std::string("PCEMU_VANTOR16=") + NO_COMPANION_PATH, version});
        EXPECT_EQ(child.exitCode, 1) << version;
        EXPECT_EQ(child.err, "Vantor Error: Unable to link to VANTOR16.DLL!\n") << version;
        EXPECT_EQ(child.out, "") << version;
    }
}

TEST(VantorBinding, TheUniversalThunkPassesUserValuesWithoutArgumentsOrList) {
    const std::string companion = std::string("PCEMU_VANTOR16=") + UT_ONLY_COMPANION_PATH;
    ChildResult child = RunProbe({companion, "PCEMU_WINVER=3"});
    EXPECT_EQ(child.exitCode, 0);
    EXPECT_EQ(child.out, "start 1;[UTProc 0] taken 1;[UTProc 1] restored 1\n");
    // The flat thunk needs the named entries this companion lacks.
    child = RunProbe({companion, "PCEMU_WINVER=4"});
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
