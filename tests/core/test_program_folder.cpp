#include "core/archive.h"
#include "core/program_folder.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace quintor;
using quintor::testing::TempFolder;
using quintor::testing::writeBytes;

TEST(ProgramFolder, ChosenFolderThenHomeVariableThenExecutable) {
    TempFolder folder;
    const char* savedHome = std::getenv("QUINTOR_HOME");
    const std::string saved = savedHome ? savedHome : "";

    setProgramFolder({});
    setExecutablePath(folder / "bin" / "quintor");
    ::unsetenv("QUINTOR_HOME");
    EXPECT_EQ(programFolder(), folder / "bin");
    ::setenv("QUINTOR_HOME", "", 1);
    EXPECT_EQ(programFolder(), folder / "bin") << "an empty variable counts as unset";
    ::setenv("QUINTOR_HOME", folder.path().c_str(), 1);
    EXPECT_EQ(programFolder(), folder.path());
    setProgramFolder(folder / "chosen");
    EXPECT_EQ(programFolder(), folder / "chosen");
    setProgramFolder({});
    EXPECT_EQ(programFolder(), folder.path());

    if (savedHome)
        ::setenv("QUINTOR_HOME", saved.c_str(), 1);
    else
        ::unsetenv("QUINTOR_HOME");
}

TEST(ProgramFolder, FindsFilesWhateverTheLetterCase) {
    TempFolder folder;
    EXPECT_EQ(findFileNoCase(folder.path(), "QUINTOR.CFG"), folder / "QUINTOR.CFG");

    writeBytes(folder / "Quintor.cfg", {1});
    EXPECT_EQ(findFileNoCase(folder.path(), "QUINTOR.CFG"), folder / "Quintor.cfg");
    EXPECT_EQ(findFileNoCase(folder.path(), "quintor.cfg"), folder / "Quintor.cfg");
    EXPECT_EQ(findFileNoCase(folder.path(), "QTOR_or.cfg"), folder / "QTOR_or.cfg");

    // Two spellings on disk: the exact one wins, otherwise always the same one.
    writeBytes(folder / "QUINTOR.CFG", {2});
    EXPECT_EQ(findFileNoCase(folder.path(), "QUINTOR.CFG"), folder / "QUINTOR.CFG");
    EXPECT_EQ(findFileNoCase(folder.path(), "Quintor.cfg"), folder / "Quintor.cfg");
    EXPECT_EQ(findFileNoCase(folder.path(), "quintor.CFG"), folder / "QUINTOR.CFG");

    EXPECT_EQ(findFileNoCase(folder / "missing", "x.cfg"), folder / "missing" / "x.cfg");
}

TEST(ProgramFolder, InstalledProgramUsesTheUserDataFolder) {
    TempFolder folder;
    const char* savedHome = std::getenv("QUINTOR_HOME");
    const std::string saved = savedHome ? savedHome : "";
    ::unsetenv("QUINTOR_HOME");
    setProgramFolder({});
    const auto bin = folder / "bin";
    const auto data = folder / "dati" / "Quintor";
    const auto examples = folder / "esempi";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(examples);
    writeBytes(examples / "somma.txt", {'S'});
    setExecutablePath(bin / "quintor");
    setUserDataFolder(data);

    // A folder the user may write is still the program folder, as `make run` has it.
    EXPECT_EQ(programFolder(), bin);
    EXPECT_TRUE(prepareUserDataFolder(examples));
    EXPECT_FALSE(std::filesystem::exists(data));

    // A folder nobody may write, not even root: one that is not there.
    setExecutablePath(folder / "altrove" / "quintor");
    EXPECT_EQ(programFolder(), data);
    ASSERT_TRUE(prepareUserDataFolder(examples));
    const Archive archive = Archive::load(data / "vincenti.dat");
    EXPECT_EQ(archive.size(), 3000u);
    EXPECT_TRUE(isSimulatedArchive(archive));
    EXPECT_TRUE(std::filesystem::exists(data / "somma.txt"));
    // A later start keeps what the user has: the archive is not simulated again.
    writeBytes(data / "vincenti.dat", {});
    ASSERT_TRUE(prepareUserDataFolder(examples));
    EXPECT_EQ(std::filesystem::file_size(data / "vincenti.dat"), 0u);
    // Installed in a folder the user may write: the data still go to the user data folder.
    std::filesystem::create_directories(folder / "share" / "quintor");
    setExecutablePath(bin / "quintor");
    EXPECT_EQ(programFolder(), data);
    ::setenv("QUINTOR_HOME", folder.path().c_str(), 1);
    EXPECT_EQ(programFolder(), folder.path()) << "the variable still wins";

    setUserDataFolder({});
    if (savedHome)
        ::setenv("QUINTOR_HOME", saved.c_str(), 1);
    else
        ::unsetenv("QUINTOR_HOME");
}
