#include "core/archive.h"
#include "core/archive_service.h"
#include "core/byte_file.h"
#include "core/column.h"
#include "core/conversions.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <set>

using namespace quintor;
namespace fs = std::filesystem;
using quintor::testing::fileText;
using quintor::testing::quickTempBase;
using quintor::testing::TempFolder;
using quintor::testing::writeText;

namespace {

// One 29-byte file record, typed out by hand.
std::string fileRecord(std::string_view date, std::string_view column, std::string_view jolly) {
    return std::string(date) + std::string(column) + std::string(jolly);
}

ArchiveRecord entry(std::string_view date, std::string_view column = "1 2 3 4 5 6",
                    std::string_view jolly = "7") {
    auto record = recordFromEntry(date, column, jolly);
    EXPECT_TRUE(record.ok()) << date;
    return record.ok() ? *record : ArchiveRecord{};
}

Archive archiveOf(std::initializer_list<std::string_view> dates) {
    Archive archive;
    for (auto date : dates)
        EXPECT_TRUE(archive.insert(entry(date)).ok());
    return archive;
}

std::vector<std::string> datesOf(const Archive& archive) {
    std::vector<std::string> dates;
    for (const auto& record : archive.records())
        dates.push_back(record.date);
    return dates;
}

} // namespace

TEST(ArchiveFile, LoadsRecordsFieldsAndIgnoresAPartialTail) {
    TempFolder folder;
    const auto file = folder.path() / "vincenti.dat";
    const std::string first = fileRecord("03/01/2001", " 5 12 33 45 67 89", " 7");
    const std::string second = fileRecord("06/01/2001", "90 80 70 60 50 40", "11");
    writeText(file, first + second + "09/01/2001 1 2");

    const Archive archive = Archive::load(file);
    ASSERT_EQ(archive.size(), 2u);
    EXPECT_EQ(archive[0].date, "03/01/2001");
    EXPECT_EQ(archive[0].column, " 5 12 33 45 67 89");
    EXPECT_EQ(archive[0].jolly, "  7");
    EXPECT_EQ(archive[0].numbers, (Column{5, 12, 33, 45, 67, 89}));
    EXPECT_EQ(archive[0].jollyNumber, 7);
    EXPECT_EQ(archive[1].numbers, (Column{90, 80, 70, 60, 50, 40}));
    EXPECT_EQ(archive[1].jolly, " 11");
    // Saving gives back the whole records exactly, without the partial one.
    EXPECT_EQ(archive.fileBytes(), first + second);
}

// Records of the program's own forms are read by a shortcut; it must agree with the general
// conversions on every text, odd ones included.
TEST(ArchiveFile, FieldsReadAsTheGeneralConversionsReadThem) {
    std::mt19937 random(7);
    const std::string alphabet = " 0123456789/x";
    auto text = [&](std::string shape) {
        // '*' in the shape is any character of the alphabet, '#' any digit.
        for (char& c : shape)
            if (c == '*')
                c = alphabet[random() % alphabet.size()];
            else if (c == '#')
                c = static_cast<char>('0' + random() % 10);
        return shape;
    };
    for (int round = 0; round < 20000; ++round) {
        const bool odd = round % 2 == 0;
        const std::string date = text(odd ? "**/**/****" : "##/##/####");
        const std::string column = text(odd ? "** ** ** ** ** **" : "## ## ## ## ## ##");
        const std::string jolly = text(odd ? "**" : "##");
        const ArchiveRecord record = ArchiveRecord::fromFileFields(date, column, jolly);

        const auto numbers = parseColumn(column, Column{});
        EXPECT_EQ(record.numbers, numbers ? *numbers : Column{}) << column;
        const auto jollyValue = parseIntegerIgnoringBlanks(jolly);
        const int expectedJolly =
            jollyValue && *jollyValue >= 0 && *jollyValue <= 255 ? *jollyValue : 0;
        EXPECT_EQ(record.jollyNumber, expectedJolly) << jolly;
        const auto day = parseDate(date);
        EXPECT_EQ(record.day.has_value(), static_cast<bool>(day)) << date;
        if (day && record.day) {
            EXPECT_EQ(*record.day, std::chrono::sys_days{*day}) << date;
        }
    }
}

TEST(ArchiveFile, AReadingAheadServesItsOwnFileOnce) {
    TempFolder folder;
    ASSERT_TRUE(simulatedArchive(30, 1).save(folder / "a.dat").ok());
    ASSERT_TRUE(simulatedArchive(5, 2).save(folder / "b.dat").ok());
    ArchiveService archives;
    {
        // Holding the folder's lock keeps the reading waiting; wait() sees it end, untaken.
        std::optional<FolderLock> hold(std::in_place, folder.path());
        archives.startReading(folder / "a.dat");
        EXPECT_TRUE(archives.reading(folder / "a.dat"));
        EXPECT_FALSE(archives.reading(folder / "b.dat"));
        hold.reset();
        archives.wait();
        EXPECT_FALSE(archives.reading(folder / "a.dat"));
    }
    // Written after the reading ended: taking it still gives the file as it was read.
    ASSERT_TRUE(simulatedArchive(9, 4).save(folder / "a.dat").ok());
    const auto other = archives.take(folder / "b.dat");
    ASSERT_TRUE(other.ok());
    EXPECT_EQ(other->size(), 5u);
    const auto taken = archives.take(folder / "a.dat");
    ASSERT_TRUE(taken.ok());
    EXPECT_EQ(datesOf(*taken), datesOf(simulatedArchive(30, 1)));
    // Taken already: the file as it is now.
    const auto again = archives.take(folder / "a.dat");
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->size(), 9u);
}

TEST(ArchiveFile, NewestFirstReadsFromTheEndUpToTheLimit) {
    Archive archive;
    for (int i = 1; i <= 5; ++i)
        ASSERT_TRUE(archive
                        .insert(entry(std::to_string(i) + "/01/2001",
                                      std::to_string(i) + " 20 30 40 50 60"))
                        .ok());
    const auto newest = archive.newestFirst(3);
    ASSERT_EQ(newest.size(), 3u);
    EXPECT_EQ(newest[0][0], 5);
    EXPECT_EQ(newest[1][0], 4);
    EXPECT_EQ(newest[2][0], 3);
    EXPECT_EQ(archive.newestFirst(100).size(), 5u);
}

TEST(ArchiveInsert, KeepsDateOrderComparingDatesNotTexts) {
    Archive archive = archiveOf({"31/01/2001", "01/02/2001", "10/02/2001"});
    // As texts "05/02/2001" sorts before "31/01/2001"; as a date it goes between.
    auto at = archive.insert(entry("05/02/2001"));
    ASSERT_TRUE(at.ok());
    EXPECT_EQ(*at, 2u);
    ASSERT_TRUE(archive.insert(entry("01/01/2000")).ok());
    ASSERT_TRUE(archive.insert(entry("01/01/2030")).ok());
    EXPECT_EQ(datesOf(archive),
              (std::vector<std::string>{"01/01/2000", "31/01/2001", "01/02/2001", "05/02/2001",
                                        "10/02/2001", "01/01/2030"}));
}

TEST(ArchiveInsert, EqualDatesGoAfterTheNewestButBeforeAnOlderEqual) {
    Archive archive = archiveOf({"01/01/2001", "02/01/2001", "03/01/2001"});
    auto last = archive.insert(entry("03/01/2001", "9 19 29 39 49 59"));
    ASSERT_TRUE(last.ok());
    EXPECT_EQ(*last, 3u);
    auto middle = archive.insert(entry("02/01/2001", "8 18 28 38 48 58"));
    ASSERT_TRUE(middle.ok());
    EXPECT_EQ(*middle, 1u);
    EXPECT_EQ(archive[1].numbers[0], 8);
}

TEST(ArchiveInsert, AnUnreadableDateLeavesTheArchiveUnchanged) {
    TempFolder folder;
    const auto file = folder.path() / "vincenti.dat";
    writeText(file, fileRecord("01/01/2001", " 1  2  3  4  5  6", " 7") +
                        fileRecord("xx/01/2001", " 1  2  3  4  5  6", " 7") +
                        fileRecord("05/01/2001", " 1  2  3  4  5  6", " 7"));
    Archive archive = Archive::load(file);
    const std::string before = archive.fileBytes();
    // Reaching the damaged record while looking for the place fails before anything moves.
    auto failed = archive.insert(entry("03/01/2001"));
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error(), "'xx/01/2001' is not a valid date");
    EXPECT_EQ(archive.fileBytes(), before);
    // An append only needs the newest date.
    EXPECT_TRUE(archive.insert(entry("06/01/2001")).ok());
    EXPECT_EQ(archive.size(), 4u);
}

TEST(ArchiveEntry, BuildsTheStoredTextsFromTypedValues) {
    auto record = recordFromEntry(" 3/1/2001", "5  12 33 45 67 89", " 7 ");
    ASSERT_TRUE(record.ok());
    EXPECT_EQ(record->date, "03/01/2001");
    EXPECT_EQ(record->column, " 5 12 33 45 67 89");
    EXPECT_EQ(record->jolly, "  7");
    // Typed order is kept.
    EXPECT_EQ(recordFromEntry("03/01/2001", "89 5 12 33 45 67", "7")->column, "89  5 12 33 45 67");
}

TEST(ArchiveEntry, WeekdayNames) {
    using namespace std::chrono;
    EXPECT_EQ(weekdayName(year{2001} / January / 3), "Mercoledì");
    EXPECT_EQ(weekdayName(year{2009} / January / 3), "Sabato");
    EXPECT_EQ(weekdayName(year{2026} / May / 24), "Domenica");
    EXPECT_EQ(weekdayName(year{2026} / May / 25), "Lunedì");
}

TEST(ArchiveSave, AFailedWriteKeepsTheOldFile) {
    TempFolder folder;
    const auto file = folder.path() / "vincenti.dat";
    const std::string old = fileRecord("01/01/2001", " 1  2  3  4  5  6", " 7");
    writeText(file, old);
    {
        // The disk fills up half-way through the new archive.
        quintor::testing::FileSizeCap cap(40);
        auto saved = archiveOf({"01/01/2001", "02/01/2001"}).save(file);
        ASSERT_FALSE(saved.ok());
        EXPECT_EQ(saved.error(), saveFailedMessage);
    }
    EXPECT_EQ(fileText(file), old);
    EXPECT_EQ(quintor::testing::filesIn(folder.path()), 1u);

    // A link gets its target rewritten.
    const auto link = folder.path() / "collegamento.dat";
    fs::create_symlink(file, link);
    Archive two = archiveOf({"01/01/2001", "02/01/2001"});
    ASSERT_TRUE(two.save(link).ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fileText(file), two.fileBytes());
}

TEST(ArchiveMerge, SkipsPresentDatesAndRejectsBadDraws) {
    Archive archive = archiveOf({"01/01/2001", "05/01/2001", "09/01/2001"});
    std::vector<ArchiveRecord> draws = {
        ArchiveRecord::fromFileFields("03/01/2001", " 1  2  3  4  5  6", " 7"),
        ArchiveRecord::fromFileFields("05/01/2001", "11 12 13 14 15 16", "17"),
        ArchiveRecord::fromFileFields("31/02/2001", " 1  2  3  4  5  6", " 7"),
        ArchiveRecord::fromFileFields("07/01/2001", " 1  2  3  4  5 99", " 7"),
        ArchiveRecord::fromFileFields("12/01/2001", " 1  2  3  4  5  6", " 0"),
        ArchiveRecord::fromFileFields("10/01/2000", " 1  2  3  4  5  6", " 7"),
        ArchiveRecord::fromFileFields("10/01/2000", " 9  9  9  9  9  9", " 9"),
    };
    const MergeCounts counts = archive.merge(draws);
    EXPECT_EQ(counts.added, 2u);
    EXPECT_EQ(counts.present, 1u);
    EXPECT_EQ(counts.rejected, 4u) << "six nines are no draw, whatever their date";
    EXPECT_EQ(datesOf(archive), (std::vector<std::string>{"10/01/2000", "01/01/2001", "03/01/2001",
                                                          "05/01/2001", "09/01/2001"}));
    EXPECT_EQ(archive[0].numbers[0], 1);
}

// One line of a CSV file of draws and what it gives: the draw's texts, or why it is refused.
struct CsvDrawLine {
    const char* line;
    const char* date;
    const char* column;
    const char* jolly;
    const char* refused;
};

TEST(ArchiveCsv, EachLineGivesADrawOrTheReasonItIsRefused) {
    const CsvDrawLine rows[] = {
        {"2009-01-02,16,19,29,34,48,64,53", "02/01/2009", "16 19 29 34 48 64", " 53", nullptr},
        {"03/01/2009; 5;24;25;40;58;64;27", "03/01/2009", " 5 24 25 40 58 64", " 27", nullptr},
        {"2009-02-30,1,2,3,4,5,6,7", nullptr, nullptr, nullptr, "data non valida"},
        {"2009-01-07,14,31,35,40,50", nullptr, nullptr, nullptr,
         "non contiene data, sei numeri e jolly"},
        {"2009-01-08,14,23,24,41,71,91,63", nullptr, nullptr, nullptr,
         "numeri non compresi tra 1 e 90"},
        {"2009-01-09,14,23,23,41,71,90,63", nullptr, nullptr, nullptr, "numero ripetuto"},
        {"2009-01-10,14,23,24,41,71,90,71", nullptr, nullptr, nullptr,
         "jolly uguale a uno dei sei numeri"},
        // A year the archive cannot hold.
        {"0242-01-05,1,2,3,4,5,6,7", nullptr, nullptr, nullptr, "data non valida"},
        // Past the first line, a word is no header.
        {"il 9,1,2,3,4,5,6,7", nullptr, nullptr, nullptr, "data non valida"},
    };
    for (const CsvDrawLine& row : rows) {
        SCOPED_TRACE(row.line);
        const DrawFile file = parseCsvDraws(std::string("2009-01-01,1,2,3,4,5,6,7\n") + row.line);
        if (row.refused) {
            EXPECT_EQ(file.draws.size(), 1u);
            EXPECT_EQ(file.rejected, 1u);
            ASSERT_EQ(file.rejectedLines.size(), 1u);
            EXPECT_EQ(file.rejectedLines[0].line, 2u);
            EXPECT_EQ(file.rejectedLines[0].reason, row.refused);
            continue;
        }
        EXPECT_EQ(file.rejected, 0u);
        ASSERT_EQ(file.draws.size(), 2u);
        EXPECT_EQ(file.draws[1].date, row.date);
        EXPECT_EQ(file.draws[1].column, row.column);
        EXPECT_EQ(file.draws[1].jolly, row.jolly);
        EXPECT_TRUE(file.draws[1].isValidDraw());
    }
}

TEST(ArchiveCsv, LinesEndAtAnyLineEndAndOnlyTheFirstMayNameTheFields) {
    const DrawFile withHeader = parseCsvDraws("date,n1,n2,n3,n4,n5,n6,jolly\r\n"
                                              "2009-01-02,16,19,29,34,48,64,53\r\n"
                                              "\n"
                                              "03/01/2009; 5;24;25;40;58;64;27\r"
                                              "2009-02-30,1,2,3,4,5,6,7\n"
                                              "il 9,1,2,3,4,5,6,7");
    EXPECT_EQ(withHeader.draws.size(), 2u);
    EXPECT_EQ(withHeader.rejected, 2u);
    std::vector<std::size_t> refused;
    for (const auto& line : withHeader.rejectedLines)
        refused.push_back(line.line);
    EXPECT_EQ(refused, (std::vector<std::size_t>{5, 6}));

    const DrawFile headless = parseCsvDraws("2009-01-02,16,19,29,34,48,64,53");
    EXPECT_EQ(headless.draws.size(), 1u);
    EXPECT_EQ(headless.rejected, 0u);
}

TEST(ArchiveSample, ThreeDrawsAWeekOfDistinctNumbers) {
    using namespace std::chrono;
    const Archive archive = simulatedArchive(400, 1);
    ASSERT_EQ(archive.size(), 400u);
    EXPECT_EQ(archive[0].date, "03/01/2009");
    EXPECT_EQ(archive[1].date, "06/01/2009");
    EXPECT_EQ(archive[2].date, "08/01/2009");
    std::set<unsigned> weekdays;
    for (std::size_t i = 0; i < archive.size(); ++i) {
        const auto& record = archive[i];
        ASSERT_TRUE(record.isValidDraw()) << i;
        weekdays.insert(weekday{*record.day}.c_encoding());
        if (i > 0) {
            const auto gap = (*record.day - *archive[i - 1].day).count();
            EXPECT_TRUE(gap == 2 || gap == 3) << i;
        }
        std::set<int> numbers(record.numbers.begin(), record.numbers.end());
        EXPECT_EQ(numbers.size(), 6u) << i;
        EXPECT_TRUE(std::is_sorted(record.numbers.begin(), record.numbers.end())) << i;
        EXPECT_FALSE(numbers.count(record.jollyNumber)) << i;
    }
    EXPECT_EQ(weekdays, (std::set<unsigned>{2, 4, 6}));
    EXPECT_EQ(simulatedArchive(50, 7).fileBytes(), simulatedArchive(50, 7).fileBytes());
    EXPECT_NE(simulatedArchive(50, 7).fileBytes(), simulatedArchive(50, 8).fileBytes());
}

TEST(ArchiveSample, TheSimulatedArchiveIsRecognisedUntilReplaced) {
    Archive archive = simulatedArchive(30, 1);
    EXPECT_TRUE(isSimulatedArchive(archive));
    ASSERT_TRUE(archive.insert(entry("01/01/2030")).ok());
    EXPECT_TRUE(isSimulatedArchive(archive));
    EXPECT_FALSE(isSimulatedArchive(simulatedArchive(30, 2)));
    EXPECT_FALSE(isSimulatedArchive(Archive{}));
    archive.replace(5, entry(archive[5].date, "1 2 3 4 5 6", "7"));
    EXPECT_FALSE(isSimulatedArchive(archive));
}

TEST(ArchiveSample, EveryNumberIsDrawnAboutEquallyOften) {
    const Archive archive = simulatedArchive(3000, 1);
    std::array<int, 91> seen{};
    for (const auto& record : archive.records())
        for (auto n : record.numbers)
            ++seen[n];
    // 18,000 numbers over 90: 200 each on average; a skewed draw would leave some far off.
    for (int n = 1; n <= 90; ++n) {
        EXPECT_GT(seen[static_cast<std::size_t>(n)], 140) << n;
        EXPECT_LT(seen[static_cast<std::size_t>(n)], 260) << n;
    }
}

TEST(ArchiveSave, NoSaveWritesMoreDrawsThanAnArchiveMayHold) {
    // In memory when the system offers it: archives of 29 MB, each save flushed to the disk.
    TempFolder folder(quickTempBase());
    const auto file = folder.path() / archiveFileName;
    ASSERT_TRUE(simulatedArchive(maxArchiveDraws - 1, 1).save(file).ok());
    auto first = Archive::read(file);
    auto second = Archive::read(file);
    ASSERT_TRUE(first.ok() && second.ok());
    ASSERT_TRUE(first->insert(entry("01/01/9990")).ok());
    ASSERT_TRUE(first->save(file).ok()) << "the last draw that fits";
    const std::string full = fileText(file);
    // One program alone past the limit, and one whose draws join another program's there.
    ASSERT_TRUE(first->insert(entry("02/01/9990")).ok());
    ASSERT_TRUE(second->insert(entry("03/01/9990")).ok());
    ASSERT_TRUE(second->insert(entry("04/01/9990")).ok());
    for (Archive* archive : {&first.value(), &second.value()}) {
        const auto saved = archive->save(file);
        ASSERT_FALSE(saved.ok());
        EXPECT_EQ(saved.error(), archiveFullMessage());
        EXPECT_EQ(fileText(file), full);
    }
    EXPECT_EQ(quintor::testing::filesIn(folder.path()), 1u);
}

TEST(ArchiveUpdate, AnUpdateFileAnotherStartTookFirstIsNoFault) {
    TempFolder folder;
    const auto archiveFile = folder.path() / archiveFileName;
    // Not the first start's simulated draws, which the update would replace.
    ASSERT_TRUE(simulatedArchive(10, 2).save(archiveFile).ok());
    writeText(folder.path() / updateFileName, "01/01/9990,1,2,3,4,5,6,7\n");
    // Two starts on the folder both find the update file; the first merges and renames it.
    auto first = Archive::read(archiveFile);
    auto second = Archive::read(archiveFile);
    ASSERT_TRUE(first.ok() && second.ok());
    RandomGenerator random(1);
    const auto merged = mergeUpdateFile(*first, folder.path(), random);
    ASSERT_TRUE(merged.ok());
    EXPECT_FALSE(merged->takenByAnotherProgram);
    EXPECT_FALSE(merged->renamedTo.empty());
    const auto late = mergeUpdateFile(*second, folder.path(), random);
    ASSERT_TRUE(late.ok()) << late.error();
    EXPECT_TRUE(late->takenByAnotherProgram);
    EXPECT_EQ(late->counts.added, 0u);
    EXPECT_EQ(Archive::load(archiveFile).size(), 11u);
}
