#include "tests/support/cli_runner.h"

#include <array>
#include <cerrno>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quintor::testing {

namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        read = ends[0];
        write = ends[1];
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    void closeRead() {
        if (read >= 0)
            close(read);
        read = -1;
    }
    void closeWrite() {
        if (write >= 0)
            close(write);
        write = -1;
    }
};

// Reads both pipes to their end together, so a program that fills one never blocks.
void drain(Pipe& out, Pipe& err, std::string& outText, std::string& errText) {
    std::array<pollfd, 2> fds{{{out.read, POLLIN, 0}, {err.read, POLLIN, 0}}};
    std::array<std::string*, 2> sinks{&outText, &errText};
    int open = 2;
    std::array<char, 4096> buffer{};
    while (open > 0) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error("poll");
        }
        for (std::size_t k = 0; k < fds.size(); ++k) {
            if (fds[k].fd < 0 || fds[k].revents == 0)
                continue;
            const ssize_t got = ::read(fds[k].fd, buffer.data(), buffer.size());
            if (got > 0) {
                sinks[k]->append(buffer.data(), static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                fds[k].fd = -1;
                --open;
            }
        }
    }
}

// The program's words, and the argument vector of pointers into them that exec wants.
struct Arguments {
    std::vector<std::string> words;
    std::vector<char*> argv;

    Arguments(const std::string& executable, const std::vector<std::string>& args)
        : words{executable} {
        words.insert(words.end(), args.begin(), args.end());
        for (auto& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;
};

} // namespace

pid_t startProgram(const std::string& executable, const std::vector<std::string>& args,
                   const std::filesystem::path& output) {
    Arguments arguments(executable, args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    const int error =
        posix_spawn(&child, executable.c_str(), &actions, nullptr, arguments.argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? child : -1;
}

int waitForExit(pid_t child) {
    int raw = 0;
    pid_t waited = -1;
    while ((waited = waitpid(child, &raw, 0)) < 0 && errno == EINTR) {
    }
    return waited == child && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

CliResult runProgram(const std::string& executable, const std::vector<std::string>& args) {
    Arguments arguments(executable, args);
    Pipe out;
    Pipe err;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, 1);
    posix_spawn_file_actions_adddup2(&actions, err.write, 2);
    pid_t child = -1;
    const int spawned =
        posix_spawn(&child, executable.c_str(), &actions, nullptr, arguments.argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    out.closeWrite();
    err.closeWrite();

    CliResult result;
    if (spawned != 0) {
        result.errors = "cannot start " + executable;
        return result;
    }
    drain(out, err, result.out, result.errors);
    result.status = waitForExit(child);
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);)
        result.lines.push_back(line);
    return result;
}

} // namespace quintor::testing
