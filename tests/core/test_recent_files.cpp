#include "core/recent_files.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

using namespace quintor;
using quintor::testing::readBytes;
using quintor::testing::TempFolder;
using quintor::testing::writeBytes;

namespace {

std::string nameOf(int k) {
    return "/home/utente/Sistemi/Sistem" + std::to_string(k) + ".Qtr";
}

std::vector<std::uint8_t> listFile(std::int32_t count, const std::vector<std::string>& entries,
                                   std::size_t size = recentFilesSize) {
    std::vector<std::uint8_t> bytes(std::max(size, recentFilesSize), 0);
    const auto raw = static_cast<std::uint32_t>(count);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(raw >> (8 * i));
    for (std::size_t k = 0; k < entries.size(); ++k) {
        bytes[4 + 256 * k] = static_cast<std::uint8_t>(entries[k].size());
        std::copy(entries[k].begin(), entries[k].end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(5 + 256 * k));
    }
    bytes.resize(size);
    return bytes;
}

} // namespace

TEST(RecentFiles, GrowsAtTheEndThenRotatesNewNamesToTheTop) {
    RecentFiles list;
    for (int k = 1; k <= 5; ++k)
        list.add(nameOf(k));
    EXPECT_EQ(list.count, 5);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(list.entries[static_cast<std::size_t>(k - 1)], nameOf(k));
    EXPECT_TRUE(list.entries[5].empty());
    EXPECT_EQ(list.entriesInUse(), 5);

    list.add(nameOf(6));
    list.add(nameOf(7));
    list.add(nameOf(8));
    EXPECT_EQ(list.count, 8);
    const std::array<std::string, 6> expected{nameOf(8), nameOf(7), nameOf(1),
                                              nameOf(2), nameOf(3), nameOf(4)};
    EXPECT_EQ(list.entries, expected);

    // Present names change nothing, wherever they sit.
    list.add(nameOf(8));
    list.add(nameOf(4));
    list.add("");
    EXPECT_EQ(list.count, 8);
    EXPECT_EQ(list.entries, expected);
    EXPECT_FALSE(list.contains(nameOf(5)));
}

TEST(RecentFiles, KeepsTheLetterCaseAndRefusesNamesTooLongToStore) {
    RecentFiles list;
    list.add("/home/Utente/Sistemi di prova/Perché.Qtr");
    list.add("/HOME/UTENTE/SISTEMI DI PROVA/PERCHÉ.QTR");
    EXPECT_EQ(list.count, 2) << "names differing in case are different files";
    EXPECT_EQ(list.entries[0], "/home/Utente/Sistemi di prova/Perché.Qtr");

    list.add("/" + std::string(255, 'a'));
    EXPECT_EQ(list.count, 2);
    const std::string longest = "/" + std::string(254, 'b');
    list.add(longest);
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(list.entries[2], longest);
}

TEST(RecentFiles, WritesAndReadsTheFixedLayout) {
    TempFolder folder;
    RecentFiles list;
    list.add("/tmp/à b.qtr");
    list.add(nameOf(2));
    ASSERT_TRUE(list.save(folder / recentFilesName));
    EXPECT_EQ(readBytes(folder / recentFilesName), listFile(2, {"/tmp/à b.qtr", nameOf(2)}));

    const RecentFiles loaded = RecentFiles::load(folder / recentFilesName);
    EXPECT_EQ(loaded.count, 2);
    EXPECT_EQ(loaded.entries, list.entries);

    // Count past six: all six entries are in use, and it survives a save.
    writeBytes(folder / recentFilesName,
               listFile(9, {nameOf(1), nameOf(2), nameOf(3), nameOf(4), nameOf(5), nameOf(6)}));
    RecentFiles nine = RecentFiles::load(folder / recentFilesName);
    EXPECT_EQ(nine.count, 9);
    EXPECT_TRUE(nine.contains(nameOf(6)));
    nine.add(nameOf(7));
    EXPECT_EQ(nine.count, 10);
    EXPECT_EQ(nine.entries[0], nameOf(7));
    EXPECT_EQ(nine.entries[5], nameOf(5));
}

TEST(RecentFiles, EachSaveIsRecordedInTheListFile) {
    TempFolder folder;
    RecentFiles::recordSave(folder.path(), nameOf(1));
    RecentFiles::recordSave(folder.path(), nameOf(2));
    const RecentFiles again = RecentFiles::recordSave(folder.path(), nameOf(1));
    EXPECT_EQ(again.count, 2);
    EXPECT_EQ(RecentFiles::load(folder / recentFilesName).entries, again.entries);
    EXPECT_EQ(readBytes(folder / recentFilesName).size(), recentFilesSize);

    // A list file spelled otherwise is the same list.
    std::filesystem::rename(folder / recentFilesName, folder / "quin_lst.cfg");
    EXPECT_EQ(RecentFiles::recordSave(folder.path(), nameOf(3)).count, 3);
    EXPECT_FALSE(std::filesystem::exists(folder / recentFilesName));

    // A list that cannot be written does not stop the caller.
    const RecentFiles unwritable = RecentFiles::recordSave(folder / "missing", nameOf(4));
    EXPECT_EQ(unwritable.count, 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST(RecentFiles, DamagedFilesGiveEmptyEntries) {
    TempFolder folder;
    const auto file = folder / recentFilesName;

    EXPECT_EQ(RecentFiles::load(folder / "missing").count, 0);

    // Entries beyond the count are empty even when the file holds text there.
    writeBytes(file, listFile(2, {nameOf(1), nameOf(2), nameOf(3)}));
    RecentFiles two = RecentFiles::load(file);
    EXPECT_EQ(two.count, 2);
    EXPECT_TRUE(two.entries[2].empty());
    EXPECT_FALSE(two.entryInUse(2));

    writeBytes(file, listFile(-3, {nameOf(1)}));
    RecentFiles negative = RecentFiles::load(file);
    EXPECT_EQ(negative.count, 0);
    negative.add(nameOf(5));
    EXPECT_EQ(negative.count, 1);
    EXPECT_EQ(negative.entries[0], nameOf(5));

    // Cut inside the second entry: the first is whole, the second and the rest are empty.
    writeBytes(file, listFile(3, {nameOf(1), nameOf(2), nameOf(3)}, 4 + 256 + 10));
    RecentFiles cut = RecentFiles::load(file);
    EXPECT_EQ(cut.entries[0], nameOf(1));
    EXPECT_TRUE(cut.entries[1].empty());
    EXPECT_TRUE(cut.entries[2].empty());

    writeBytes(file, {1, 0});
    EXPECT_EQ(RecentFiles::load(file).count, 0);
}

struct CaptionCase {
    std::vector<std::string> entries;
    std::vector<std::string> captions;
};

class RecentCaption : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(RecentCaption, TellsSameNamedFilesApart) {
    RecentFiles list;
    const CaptionCase& c = GetParam();
    for (const std::string& entry : c.entries)
        list.add(entry);
    for (std::size_t k = 0; k < c.entries.size(); ++k)
        EXPECT_EQ(recentMenuCaption(c.entries[k], list), c.captions[k]) << c.entries[k];
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RecentCaption,
    ::testing::Values(
        CaptionCase{{"/home/utente/Sistem1.Qtr", "/Sistem2.Qtr", "/a b/c/Perché è.qtr"},
                    {"/../utente/Sistem1.Qtr", "/Sistem2.Qtr", "/../c/Perché è.qtr"}},
        // Same file name: the holding folders differ, so they are enough.
        CaptionCase{{"/home/anna/Sistem1.Qtr", "/home/bruno/Sistem1.Qtr", "/tmp/Sistem2.Qtr"},
                    {"/../anna/Sistem1.Qtr", "/../bruno/Sistem1.Qtr", "/tmp/Sistem2.Qtr"}},
        // Same holding folder name: one more folder up, and a path shown whole has no "..".
        CaptionCase{{"/casa/anna/giocate/S.qtr", "/casa/bruno/giocate/S.qtr", "/giocate/S.qtr"},
                    {"/../anna/giocate/S.qtr", "/../bruno/giocate/S.qtr", "/giocate/S.qtr"}},
        // A long folder name keeps its start and its end; the middle goes, counted in
        // characters, so an accented name is never cut inside a letter.
        CaptionCase{{"/dati/àààààààààààààààààààààààààààààààààààààààààààààààààààààààà/S.qtr"},
                    {"/../ààààààààààààààà…ààààààààààààààà/S.qtr"}}));