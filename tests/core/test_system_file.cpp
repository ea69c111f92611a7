#include "core/column.h"
#include "core/system_file.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace quintor;
using quintor::testing::filesIn;
using quintor::testing::FileSizeCap;
using quintor::testing::readBytes;
using quintor::testing::TempFolder;
using quintor::testing::writeBytes;

namespace {

// A system in which every element holds something other than its initial value, and the
// third and fourth layout values of each group differ, so a swap would show.
SystemState sampleSystem() {
    SystemState state;
    for (int n : {3, 14, 25, 36, 47, 58, 90})
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.probabilities[1] = Real48::fromValue(80.0L);
    state.probabilities[90] = Real48::fromValue(12.5L);
    for (std::size_t i = 0; i < 6; ++i)
        state.layout.vertical[i] = Real48::fromValue(0.01L * static_cast<long double>(i + 1));
    for (std::size_t i = 0; i < 5; ++i)
        state.layout.horizontal[i] = Real48::fromValue(0.1L * static_cast<long double>(i + 1));
    state.fixedCount = 2;
    state.fixedNumbers[0] = 14;
    state.fixedNumbers[1] = 3;
    state.finalColumns = {
        {3, 14, 25, 36, 47, 58}, {58, 47, 36, 25, 14, 3}, {90, 3, 14, 25, 36, 47}};
    return state;
}

Real48 realAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    Real48::Bytes raw;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), 6, raw.begin());
    return Real48::fromBytes(raw);
}

void expectSameSystem(const SystemState& a, const SystemState& b) {
    EXPECT_EQ(a.marked, b.marked);
    EXPECT_EQ(a.probabilities, b.probabilities);
    EXPECT_EQ(a.layout, b.layout);
    EXPECT_EQ(a.fixedCount, b.fixedCount);
    EXPECT_EQ(a.fixedNumbers, b.fixedNumbers);
    EXPECT_EQ(a.finalColumns, b.finalColumns);
}

} // namespace

TEST(SystemFile, LaysOutTheHeaderAndColumnsAtTheirOffsets) {
    TempFolder folder;
    const SystemState state = sampleSystem();
    ASSERT_TRUE(writeSystemFile(folder / "a.qtr", state));
    const auto bytes = readBytes(folder / "a.qtr");
    ASSERT_EQ(bytes.size(), 791u + 6u * 3u);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[1 + 2], 1); // number 3
    EXPECT_EQ(bytes[1 + 3], 0); // number 4
    EXPECT_EQ(bytes[90], 1);    // number 90
    EXPECT_EQ(realAt(bytes, 91).value(), 80.0L);
    EXPECT_EQ(realAt(bytes, 91 + 6 * 89).value(), 12.5L);
    EXPECT_EQ(realAt(bytes, 91 + 6).bytes(), real48::fifty.bytes());
    // Vertical spacing (record 3) is stored before horizontal spacing (record 2).
    EXPECT_EQ(realAt(bytes, 631), state.layout.vertical[0]);
    EXPECT_EQ(realAt(bytes, 637), state.layout.vertical[1]);
    EXPECT_EQ(realAt(bytes, 643), state.layout.vertical[3]);
    EXPECT_EQ(realAt(bytes, 649), state.layout.vertical[2]);
    EXPECT_EQ(realAt(bytes, 655), state.layout.vertical[4]);
    EXPECT_EQ(realAt(bytes, 661), state.layout.vertical[5]);
    EXPECT_EQ(realAt(bytes, 667), state.layout.horizontal[0]);
    EXPECT_EQ(realAt(bytes, 673), state.layout.horizontal[1]);
    EXPECT_EQ(realAt(bytes, 679), state.layout.horizontal[3]);
    EXPECT_EQ(realAt(bytes, 685), state.layout.horizontal[2]);
    EXPECT_EQ(realAt(bytes, 691), state.layout.horizontal[4]);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + 697, bytes.begin() + 703)),
              (std::vector<std::uint8_t>{2, 0, 0, 0, 14, 3}));
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + 797, bytes.begin() + 803)),
              (std::vector<std::uint8_t>{58, 47, 36, 25, 14, 3}));

    SystemState empty;
    ASSERT_TRUE(writeSystemFile(folder / "empty.qtr", empty));
    EXPECT_EQ(readBytes(folder / "empty.qtr").size(), 791u);
}

TEST(SystemFile, LoadsBackWhatWasSavedAndSavesTheSameBytesAgain) {
    TempFolder folder;
    const SystemState original = sampleSystem();
    ASSERT_TRUE(writeSystemFile(folder / "a.qtr", original));

    SystemState loaded;
    loaded.fileName = "kept";
    loaded.modified = true;
    ASSERT_TRUE(readSystemFile(folder / "a.qtr", loaded));
    expectSameSystem(loaded, original);
    EXPECT_EQ(loaded.fileName, "kept");
    EXPECT_TRUE(loaded.modified);

    ASSERT_TRUE(writeSystemFile(folder / "b.qtr", loaded));
    EXPECT_EQ(readBytes(folder / "a.qtr"), readBytes(folder / "b.qtr"));

    SystemState empty;
    empty.finalColumns = {{1, 2, 3, 4, 5, 6}};
    writeBytes(folder / "h.qtr", std::vector<std::uint8_t>(791, 0));
    ASSERT_TRUE(readSystemFile(folder / "h.qtr", empty));
    EXPECT_TRUE(empty.finalColumns.empty());
}

TEST(SystemFile, KeepsOddBytesAsTheyAre) {
    TempFolder folder;
    std::vector<std::uint8_t> bytes(791 + 12);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 37 + 11) % 256);
    bytes[0] = 0; // rewritten as 0 on save, whatever it held
    // A negative fixed-number count in a damaged file.
    bytes[697] = 0xFF, bytes[698] = 0xFF, bytes[699] = 0xFF, bytes[700] = 0xFF;
    const std::vector<std::uint8_t> tail = {0, 200, 255, 7, 7, 99, 1, 2, 3, 4, 5, 6};
    std::copy(tail.begin(), tail.end(), bytes.begin() + 791);
    writeBytes(folder / "odd.qtr", bytes);

    SystemState state;
    ASSERT_TRUE(readSystemFile(folder / "odd.qtr", state));
    ASSERT_EQ(state.finalColumns.size(), 2u);
    EXPECT_EQ(formatColumn(state.finalColumns[0]), " 0 200 255  7  7 99");
    EXPECT_EQ(state.fixedCount, -1);
    EXPECT_EQ(state.usableFixedCount(), 0);

    ASSERT_TRUE(writeSystemFile(folder / "again.qtr", state));
    EXPECT_EQ(readBytes(folder / "again.qtr"), bytes);
}

TEST(SystemFile, AFailedReadLeavesNoColumnsAndNoMarks) {
    TempFolder folder;
    const SystemState original = sampleSystem();
    ASSERT_TRUE(writeSystemFile(folder / "a.qtr", original));
    auto bytes = readBytes(folder / "a.qtr");

    // Ends inside a column: the header was read whole, so probabilities and layout stay.
    bytes.resize(794);
    writeBytes(folder / "partial.qtr", bytes);
    SystemState state = sampleSystem();
    state.probabilities[1] = real48::fifty;
    state.layout = LayoutValues::defaults();
    EXPECT_FALSE(readSystemFile(folder / "partial.qtr", state));
    EXPECT_TRUE(state.finalColumns.empty());
    EXPECT_EQ(state.markedCount(), 0);
    EXPECT_EQ(state.probabilities[1].value(), 80.0L);
    EXPECT_EQ(state.layout, original.layout);

    // Cut inside the probabilities: those before the cut are read, the layout is untouched.
    bytes.resize(91 + 6 * 2 + 3);
    writeBytes(folder / "short.qtr", bytes);
    SystemState shortRead = sampleSystem();
    shortRead.probabilities[1] = real48::fifty;
    shortRead.probabilities[90] = real48::fifty;
    shortRead.layout = LayoutValues::defaults();
    EXPECT_FALSE(readSystemFile(folder / "short.qtr", shortRead));
    EXPECT_EQ(shortRead.probabilities[1].value(), 80.0L);
    EXPECT_EQ(shortRead.probabilities[90], real48::fifty);
    EXPECT_EQ(shortRead.layout, LayoutValues::defaults());
    EXPECT_EQ(shortRead.markedCount(), 0);
    EXPECT_TRUE(shortRead.finalColumns.empty());

    for (const char* name : {"missing.qtr", ""}) {
        SystemState missing = sampleSystem();
        EXPECT_FALSE(readSystemFile(folder / name, missing)) << name;
        EXPECT_TRUE(missing.finalColumns.empty());
        EXPECT_EQ(missing.markedCount(), 0);
    }
    writeBytes(folder / "zero.qtr", {});
    SystemState zero = sampleSystem();
    EXPECT_FALSE(readSystemFile(folder / "zero.qtr", zero));
}

TEST(SystemFile, ImportReadsOnlyWholeColumns) {
    TempFolder folder;
    std::vector<Column> columns{{9, 9, 9, 9, 9, 9}};

    writeBytes(folder / "tiny.qtr", std::vector<std::uint8_t>(100, 1));
    EXPECT_TRUE(readSystemColumns(folder / "tiny.qtr", columns));
    EXPECT_TRUE(columns.empty());

    ASSERT_TRUE(writeSystemFile(folder / "a.qtr", sampleSystem()));
    auto bytes = readBytes(folder / "a.qtr");
    bytes.insert(bytes.end(), {1, 2, 3, 4});
    writeBytes(folder / "tail.qtr", bytes);
    EXPECT_TRUE(readSystemColumns(folder / "tail.qtr", columns));
    EXPECT_EQ(columns, sampleSystem().finalColumns);

    EXPECT_FALSE(readSystemColumns(folder / "none.qtr", columns));
    EXPECT_TRUE(columns.empty());

    // A FIFO is refused at once instead of waiting for a writer that never comes.
    ASSERT_EQ(::mkfifo((folder / "pipe.qtr").c_str(), 0600), 0);
    EXPECT_FALSE(readSystemColumns(folder / "pipe.qtr", columns));
    SystemState state;
    EXPECT_FALSE(readSystemFile(folder / "pipe.qtr", state));
}

TEST(SystemFile, AFailedSaveLeavesTheOldFileWhole) {
    TempFolder folder;
    const SystemState state = sampleSystem();
    SystemState bigger = state;
    bigger.finalColumns.resize(5000, Column{1, 2, 3, 4, 5, 6});

    ASSERT_TRUE(writeSystemFile(folder / "a.qtr", state));
    const auto before = readBytes(folder / "a.qtr");
    {
        // Room for the old file's size but not for the new one.
        FileSizeCap cap(before.size() + 100);
        EXPECT_FALSE(writeSystemFile(folder / "a.qtr", bigger));
    }
    EXPECT_EQ(readBytes(folder / "a.qtr"), before);
    EXPECT_EQ(filesIn(folder.path()), 1u) << "the temporary file must not stay behind";

    std::filesystem::create_directory(folder / "dir.qtr");
    EXPECT_FALSE(writeSystemFile(folder / "dir.qtr", state));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "dir.qtr"));

    EXPECT_FALSE(writeSystemFile(folder / "a.qtr" / "inside.qtr", state));
    EXPECT_FALSE(writeSystemFile(folder / "no" / "such" / "folder.qtr", state));
    EXPECT_FALSE(writeSystemFile("/dev/null", state));
    SystemState device;
    EXPECT_FALSE(readSystemFile("/dev/zero", device));
    EXPECT_EQ(readBytes(folder / "a.qtr"), before);
    EXPECT_EQ(filesIn(folder.path()), 2u);
}

TEST(SystemFile, SavesThroughLinksAndUnusualNames) {
    TempFolder folder;
    const SystemState state = sampleSystem();
    const auto name = folder / "Sistema di prova è già.Qtr";
    ASSERT_TRUE(writeSystemFile(name, SystemState{}));
    std::filesystem::create_symlink(name, folder / "link.qtr");
    ASSERT_TRUE(writeSystemFile(folder / "link.qtr", state));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.qtr"));
    SystemState loaded;
    ASSERT_TRUE(readSystemFile(name, loaded));
    expectSameSystem(loaded, state);
}
