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
