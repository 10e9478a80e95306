// Binding at load time, in child processes whose environment picks the
// companion and the binding mode.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Child {
    int exitCode = -1;
    std::string out, err;
};

std::string Drain(int fd) {
    std::string text;
    char chunk[256];
    ssize_t n;
    while ((n = read(fd, chunk, sizeof chunk)) > 0)
        text.append(chunk, static_cast<size_t>(n));
    close(fd);
    return text;
}

// Runs a probe program of this build with these variables set (an empty
// value removes the variable).
Child RunChild(const std::string& probe,
               const std::vector<std::pair<std::string, std::string>>& env) {
    int out[2], err[2];
    Child child;
    if (pipe(out) != 0 || pipe(err) != 0) return child;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]);
        close(err[0]);
        for (const auto& [name, value] : env)
            value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
        const std::string path = std::string(PROBE_DIR) + "/" + probe;
        execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    child.out = Drain(out[0]);
    child.err = Drain(err[0]);
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        child.exitCode = WEXITSTATUS(status);
    return child;
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
