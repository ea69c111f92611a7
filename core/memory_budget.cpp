#include "core/memory_budget.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace quintor {

namespace {

constexpr std::uint64_t unlimited = std::numeric_limits<std::uint64_t>::max();

// "MemAvailable:  123456 kB" in /proc/meminfo: what can be allocated without swapping.
std::uint64_t systemAvailable() {
    std::ifstream in("/proc/meminfo");
    std::string name;
    std::uint64_t kilobytes = 0;
    std::string unit;
    while (in >> name >> kilobytes >> unit)
        if (name == "MemAvailable:")
            return kilobytes * 1024;
    const long pages = ::sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
    return unlimited;
}

// The process's address space and its data, from /proc/self/statm (in pages).
struct ProcessSize {
    std::uint64_t total = 0;
    std::uint64_t data = 0;
};
ProcessSize processSize() {
    std::ifstream in("/proc/self/statm");
    std::uint64_t size = 0, resident = 0, shared = 0, text = 0, library = 0, data = 0;
    if (!(in >> size >> resident >> shared >> text >> library >> data))
        return {};
    const auto pageSize = static_cast<std::uint64_t>(std::max(::sysconf(_SC_PAGESIZE), 1L));
    return {size * pageSize, data * pageSize};
}

std::uint64_t roomUnder(int resource, std::uint64_t used) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return unlimited;
    const auto cap = static_cast<std::uint64_t>(limit.rlim_cur);
    return cap > used ? cap - used : 0;
}

std::uint64_t readNumber(const std::string& file) {
    std::ifstream in(file);
    std::string text;
    if (!(in >> text) || text.empty() || text == "max")
        return unlimited;
    try {
        return std::stoull(text);
    } catch (...) {
        return unlimited;
    }
}

// The memory limit of the process's control group (version 2, or version 1's memory one).
std::uint64_t controlGroupRoom() {
    std::ifstream in("/proc/self/cgroup");
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t first = line.find(':');
        const std::size_t second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos)
            continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        const std::string path = line.substr(second + 1);
        std::uint64_t limit = unlimited, usage = 0;
        if (controllers.empty()) {
            limit = readNumber("/sys/fs/cgroup" + path + "/memory.max");
            usage = readNumber("/sys/fs/cgroup" + path + "/memory.current");
        } else if (controllers.find("memory") != std::string::npos) {
            limit = readNumber("/sys/fs/cgroup/memory" + path + "/memory.limit_in_bytes");
            usage = readNumber("/sys/fs/cgroup/memory" + path + "/memory.usage_in_bytes");
        }
        if (limit != unlimited && usage != unlimited)
            return limit > usage ? limit - usage : 0;
    }
    return unlimited;
}

} // namespace

std::uint64_t availableMemory() {
    const ProcessSize size = processSize();
    return std::min({systemAvailable(), roomUnder(RLIMIT_AS, size.total),
                     roomUnder(RLIMIT_DATA, size.data), controlGroupRoom()});
}

} // namespace quintor
