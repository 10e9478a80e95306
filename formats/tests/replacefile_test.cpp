// Saving through the temporary-file helper: links, devices, permissions, leftovers,
// long names and write errors. Cases that depend on permissions run in a child
// process as an ordinary user (as "nobody" when the tests run as root).
#include "formats/replacefile.h"

#include "formats/iff.h"
#include "formats/pbm.h"

#include "formats/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace formats;
namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

fs::path FreshDir(const std::string& name) {
    const fs::path& base = testing_support::ScratchDir("zorv_save_");
    fs::path d = base / name;
    fs::remove_all(d);
    fs::create_directories(d);
    // The child processes that run as another user must reach the folder.
    chmod(base.c_str(), 0755);
    chmod(d.c_str(), 0755);
    return d;
}

std::string Text(const fs::path& p) {
    auto b = testing_support::FileBytes(p);
    return {b.begin(), b.end()};
}

void Put(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

void Save(const fs::path& target, const std::string& text) {
    ReplaceFile out(target);
    BinaryWriter(out.File()).WriteBytes(text.data(), text.size());
    out.Commit();
}

// The names in a folder.
std::set<std::string> Names(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

// Runs `work` in a child process and returns its exit code; -1 when it was
// ended by a signal. `unprivileged` makes the child an ordinary user first.
int InChild(const std::function<int()>& work, bool unprivileged = false) {
    const pid_t pid = fork();
    if (pid == 0) {
        int code = 99;
        if (!unprivileged || geteuid() != 0 || (setgid(kNobody) == 0 && setuid(kNobody) == 0)) {
            try {
                code = work();
            } catch (...) {
                code = 98;
            }
        }
        _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// 0 when saving `target` fails with EInOutError whose message holds `expected`.
int SaveFailsWith(const fs::path& target, const std::string& expected) {
    try {
        Save(target, "new");
    } catch (const EInOutError& e) {
        return std::string(e.what()).find(expected) != std::string::npos ? 0 : 2;
    }
    return 1;
}

} // namespace

TEST(SaveThroughLinks, TheFileAtTheEndOfTheChainIsReplaced) {
    const fs::path dir = FreshDir("links");
    fs::create_directories(dir / "sub");
    Put(dir / "real.map", "old");
    fs::create_symlink("real.map", dir / "one");         // relative
    fs::create_symlink(dir / "one", dir / "two");        // absolute
    fs::create_symlink("../two", dir / "sub" / "three"); // relative to its own folder
    Save(dir / "sub" / "three", "new contents");
    EXPECT_EQ(Text(dir / "real.map"), "new contents");
    for (const fs::path& link : {dir / "one", dir / "two", dir / "sub" / "three"})
        EXPECT_TRUE(fs::is_symlink(link)) << link;
    EXPECT_EQ(Names(dir), (std::set<std::string>{"one", "real.map", "sub", "two"}));
    EXPECT_EQ(Names(dir / "sub"), (std::set<std::string>{"three"}));

    // A link to a file not yet there creates that file.
    fs::create_symlink("later.map", dir / "dangling");
    Save(dir / "dangling", "made");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(Text(dir / "later.map"), "made");

    // A loop of links is refused.
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    EXPECT_THROW(Save(dir / "loop1", "x"), EInOutError);
    EXPECT_TRUE(fs::is_symlink(dir / "loop1"));
}

TEST(SaveRefusals, DevicesPipesAndFoldersAreNeverReplaced) {
    const fs::path dir = FreshDir("devices");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
    fs::create_symlink("/dev/null", dir / "null");
    fs::create_symlink("pipe", dir / "to_pipe");
    fs::create_directories(dir / "folder");
    for (const char* name : {"pipe", "null", "to_pipe", "folder"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(SaveFailsWith(dir / name, "Cannot create file"), 0);
    }
    EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
    EXPECT_TRUE(fs::is_symlink(dir / "null"));
    EXPECT_TRUE(fs::is_symlink(dir / "to_pipe"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_EQ(Names(dir), (std::set<std::string>{"folder", "null", "pipe", "to_pipe"}));
}

TEST(SavePermissions, ReadOnlyRefusedModeAndOwnerKeptClosedFolderWrittenInPlace) {
    const fs::path dir = FreshDir("permissions");
    const fs::path open = dir / "open", closed = dir / "closed";
    fs::create_directories(open);
    fs::create_directories(closed);
    Put(open / "ro.map", "old");
    Put(closed / "rw.map", "old");
    chmod((open / "ro.map").c_str(), 0444);
    chmod((closed / "rw.map").c_str(), 0666);
    chmod(open.c_str(), 0777);
    chmod(closed.c_str(), 0555);

    // A read-only file is refused as a plain write would refuse it.
    EXPECT_EQ(InChild([&] { return SaveFailsWith(open / "ro.map", "Cannot create file"); }, true),
              0);
    EXPECT_EQ(Text(open / "ro.map"), "old");

    // A writable file in a folder that is not: written in place, and only once
    // the new contents are complete, so a save that fails first loses nothing.
    EXPECT_EQ(InChild(
                  [&] {
                      try {
                          ReplaceFile out(closed / "rw.map");
                          BinaryWriter(out.File()).WriteBytes("partial", 7);
                          throw std::runtime_error("interrupted");
                      } catch (const std::runtime_error&) {
                      }
                      return Text(closed / "rw.map") == "old" ? 0 : 1;
                  },
                  true),
              0);
    EXPECT_EQ(InChild([&] { return (Save(closed / "rw.map", "new and longer"), 0); }, true), 0);
    EXPECT_EQ(Text(closed / "rw.map"), "new and longer");
    EXPECT_EQ(InChild([&] { return (Save(closed / "rw.map", "short"), 0); }, true), 0);
    EXPECT_EQ(Text(closed / "rw.map"), "short");
    // Contents that cannot fit (here a file-size limit met once they are
    // complete in memory) leave the old ones whole.
    EXPECT_EQ(InChild(
                  [&] {
                      ReplaceFile out(closed / "rw.map");
                      BinaryWriter(out.File()).WriteBytes("much longer than the limit", 26);
                      std::fflush(out.File());
                      rlimit limit{16, 16};
                      setrlimit(RLIMIT_FSIZE, &limit);
                      try {
                          out.Commit();
                      } catch (const EInOutError& e) {
                          return std::string(e.what()).find("File too large") != std::string::npos
                                     ? 0
                                     : 2;
                      }
                      return 1;
                  },
                  true),
              0);
    EXPECT_EQ(Text(closed / "rw.map"), "short");
    EXPECT_EQ(Names(closed), std::set<std::string>{"rw.map"});
    chmod(closed.c_str(), 0755);

    // Replacing keeps the mode, and the owner where the process may set it.
    Put(dir / "kept.map", "old");
    chmod((dir / "kept.map").c_str(), 0640);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown((dir / "kept.map").c_str(), kNobody, kNobody), 0);
    }
    Save(dir / "kept.map", "new");
    struct stat after {};
    ASSERT_EQ(stat((dir / "kept.map").c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(after.st_uid, kNobody);
        EXPECT_EQ(after.st_gid, kNobody);
    } else {
        std::printf("Not running as root: keeping another user's ownership is not checked.\n");
    }
}

TEST(SaveTemporaries, InterruptedSavesLeaveNothingBehindAndLongNamesSave) {
    const fs::path dir = FreshDir("temporaries");
    const std::string longest(255, 'n'), long249 = std::string(245, 'm') + ".map";
    for (const std::string& name : {std::string("a.map"), std::string("b.map"), long249, longest}) {
        SCOPED_TRACE(name.size());
        // A save cut short by the end of the process leaves its temporary file.
        EXPECT_EQ(InChild([&] {
                      ReplaceFile out(dir / name);
                      BinaryWriter(out.File()).WriteBytes("cut", 3);
                      std::fflush(out.File());
                      _exit(0);
                      return 1;
                  }),
                  0);
    }
    EXPECT_EQ(Names(dir).size(), 4u);
    for (const std::string& left : Names(dir))
        EXPECT_EQ(left.front(), '.') << "a temporary file should be hidden: " << left;

    // The next save of a file clears its own leftovers and no others'.
    Save(dir / "a.map", "saved");
    EXPECT_EQ(Text(dir / "a.map"), "saved");
    EXPECT_EQ(Names(dir).size(), 4u);
    Save(dir / "b.map", "saved");
    Save(dir / long249, "saved");
    Save(dir / longest, "saved");
    EXPECT_EQ(Names(dir), (std::set<std::string>{"a.map", "b.map", long249, longest}));
    EXPECT_EQ(Text(dir / longest), "saved");

    // Files that only look alike are left alone.
    Put(dir / ".a.map.notes", "mine");
    Put(dir / "a.map.bak", "mine");
    Save(dir / "a.map", "again");
    EXPECT_EQ(Names(dir).size(), 6u);
}

TEST(SaveErrors, TheWritesOwnErrorIsReportedAndNothingIsLeft) {
    // A full disk, brought about by putting /dev/full under the temporary file.
    const fs::path dir = FreshDir("errors");
    try {
        ReplaceFile out(dir / "new.tpl");
        const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
        ASSERT_GE(full, 0);
        ASSERT_GE(dup2(full, fileno(out.File())), 0);
        close(full);
        std::vector<uint8_t> bytes(2060, 7);
        BinaryWriter(out.File()).WriteBytes(bytes.data(), bytes.size());
        out.Commit();
        ADD_FAILURE() << "a save to a full disk succeeded";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find(std::strerror(ENOSPC)), std::string::npos) << e.what();
    }
    EXPECT_TRUE(Names(dir).empty());

    // A file-size limit makes the write fail instead of ending the process.
    const int code = InChild([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::vector<uint8_t> pixels(200 * 200, 5);
        uint8_t rgb[768] = {};
        try {
            WritePbmFile(dir / "big.lbm", 200, 200, pixels.data(), rgb, 256, false);
        } catch (const EInOutError& e) {
            return std::string(e.what()).find("File too large") != std::string::npos ? 0 : 2;
        }
        return 1;
    });
    EXPECT_EQ(code, 0) << (code == -1 ? "killed by the file-size signal" : "");
    EXPECT_TRUE(Names(dir).empty());
}
