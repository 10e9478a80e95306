// mkvbeaf: writes a reference VBE/AF driver image.
#include "arguments.h"
#include "image.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "mkvbeaf: %s\n", message.c_str());
    return 1;
}

// Writes a temporary file beside the output and renames it over the output,
// so that a failed write leaves no half image behind.
std::string WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string temp = path + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return "cannot write " + path + ": " + std::strerror(errno);
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            std::string error = "cannot write " + path + ": " + std::strerror(errno);
            close(fd);
            unlink(temp.c_str());
            return error;
        }
        done += static_cast<size_t>(n);
    }
    bool ok = fchmod(fd, 0644) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok || rename(temp.c_str(), path.c_str()) != 0) {
        std::string error = "cannot write " + path + ": " + std::strerror(errno);
        unlink(temp.c_str());
        return error;
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    mkvbeaf::Arguments args =
        mkvbeaf::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!args.error.empty()) return Fail(args.error);
    if (args.help) {
        std::fputs(mkvbeaf::kUsage, stdout);
        return 0;
    }
    std::string error = WriteFile(args.output, mkvbeaf::BuildImage(args.image));
    return error.empty() ? 0 : Fail(error);
}
