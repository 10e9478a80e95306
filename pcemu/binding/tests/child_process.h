// Runs a program of this build as a child process with some variables of
// this environment changed, and collects what it wrote and how it ended: the
// libraries bind at load time, so a failed binding ends the process before
// main and can only be seen from outside.
#pragma once

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace companion_test {

struct Child {
    int exitCode = -1; // -1 when it could not run or did not exit
    std::string out, err;
};

inline std::string ReadAll(int fd) {
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(fd);
    return text;
}

// `changes` sets each named variable to its value; an empty value removes it.
inline Child RunChild(const std::string& path,
                      const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool changed = false;
        for (const auto& change : changes)
            changed = changed || entry.rfind(change.first + "=", 0) == 0;
        if (!changed) env.push_back(entry);
    }
    for (const auto& [name, value] : changes)
        if (!value.empty()) env.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    Child child;
    int out[2], err[2];
    if (pipe(out) != 0) return child;
    if (pipe(err) != 0) {
        close(out[0]);
        close(out[1]);
        return child;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::string program = path;
    char* argv[] = {program.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    child.out = ReadAll(out[0]);
    child.err = ReadAll(err[0]);
    int status = 0;
    if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        child.exitCode = WEXITSTATUS(status);
    return child;
}

} // namespace companion_test
