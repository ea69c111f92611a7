// Loaded with LD_PRELOAD in front of a program under test: makes one chosen call fail, as a
// full or broken disk would, so that a test can see what a save leaves behind.
//
//   QUINTOR_FAIL_CALL   write (write, pwrite, writev), fsync (fsync, fdatasync), rename
//                       (rename, renameat, renameat2) or close
//   QUINTOR_FAIL_AT     which call of that kind fails, counting from 1; 0 or unset: none,
//                       the calls are only counted
//   QUINTOR_FAIL_ERRNO  ENOSPC, EIO or EDQUOT; ENOSPC for write, EIO for the others unless set
//   QUINTOR_FAIL_UNDER  only calls on files in this folder (or the folder itself) count
//   QUINTOR_FAIL_LOG    one line per counted call: "N kind path", with " failed" after the
//                       one that failed
//
// The failed call does nothing (close still releases the descriptor, as the kernel does).
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

template <typename Function> Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

enum class Kind { write, fsync, rename, close };

const char* kindName(Kind kind) {
    switch (kind) {
    case Kind::write:
        return "write";
    case Kind::fsync:
        return "fsync";
    case Kind::rename:
        return "rename";
    case Kind::close:
        return "close";
    }
    return "";
}

struct Settings {
    bool active = false;
    Kind kind = Kind::write;
    long failAt = 0;
    int error = 0;
    std::string under; // canonical, without a trailing slash
    const char* log = nullptr;
};

int errorNamed(const char* name, Kind kind) {
    if (name && std::strcmp(name, "EIO") == 0)
        return EIO;
    if (name && std::strcmp(name, "ENOSPC") == 0)
        return ENOSPC;
    if (name && std::strcmp(name, "EDQUOT") == 0)
        return EDQUOT;
    return kind == Kind::write ? ENOSPC : EIO;
}

const Settings& settings() {
    static const Settings read = [] {
        Settings s;
        const char* call = std::getenv("QUINTOR_FAIL_CALL");
        if (!call)
            return s;
        for (Kind kind : {Kind::write, Kind::fsync, Kind::rename, Kind::close})
            if (std::strcmp(call, kindName(kind)) == 0) {
                s.active = true;
                s.kind = kind;
            }
        const char* at = std::getenv("QUINTOR_FAIL_AT");
        s.failAt = at ? std::strtol(at, nullptr, 10) : 0;
        s.error = errorNamed(std::getenv("QUINTOR_FAIL_ERRNO"), s.kind);
        if (const char* under = std::getenv("QUINTOR_FAIL_UNDER")) {
            char resolved[PATH_MAX];
            s.under = ::realpath(under, resolved) ? resolved : under;
        }
        s.log = std::getenv("QUINTOR_FAIL_LOG");
        return s;
    }();
    return read;
}

std::atomic<long> counted{0};

std::string descriptorPath(int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[PATH_MAX];
    const ssize_t length = ::readlink(link, path, sizeof path - 1);
    return std::string(path, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// The absolute name of path taken from folder fd (AT_FDCWD for the working folder), its
// folder resolved: the file itself need not exist.
std::string pathAt(int folder, const char* path) {
    std::string full = path;
    if (full.empty() || full[0] != '/') {
        char cwd[PATH_MAX];
        const std::string base =
            folder != AT_FDCWD ? descriptorPath(folder) : (::getcwd(cwd, sizeof cwd) ? cwd : "");
        full = base + "/" + full;
    }
    const std::size_t slash = full.rfind('/');
    char resolved[PATH_MAX];
    const std::string parent = slash == 0 ? "/" : full.substr(0, slash);
    if (!::realpath(parent.c_str(), resolved))
        return full;
    return std::string(resolved) + full.substr(slash);
}

bool isUnder(const std::string& path) {
    const std::string& under = settings().under;
    if (under.empty())
        return true;
    return path == under ||
           (path.size() > under.size() && path.compare(0, under.size(), under) == 0 &&
            path[under.size()] == '/');
}

void logCall(long number, Kind kind, const std::string& path, bool failed) {
    if (!settings().log)
        return;
    const std::string line = std::to_string(number) + " " + kindName(kind) + " " + path +
                             (failed ? " failed" : "") + "\n";
    const int fd = ::open(settings().log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    static const auto writeReally = real<ssize_t (*)(int, const void*, size_t)>("write");
    (void)!writeReally(fd, line.data(), line.size());
    static const auto closeReally = real<int (*)(int)>("close");
    closeReally(fd);
}

// Whether this call, of kind on path, is the one to fail; counts and logs it when it counts.
bool shouldFail(Kind kind, const std::string& path) {
    const Settings& s = settings();
    if (!s.active || s.kind != kind || !isUnder(path))
        return false;
    const int saved = errno;
    const long number = ++counted;
    const bool fail = number == s.failAt;
    logCall(number, kind, path, fail);
    errno = saved;
    return fail;
}

bool failDescriptorCall(Kind kind, int fd) {
    const Settings& s = settings();
    if (!s.active || s.kind != kind)
        return false;
    return shouldFail(kind, descriptorPath(fd));
}

template <typename Result> Result failed() {
    errno = settings().error;
    return static_cast<Result>(-1);
}

} // namespace

extern "C" {

ssize_t write(int fd, const void* data, size_t size) {
    if (failDescriptorCall(Kind::write, fd))
        return failed<ssize_t>();
    static const auto next = real<ssize_t (*)(int, const void*, size_t)>("write");
    return next(fd, data, size);
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
    if (failDescriptorCall(Kind::write, fd))
        return failed<ssize_t>();
    static const auto next = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    return next(fd, data, size, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset) {
    if (failDescriptorCall(Kind::write, fd))
        return failed<ssize_t>();
    static const auto next = real<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    return next(fd, data, size, offset);
}

ssize_t writev(int fd, const struct iovec* parts, int count) {
    if (failDescriptorCall(Kind::write, fd))
        return failed<ssize_t>();
    static const auto next = real<ssize_t (*)(int, const struct iovec*, int)>("writev");
    return next(fd, parts, count);
}

int fsync(int fd) {
    if (failDescriptorCall(Kind::fsync, fd))
        return failed<int>();
    static const auto next = real<int (*)(int)>("fsync");
    return next(fd);
}

int fdatasync(int fd) {
    if (failDescriptorCall(Kind::fsync, fd))
        return failed<int>();
    static const auto next = real<int (*)(int)>("fdatasync");
    return next(fd);
}

int close(int fd) {
    const bool fail = failDescriptorCall(Kind::close, fd);
    static const auto next = real<int (*)(int)>("close");
    const int result = next(fd);
    return fail ? failed<int>() : result;
}

int rename(const char* from, const char* to) {
    if (settings().active && shouldFail(Kind::rename, pathAt(AT_FDCWD, to)))
        return failed<int>();
    static const auto next = real<int (*)(const char*, const char*)>("rename");
    return next(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    if (settings().active && shouldFail(Kind::rename, pathAt(toFolder, to)))
        return failed<int>();
    static const auto next = real<int (*)(int, const char*, int, const char*)>("renameat");
    return next(fromFolder, from, toFolder, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    if (settings().active && shouldFail(Kind::rename, pathAt(toFolder, to)))
        return failed<int>();
    static const auto next =
        real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    return next(fromFolder, from, toFolder, to, flags);
}

} // extern "C"
