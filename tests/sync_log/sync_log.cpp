// Loaded with LD_PRELOAD in front of a program under test: writes one line for each fsync,
// fdatasync and rename the program makes, in the order it makes them, to the file named by
// QUINTOR_SYNC_LOG, then does the real call. A test reads the order back to see that a save
// reaches the disk before it takes the place of the old file.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

template <typename Function> Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

void logLine(const char* what, const char* first, const char* second) {
    const char* logFile = std::getenv("QUINTOR_SYNC_LOG");
    if (!logFile)
        return;
    const int saved = errno;
    char line[3 * PATH_MAX + 32];
    const int length = std::snprintf(line, sizeof line, "%s %s%s%s\n", what, first,
                                     second ? " " : "", second ? second : "");
    const int fd = ::open(logFile, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0 && length > 0) {
        (void)!::write(fd, line, static_cast<std::size_t>(length));
        ::close(fd);
    }
    errno = saved;
}

void logDescriptor(const char* what, int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[PATH_MAX];
    const ssize_t length = ::readlink(link, path, sizeof path - 1);
    path[length > 0 ? length : 0] = '\0';
    logLine(what, path, nullptr);
}

} // namespace

extern "C" {

int fsync(int fd) {
    logDescriptor("fsync", fd);
    return real<int (*)(int)>("fsync")(fd);
}

int fdatasync(int fd) {
    logDescriptor("fsync", fd);
    return real<int (*)(int)>("fdatasync")(fd);
}

int rename(const char* from, const char* to) {
    logLine("rename", from, to);
    return real<int (*)(const char*, const char*)>("rename")(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    logLine("rename", from, to);
    return real<int (*)(int, const char*, int, const char*)>("renameat")(fromFolder, from, toFolder,
                                                                         to);
}

} // extern "C"
