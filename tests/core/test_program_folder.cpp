#include "core/archive.h"
#include "core/program_folder.h"
#include "core/user_functions.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

using namespace quintor;
using quintor::testing::fileText;
using quintor::testing::TempFolder;
using quintor::testing::writeBytes;
using quintor::testing::writeText;

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
    std::filesystem::create_directories(bin);
    setExecutablePath(bin / "quintor");
    setUserDataFolder(data);

    // A folder the user may write is still the program folder, as `make run` has it.
    EXPECT_EQ(programFolder(), bin);
    // A folder nobody may write, not even root: one that is not there.
    setExecutablePath(folder / "altrove" / "quintor");
    EXPECT_EQ(programFolder(), data);
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

TEST(ProgramFolder, FirstStartGetsASimulatedArchiveUpToTodayAndTheExamplesInTheMenu) {
    using namespace std::chrono;
    TempFolder folder;
    const auto home = folder / "dati" / "Quintor";
    const auto examples = folder / "esempi";
    // The programs apart from the descriptions, as the package installs the compiled ones.
    const auto programs = folder / "lib" / "esempi";
    std::filesystem::create_directories(examples);
    std::filesystem::create_directories(programs);
    writeText(examples / "somma.py", "#!/usr/bin/env python3\n");
    writeText(examples / "somma.txt", "Filtro della somma\nAutore\nautore@example.org\n");
    writeText(programs / "pari.sh", "#!/bin/sh\n");
    std::filesystem::permissions(programs / "pari.sh", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    writeText(examples / "pari.txt", "Solo pari\nAutore\nautore@example.org\n");
    writeText(examples / "somma.cfg", "200 346\n");
    setProgramFolder(home);

    for (const sys_days today : {sys_days{2026y / December / 9}, sys_days{2027y / March / 7}}) {
        std::filesystem::remove_all(home);
        const FolderPreparation first = prepareProgramFolder({examples, programs}, today);
        EXPECT_TRUE(first.ok);
        EXPECT_TRUE(first.firstStart);
        const Archive archive = Archive::load(home / "vincenti.dat");
        ASSERT_EQ(archive.size(), 3000u);
        EXPECT_TRUE(isSimulatedArchive(archive));
        // The newest draw is the last draw day up to today, never a day in the future.
        const sys_days newest = *archive[archive.size() - 1].day;
        EXPECT_LE(newest, today);
        EXPECT_GT(newest, today - days{3});
        const UserFunctionList menu = UserFunctionList::load(home);
        ASSERT_EQ(menu.entries.size(), 2u);
        EXPECT_EQ(menu.entries[0].program, "pari.sh");
        EXPECT_EQ(menu.entries[0].caption, "Solo pari");
        EXPECT_EQ(menu.entries[1].program, "somma.py");
        EXPECT_EQ(fileText(home / "somma.cfg"), "200 346\n");
        // A copied program that lost its execute bit could not run from the menu.
        EXPECT_NE(std::filesystem::status(home / "pari.sh").permissions() &
                      std::filesystem::perms::owner_exec,
                  std::filesystem::perms::none);
    }

    // A later start keeps what the user has: the archive is not simulated again, and a
    // function the user took out of the menu stays out.
    writeBytes(home / "vincenti.dat", {});
    UserFunctionList menu = UserFunctionList::load(home);
    ASSERT_TRUE(removeUserFunction(home, 0, menu));
    const FolderPreparation later =
        prepareProgramFolder({examples, programs}, sys_days{2030y / May / 1});
    EXPECT_TRUE(later.ok);
    EXPECT_FALSE(later.firstStart);
    EXPECT_EQ(std::filesystem::file_size(home / "vincenti.dat"), 0u);
    EXPECT_EQ(UserFunctionList::load(home).entries.size(), 1u);
    setProgramFolder({});
}
