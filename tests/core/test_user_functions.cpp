#include "core/system_state.h"
#include "core/user_functions.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quintor;
using quintor::testing::readBytes;
using quintor::testing::TempFolder;

namespace {

using Bytes = std::vector<std::uint8_t>;

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

std::string readText(const std::filesystem::path& file) {
    const Bytes bytes = readBytes(file);
    return {bytes.begin(), bytes.end()};
}

SystemState sevenMarksTwoColumns() {
    SystemState state;
    for (int n : {1, 2, 3, 10, 20, 30, 90})
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.finalColumns = {{1, 2, 3, 10, 20, 30}, {2, 3, 10, 20, 30, 90}};
    return state;
}

Bytes columnsFile(std::int32_t count, const std::vector<Column>& columns) {
    Bytes bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) >> (8 * i)));
    for (const Column& c : columns)
        bytes.insert(bytes.end(), c.begin(), c.end());
    return bytes;
}

} // namespace

TEST(UserFunctionExchange, FilesHoldTheSystemInTheirByteLayouts) {
    TempFolder home;
    writeText(home / "FINITO.OK", "");
    SystemState state = sevenMarksTwoColumns();
    ASSERT_TRUE(writeExchangeFiles(home.path(), state));
    EXPECT_FALSE(finishedFileExists(home.path())); // a leftover must not end the next wait
    EXPECT_EQ(readBytes(home / "sistema.dat"), (Bytes{7, 1, 2, 3, 10, 20, 30, 90}));
    EXPECT_EQ(readBytes(home / "colonne.dat"),
              (Bytes{2, 0, 0, 0, 1, 2, 3, 10, 20, 30, 2, 3, 10, 20, 30, 90}));

    state.finalColumns.clear();
    ASSERT_TRUE(writeExchangeFiles(home.path(), state));
    EXPECT_EQ(readBytes(home / "colonne.dat"), (Bytes{0, 0, 0, 0}));

    // Files left untouched by the function give the same system back, marked as modified.
    SystemState back = sevenMarksTwoColumns();
    back.modified = false;
    applyExchangeResult(readExchangeFiles(home.path()), back);
    EXPECT_EQ(back.marked, sevenMarksTwoColumns().marked);
    EXPECT_TRUE(back.finalColumns.empty());
    EXPECT_TRUE(back.modified);

    writeText(home / "finito.ok", "");
    removeExchangeFiles(home.path());
    EXPECT_EQ(quintor::testing::filesIn(home.path()), 0u);
}

TEST(UserFunctionExchange, MalformedResultsKeepWhatIsWholeAndCountTheRest) {
    // Numbers off the board and a count above what the file holds.
    ExchangeResult r = decodeExchange(Bytes{200, 5, 0, 91, 255, 90}, std::nullopt);
    ASSERT_TRUE(r.marked);
    std::array<std::uint8_t, 91> expected{};
    expected[5] = expected[90] = 1;
    EXPECT_EQ(*r.marked, expected);
    EXPECT_EQ(r.refusedNumbers, 3 + 195);
    EXPECT_FALSE(r.columns); // no colonne.dat: the columns stay as they were

    const Column good{4, 8, 15, 16, 23, 42};
    const Column bad{4, 8, 15, 16, 23, 91};
    // A negative count: nothing is taken and every record the file holds is refused.
    r = decodeExchange(std::nullopt, columnsFile(-2, {good, good}));
    EXPECT_FALSE(r.marked);
    ASSERT_TRUE(r.columns);
    EXPECT_TRUE(r.columns->empty());
    EXPECT_EQ(r.refusedColumns, 2);

    // More columns declared than held, a column with a number off the board, a torn record.
    Bytes torn = columnsFile(5, {good, bad, good});
    torn.insert(torn.end(), {1, 2, 3});
    r = decodeExchange(std::nullopt, torn);
    EXPECT_EQ(*r.columns, (std::vector<Column>{good, good}));
    EXPECT_EQ(r.refusedColumns, 1 + 2);

    // Files too short to hold even their counts change nothing.
    r = decodeExchange(Bytes{}, Bytes{1, 0});
    EXPECT_FALSE(r.marked);
    EXPECT_FALSE(r.columns);
    EXPECT_GT(r.refusedNumbers, 0);
    EXPECT_GT(r.refusedColumns, 0);
}

// One of a kind takes the singular, and the verb agrees with what was thrown away.
TEST(UserFunctionExchange, RefusedDataAreCountedInSingularOrPlural) {
    struct Row {
        int numbers;
        int columns;
        const char* text;
    };
    for (const Row row :
         {Row{0, 0, ""}, Row{1, 0, "è stato scartato 1 numero segnato"},
          Row{3, 0, "sono stati scartati 3 numeri segnati"},
          Row{0, 1, "è stata scartata 1 colonna"}, Row{0, 2, "sono state scartate 2 colonne"},
          Row{1, 1, "sono stati scartati 1 numero segnato e 1 colonna"},
          Row{2, 5, "sono stati scartati 2 numeri segnati e 5 colonne"}}) {
        ExchangeResult result;
        result.refusedNumbers = row.numbers;
        result.refusedColumns = row.columns;
        EXPECT_EQ(refusedDataText(result), row.text) << row.numbers << ' ' << row.columns;
    }
}

TEST(UserFunctionList, CountLineAndLineEndsAreReadLeniently) {
    auto programs = [](const UserFunctionList& list) {
        std::vector<std::string> names;
        for (const auto& e : list.entries)
            names.push_back(e.program + "=" + e.caption);
        return names;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(programs(UserFunctionList::parse("  +2 funzioni\na\nA\r\nb\r\nB\r\n")),
              (Names{"a=A", "b=B"}));
    EXPECT_EQ(programs(UserFunctionList::parse("\xEF\xBB\xBF"
                                               "1\r\na\r\nA\r\n")),
              (Names{"a=A"}));
    EXPECT_TRUE(UserFunctionList::parse("due\r\na\r\nA\r\n").entries.empty());
    EXPECT_TRUE(UserFunctionList::parse("-1\r\na\r\nA\r\n").entries.empty());
    // A count beyond the lines present, or beyond the menu, gives what is there.
    EXPECT_EQ(programs(UserFunctionList::parse("9\r\na\r\nA\r\nb\r\n")), (Names{"a=A", "b=b"}));
    std::string many = "40\r\n";
    for (int k = 0; k < 40; ++k)
        many += "p" + std::to_string(k) + "\r\nc\r\n";
    EXPECT_EQ(UserFunctionList::parse(many).entries.size(), std::size_t(maxUserFunctions));
}

TEST(UserFunctionList, AddAndDeleteRewriteTheListFile) {
    TempFolder home;
    UserFunctionList list;
    EXPECT_EQ(addUserFunction(home.path(), "uno", "Prima", list), AddOutcome::Added);
    EXPECT_EQ(readText(home / "funzioni.ute"), "1\r\nuno\r\nPrima\r\n");
    EXPECT_EQ(addUserFunction(home.path(), "Due.EXE", "Seconda", list), AddOutcome::Added);
    EXPECT_EQ(addUserFunction(home.path(), "tre.py", "Terza", list), AddOutcome::Added);
    EXPECT_EQ(addUserFunction(home.path(), "due.exe", "Doppione", list), AddOutcome::AlreadyListed);
    for (const char* unsafe : {"../fuori", "sub/prog", "a\\b", "..", "a\nb"})
        EXPECT_EQ(addUserFunction(home.path(), unsafe, "X", list), AddOutcome::UnsafeName)
            << unsafe;
    EXPECT_EQ(list.entries.size(), 3u);

    ASSERT_TRUE(removeUserFunction(home.path(), 1, list));
    EXPECT_EQ(readText(home / "funzioni.ute"), "2\r\nuno\r\nPrima\r\ntre.py\r\nTerza\r\n");
    EXPECT_FALSE(removeUserFunction(home.path(), 2, list));

    // The list is read again before an add, so an entry made from another window stays.
    writeText(home / "funzioni.ute", "3\nuno\nPrima\ntre.py\nTerza\naltro\nAltro\n");
    EXPECT_EQ(addUserFunction(home.path(), "quattro", "Quarta", list), AddOutcome::Added);
    EXPECT_EQ(list.entries.size(), 4u);
    EXPECT_EQ(list.entries[2].program, "altro");

    for (int k = 5; k <= maxUserFunctions; ++k)
        EXPECT_EQ(addUserFunction(home.path(), "f" + std::to_string(k), "F", list),
                  AddOutcome::Added);
    const std::string full = readText(home / "funzioni.ute");
    EXPECT_EQ(addUserFunction(home.path(), "sedicesima", "S", list), AddOutcome::ListFull);
    EXPECT_EQ(readText(home / "funzioni.ute"), full);
}

TEST(UserFunctionFiles, DescriptionAndLaunchOfAProgram) {
    EXPECT_EQ(descriptionFileName("FUNZ.EXE"), "FUNZ.txt");
    EXPECT_EQ(descriptionFileName("filtro"), "filtro.txt");
    EXPECT_EQ(descriptionFileName("somma.py"), "somma.txt");
    EXPECT_EQ(descriptionFileName(".nascosto"), ".nascosto.txt");

    TempFolder home;
    writeText(home / "FILTRO.TXT", "Filtro somme\r\nAutore\nautore@example.org\nriga 1\n\nriga 3");
    const auto description = readDescription(home.path(), "filtro");
    ASSERT_TRUE(description);
    EXPECT_EQ(description->caption, "Filtro somme");
    EXPECT_EQ(description->author, "Autore");
    EXPECT_EQ(description->email, "autore@example.org");
    EXPECT_EQ(description->lines, (std::vector<std::string>{"riga 1", "", "riga 3"}));
    EXPECT_FALSE(readDescription(home.path(), "manca.exe"));
    EXPECT_FALSE(readDescription(home.path(), "filtro.txt")); // its own description

    namespace fs = std::filesystem;
    writeText(home / "binario", "\x7f"
                                "ELF");
    fs::permissions(home / "binario", fs::perms::owner_all);
    writeText(home / "script.sh", "#!/bin/sh -e\necho\n");
    writeText(home / "dati.txt", "niente\n");
    const auto binary = launchCommand(home.path(), "binario");
    ASSERT_TRUE(binary);
    EXPECT_EQ(binary->program, (home / "binario").string());
    EXPECT_TRUE(binary->arguments.empty());
    const auto script = launchCommand(home.path(), "script.sh");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->program, "/bin/sh");
    EXPECT_EQ(script->arguments, (std::vector<std::string>{"-e", (home / "script.sh").string()}));
    // The system reads the line up to a zero byte: nothing after it joins a name.
    writeText(home / "zero.sh", std::string("#!/bin/sh\0 -x\necho\n", 19));
    const auto cut = launchCommand(home.path(), "zero.sh");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->program, "/bin/sh");
    EXPECT_EQ(cut->arguments, (std::vector<std::string>{(home / "zero.sh").string()}));
    EXPECT_FALSE(launchCommand(home.path(), "dati.txt"));
    EXPECT_FALSE(launchCommand(home.path(), "assente"));
    EXPECT_FALSE(launchCommand(home.path(), "../binario"));
    EXPECT_TRUE(isRunnableFile(home / "script.sh"));
    EXPECT_FALSE(isRunnableFile(home / "dati.txt"));
}
