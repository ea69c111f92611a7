// Times the start-up: from starting the program to its main frame painted, and to its first
// system window painted, with archives of 10,000 and 100,000 draws, against a bare main window
// with an MDI area started the same way.
// Both quit once shown (QUINTOR_START_PROBE). Runs offscreen, then on an X server (Xvfb) that
// is already up, as a desktop's would be.
#include "bench/bench_common.h"
#include "core/archive.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Start {
    std::string name;
    const char* program;
    fs::path home;           // program folder and working folder
    const char* probe = "1"; // what painted counts as started: see start_probe.h
    const char* argument = nullptr;
    bool judged = true; // held to the target: no slower than the bare window
};

struct Runs {
    std::vector<double> walls, cpus;
    long peakKilobytes = 0;
    int failures = 0;
};

// One start: seconds until the program says it is shown, or a negative value if it never does.
double startOnce(const Start& start, const std::vector<std::string>& environment, Runs& runs) {
    int channel[2];
    if (pipe(channel) != 0)
        return -1;
    const auto begin = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        dup2(channel[1], STDOUT_FILENO);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        if (chdir(start.home.c_str()) != 0)
            _exit(127);
        setenv("QUINTOR_HOME", start.home.c_str(), 1);
        setenv("QUINTOR_START_PROBE", start.probe, 1);
        for (const std::string& setting : environment) {
            const std::size_t equals = setting.find('=');
            setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
        }
        execl(start.program, start.program, start.argument, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(channel[1]);
    std::string said;
    pollfd wait{channel[0], POLLIN, 0};
    char buffer[64];
    double seconds = -1;
    while (poll(&wait, 1, 15000) > 0) {
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        said.append(buffer, static_cast<std::size_t>(got));
        if (said.find("mostrata\n") != std::string::npos) {
            seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            break;
        }
    }
    if (seconds < 0)
        kill(child, SIGKILL);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (seconds < 0) {
        ++runs.failures;
        return seconds;
    }
    runs.walls.push_back(seconds);
    runs.cpus.push_back(bench::processorSeconds(usage));
    runs.peakKilobytes = std::max(runs.peakKilobytes, usage.ru_maxrss);
    return seconds;
}

// An X server of our own for the runs on X11; its display in `display`.
pid_t startXServer(std::string& display) {
    int channel[2];
    if (pipe(channel) != 0)
        return -1;
    const pid_t server = fork();
    if (server == 0) {
        close(channel[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        const std::string fd = std::to_string(channel[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(channel[1]);
    std::string number;
    char c;
    pollfd wait{channel[0], POLLIN, 0};
    while (poll(&wait, 1, 20000) > 0 && read(channel[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(channel[0]);
    if (number.empty()) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
        return -1;
    }
    display = ":" + number;
    return server;
}

int failures = 0;

void measurePlatform(const std::string& platform, const std::vector<Start>& starts,
                     const std::vector<std::string>& environment, int runCount) {
    std::vector<Runs> runs(starts.size());
    // A first start of each fills the caches; then the starts take turns, so a change of load
    // on the machine falls on all of them alike.
    for (std::size_t s = 0; s < starts.size(); ++s) {
        Runs warmUp;
        startOnce(starts[s], environment, warmUp);
    }
    for (int r = 0; r < runCount; ++r)
        for (std::size_t s = 0; s < starts.size(); ++s)
            startOnce(starts[s], environment, runs[s]);

    const bench::Measure bare = bench::summary(runs[0].walls, runs[0].cpus, runs[0].peakKilobytes);
    for (std::size_t s = 0; s < starts.size(); ++s) {
        const std::string name = starts[s].name + " (" + platform + ")";
        if (runs[s].failures > 0) {
            std::printf("  %s: %d avvii non arrivati alla finestra\n", name.c_str(),
                        runs[s].failures);
            ++failures;
        }
        const bench::Measure m = bench::summary(runs[s].walls, runs[s].cpus, runs[s].peakKilobytes);
        if (s == 0)
            bench::row(name, m, 0, 0);
        else if (!starts[s].judged)
            bench::row(name, m, 0, bare.wall, "(rispetto alla finestra vuota)");
        else
            bench::row(name, m, bare.wallHigh, bare.wall,
                       "(obiettivo: la finestra vuota, la sua corsa piu' lenta)");
    }
}

} // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / "quintor-bench-startup";
    // The bare window draws no text; the same with a menu bar and a status line shows what
    // drawing text costs on its own (the font database, the glyphs).
    std::vector<Start> starts{{"avvio: finestra vuota con area MDI", QUINTOR_BARE_WINDOW, folder},
                              {"avvio: finestra vuota con menu e riga di stato",
                               QUINTOR_BARE_WINDOW, folder, "1", "--menu", false}};
    for (const std::size_t draws : {10000u, 100000u}) {
        const fs::path home = folder / std::to_string(draws);
        fs::remove_all(home);
        fs::create_directories(home);
        if (!quintor::simulatedArchive(draws, 1).save(home / "vincenti.dat")) {
            std::printf("archivio di prova non scritto in %s\n", home.c_str());
            return 1;
        }
        starts.push_back({"avvio: Quintor, archivio di " + std::to_string(draws) + " estrazioni",
                          QUINTOR_PROGRAM, home});
    }
    // The frame is painted before the archive window and the first system window are built;
    // these rows time the start up to the first system window painted as well.
    for (std::size_t s = 2, framed = starts.size(); s < framed; ++s)
        starts.push_back({starts[s].name + ", prima finestra di sistema", QUINTOR_PROGRAM,
                          starts[s].home, "quintor::SystemWindow", nullptr, false});

    constexpr int runCount = 7;
    measurePlatform("offscreen", starts, {"QT_QPA_PLATFORM=offscreen"}, runCount);

    std::string display;
    const pid_t server = startXServer(display);
    if (server < 0) {
        std::printf("  Xvfb non disponibile: avvio su X11 non misurato\n");
    } else {
        measurePlatform("Xvfb", starts, {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + display}, runCount);
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
    fs::remove_all(folder);
    return failures == 0 ? 0 : 1;
}
