// Saves one file the way the program does, for a test that runs it with a failing call:
//   save_one_file FILE FOLDER VARIANT
// FILE names a writer of writersUnderTest. Exit status 0 when the writer reports the file
// saved, 1 when it reports a failure, 64 for a writer it does not know.
#include "tests/fault_injection/core_writers.h"

#include <cstdlib>
#include <string_view>

int main(int argc, char** argv) {
    if (argc != 4)
        return 64;
    for (const auto& writer : quintor::testing::writersUnderTest())
        if (writer.file == std::string_view(argv[1]))
            return writer.save(argv[2], std::atoi(argv[3])) ? 0 : 1;
    return 64;
}
