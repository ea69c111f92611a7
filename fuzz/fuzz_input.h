#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

// The readers take file names, so each input is written to a file of this process first.
inline std::filesystem::path fuzzFile(const char* name, const std::uint8_t* data,
                                      std::size_t size) {
    static const std::filesystem::path folder = [] {
        auto path =
            std::filesystem::temp_directory_path() / ("quintor-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    const auto file = folder / name;
    std::FILE* stream = std::fopen(file.c_str(), "wb");
    if (stream) {
        if (size > 0)
            std::fwrite(data, 1, size, stream);
        std::fclose(stream);
    }
    return file;
}
