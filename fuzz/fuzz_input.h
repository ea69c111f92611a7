#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

// The readers take file names, so each input is written to a file of this process first.
inline std::filesystem::path fuzzFile(const char* name, const std::uint8_t* data,
                                      std::size_t size) {
    // In memory when the system offers it: every save flushes to the disk, which would
    // otherwise slow the readers that save down to a few dozen runs a second.
    struct Folder {
        std::filesystem::path path;
        Folder() {
            std::error_code error;
            const std::filesystem::path memory = "/dev/shm";
            const auto base = std::filesystem::is_directory(memory, error)
                                  ? memory
                                  : std::filesystem::temp_directory_path();
            path = base / ("quintor-fuzz-" + std::to_string(::getpid()));
            std::filesystem::create_directories(path);
        }
        ~Folder() {
            std::error_code error;
            std::filesystem::remove_all(path, error);
        }
    };
    static const Folder folderHolder;
    const std::filesystem::path& folder = folderHolder.path;
    const auto file = folder / name;
    std::FILE* stream = std::fopen(file.c_str(), "wb");
    if (stream) {
        if (size > 0)
            std::fwrite(data, 1, size, stream);
        std::fclose(stream);
    }
    return file;
}
