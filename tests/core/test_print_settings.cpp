#include "core/print_settings.h"
#include "core/printer_choice.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace quintor;
using quintor::testing::FileSizeCap;
using quintor::testing::readBytes;
using quintor::testing::TempFolder;
using quintor::testing::writeBytes;

namespace {

std::vector<std::uint8_t> recordBytes(std::initializer_list<Real48> values) {
    std::vector<std::uint8_t> bytes;
    for (const Real48& value : values)
        bytes.insert(bytes.end(), value.bytes().begin(), value.bytes().end());
    return bytes;
}

std::vector<std::uint8_t> concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Real48 real(long double value) {
    return Real48::fromValue(value);
}

const std::vector<std::uint8_t> defaultVerticalBytes =
    recordBytes({defaultVerticalLayout[0], defaultVerticalLayout[1], defaultVerticalLayout[2],
                 defaultVerticalLayout[3], defaultVerticalLayout[4], defaultVerticalLayout[5]});

const std::vector<std::string> typedVerticalDefaults{"0.0882", "0.032",  "0.01065",
                                                     "0.0246", "0.0037", "0.016"};

} // namespace

TEST(PrintSettings, LoadsRecordsAndThePriceOnlyWhenTheFileHoldsIt) {
    TempFolder folder;
    PrintSettings none = loadPrintSettings(folder.path());
    EXPECT_EQ(none.layout, LayoutValues::defaults());
    EXPECT_EQ(none.columnPrice, real48::eightHundred);

    const auto vertical =
        recordBytes({real(0.1L), real(0.2L), real(0.3L), real(0.4L), real(0.5L), real(0.6L)});
    writeBytes(folder / "QUINTOR.CFG", vertical);
    PrintSettings noPrice = loadPrintSettings(folder.path());
    EXPECT_EQ(noPrice.layout.vertical[2], real(0.3L));
    EXPECT_EQ(noPrice.layout.vertical[5], real(0.6L));
    EXPECT_EQ(noPrice.columnPrice, real48::eightHundred);

    writeBytes(folder / "QUINTOR.CFG", concat(vertical, recordBytes({real(1000.0L)})));
    EXPECT_EQ(loadPrintSettings(folder.path()).columnPrice.value(), 1000.0L);

    // A price record cut short is not a price.
    writeBytes(folder / "QUINTOR.CFG", concat(vertical, {0x8A, 0, 0}));
    EXPECT_EQ(loadPrintSettings(folder.path()).columnPrice, real48::eightHundred);

    // Cut inside the third record: two records read, the rest default.
    writeBytes(folder / "QUINTOR.CFG",
               std::vector<std::uint8_t>(vertical.begin(), vertical.begin() + 15));
    PrintSettings cut = loadPrintSettings(folder.path());
    EXPECT_EQ(cut.layout.vertical[1], real(0.2L));
    EXPECT_EQ(cut.layout.vertical[2], defaultVerticalLayout[2]);

    writeBytes(folder / "QTOR_OR.CFG",
               recordBytes({real(0.11L), real(0.12L), real(0.13L), real(0.14L), real(0.15L)}));
    PrintSettings horizontal = loadPrintSettings(folder.path());
    EXPECT_EQ(horizontal.layout.horizontal[0], real(0.11L));
    EXPECT_EQ(horizontal.layout.horizontal[4], real(0.15L));
}

TEST(PrintSettings, FindsTheFilesWhateverTheirLetterCase) {
    TempFolder folder;
    writeBytes(folder / "quintor.Cfg", concat(defaultVerticalBytes, recordBytes({real(1250.0L)})));
    writeBytes(folder / "qtor_OR.cfg",
               recordBytes({real(0.2L), real(0.2L), real(0.2L), real(0.2L), real(0.2L)}));
    const PrintSettings settings = loadPrintSettings(folder.path());
    EXPECT_EQ(settings.columnPrice.value(), 1250.0L);
    EXPECT_EQ(settings.layout.horizontal[3], real(0.2L));

    // Writing reaches the same files rather than creating upper-case twins.
    LayoutValues values = LayoutValues::defaults();
    ASSERT_TRUE(writeLayoutSettings(folder.path(), SlipLayout::horizontal, values));
    ASSERT_TRUE(storeColumnPrice(folder.path(), values.vertical, real(900.0L)));
    EXPECT_EQ(quintor::testing::filesIn(folder.path()), 2u);
    EXPECT_EQ(loadPrintSettings(folder.path()).columnPrice.value(), 900.0L);
    EXPECT_EQ(loadPrintSettings(folder.path()).layout.horizontal, defaultHorizontalLayout);
}

TEST(PrintSettings, ShowsValuesWithEightDecimalsInAnyLocale) {
    std::setlocale(LC_ALL, "it_IT.UTF-8"); // a comma locale, where one is installed
    EXPECT_EQ(layoutFieldTexts(SlipLayout::vertical, LayoutValues::defaults()),
              (std::vector<std::string>{"0.08820000", "0.03200000", "0.01065000", "0.02460000",
                                        "0.00370000", "0.01600000"}));
    EXPECT_EQ(layoutFieldTexts(SlipLayout::horizontal, LayoutValues::defaults()),
              (std::vector<std::string>{"0.01639000", "0.12800000", "0.01790000", "0.01462500",
                                        "0.00370000"}));
    EXPECT_EQ(layoutValueText(real(-1.5L)), "-1.50000000");
    std::setlocale(LC_ALL, "C");
}

TEST(PrintSettings, AcceptsOnlyPlainDecimalNumbers) {
    for (const char* valid :
         {"0.5", ".5", "5.", "  0.5", "+0.5", "-0.5", "1E-2", "1e-2", "2.5e+1", "0.032"}) {
        EXPECT_TRUE(parseLayoutValue(valid).ok()) << valid;
    }
    EXPECT_EQ(parseLayoutValue(".5")->value(), 0.5L);
    EXPECT_EQ(parseLayoutValue("5.")->value(), 5.0L);
    EXPECT_EQ(parseLayoutValue("1E-2").value(), real(0.01L));
    EXPECT_EQ(parseLayoutValue("-0.5")->value(), -0.5L);
    EXPECT_EQ(parseLayoutValue("2.5e+1")->value(), 25.0L);
    for (const char* invalid : {"0,032", "0.5 ", "+", "-", "", "   ", ".", "1e", "1e+", "1.2.3",
                                "abc", "0.5x", "e5", "1e40", "- 1"}) {
        EXPECT_FALSE(parseLayoutValue(invalid).ok()) << '"' << invalid << '"';
    }
}

TEST(PrintSettings, TakesFieldsInTheirOrderUntilTheFirstBadOne) {
    LayoutValues values = LayoutValues::defaults();
    std::vector<std::string> texts{"0.1", "0.2", "0.3", "0.4", "0.5", "0.6"};
    ASSERT_TRUE(takeLayoutFields(SlipLayout::vertical, texts, values).ok);
    // The first field is the top margin, the second the left margin, the third the vertical
    // spacing.
    EXPECT_EQ(values.vertical[1], real(0.1L));
    EXPECT_EQ(values.vertical[0], real(0.2L));
    EXPECT_EQ(values.vertical[3], real(0.3L));
    EXPECT_EQ(values.vertical[2], real(0.4L));
    EXPECT_EQ(values.vertical[4], real(0.5L));
    EXPECT_EQ(values.vertical[5], real(0.6L));
    EXPECT_EQ(values.horizontal, defaultHorizontalLayout);

    LayoutValues partial = LayoutValues::defaults();
    std::vector<std::string> comma{"0.7", "0.8", "0,032", "0.9", "0.9"};
    const TakenValues taken = takeLayoutFields(SlipLayout::horizontal, comma, partial);
    EXPECT_FALSE(taken.ok);
    EXPECT_EQ(taken.invalidField, 2u);
    EXPECT_EQ(partial.horizontal[1], real(0.7L));
    EXPECT_EQ(partial.horizontal[0], real(0.8L));
    EXPECT_EQ(partial.horizontal[3], defaultHorizontalLayout[3]);
    EXPECT_EQ(partial.horizontal[2], defaultHorizontalLayout[2]);

    std::vector<std::string> tooFew{"0.1"};
    EXPECT_EQ(takeLayoutFields(SlipLayout::vertical, tooFew, values).invalidField, 1u);

    LayoutValues typed;
    typed.vertical.fill(Real48{});
    ASSERT_TRUE(takeLayoutFields(SlipLayout::vertical, typedVerticalDefaults, typed).ok);
    EXPECT_EQ(typed.vertical, defaultVerticalLayout);
}

TEST(PrintSettings, RegisteringWritesRecordsAndKeepsTheTail) {
    TempFolder folder;
    LayoutValues values = LayoutValues::defaults();
    values.vertical.fill(real(0.5L));
    restoreDefaultLayout(SlipLayout::vertical, values);
    EXPECT_EQ(values, LayoutValues::defaults());

    const auto price = recordBytes({real(1000.0L)});
    writeBytes(folder / "QUINTOR.CFG",
               concat(recordBytes({real(9), real(9), real(9), real(9), real(9), real(9)}), price));
    const RegisterResult result =
        registerLayoutSettings(folder.path(), SlipLayout::vertical, typedVerticalDefaults, values);
    EXPECT_EQ(result.outcome, RegisterOutcome::registered);
    const auto written = readBytes(folder / "QUINTOR.CFG");
    EXPECT_EQ(written, concat(defaultVerticalBytes, price));
    EXPECT_EQ((std::vector<std::uint8_t>(written.begin(), written.begin() + 12)),
              (std::vector<std::uint8_t>{0x7C, 0x8D, 0x97, 0x6E, 0x12, 0x03, 0x7D, 0x0F, 0x9C, 0x33,
                                         0xA2, 0x34}));

    // A longer tail survives as well.
    writeBytes(folder / "QUINTOR.CFG", concat(concat(defaultVerticalBytes, price), {1, 2, 3}));
    ASSERT_TRUE(writeLayoutSettings(folder.path(), SlipLayout::vertical, values));
    EXPECT_EQ(readBytes(folder / "QUINTOR.CFG").size(), 45u);

    ASSERT_TRUE(writeLayoutSettings(folder.path(), SlipLayout::horizontal, values));
    EXPECT_EQ(readBytes(folder / "QTOR_OR.CFG").size(), 30u);
    EXPECT_EQ(loadPrintSettings(folder.path()).layout.horizontal, defaultHorizontalLayout);
}

TEST(PrintSettings, RegisteringFailsWithoutTouchingTheFile) {
    TempFolder folder;
    const auto old = concat(defaultVerticalBytes, recordBytes({real(1000.0L)}));
    writeBytes(folder / "QUINTOR.CFG", old);
    LayoutValues values = LayoutValues::defaults();
    std::vector<std::string> changed{"0.5", "0.5", "0.5", "0.5", "0.5", "0.5"};

    // A probe that cannot be created stands for a folder that cannot be written.
    RegisterResult probe =
        registerLayoutSettings(folder / "manca", SlipLayout::vertical, changed, values);
    EXPECT_EQ(probe.outcome, RegisterOutcome::notWritable);
    EXPECT_EQ(registerMessage(probe.outcome), settingsNotWritableMessage);
    EXPECT_EQ(values, LayoutValues::defaults()) << "fields are not taken when the probe fails";

    EXPECT_FALSE(canWriteProgramFolder("/proc"));
    EXPECT_FALSE(canWriteProgramFolder(folder / "QUINTOR.CFG"));
    EXPECT_TRUE(canWriteProgramFolder(folder.path()));
    EXPECT_FALSE(std::filesystem::exists(folder / "VRTL.TMP"));

    std::vector<std::string> bad{"0.5", "0.5", "0.5", "0.5 ", "0.5", "0.5"};
    RegisterResult unreadable =
        registerLayoutSettings(folder.path(), SlipLayout::vertical, bad, values);
    EXPECT_EQ(unreadable.outcome, RegisterOutcome::unreadableValues);
    EXPECT_EQ(unreadable.invalidField, 3u);
    EXPECT_EQ(registerMessage(unreadable.outcome), unreadableMarginsMessage);
    EXPECT_EQ(readBytes(folder / "QUINTOR.CFG"), old);

    {
        FileSizeCap cap(10); // the write runs out of room after the first record
        EXPECT_EQ(
            registerLayoutSettings(folder.path(), SlipLayout::vertical, changed, values).outcome,
            RegisterOutcome::notWritable);
    }
    EXPECT_EQ(readBytes(folder / "QUINTOR.CFG"), old);
    EXPECT_EQ(quintor::testing::filesIn(folder.path()), 1u);
}

TEST(PrintSettings, StoresThePriceAtItsRecord) {
    TempFolder folder;
    std::array<Real48, 6> window;
    window.fill(real(0.25L));

    ASSERT_TRUE(storeColumnPrice(folder.path(), window, real(1000.0L)));
    const auto created = readBytes(folder / "QUINTOR.CFG");
    ASSERT_EQ(created.size(), 42u);
    EXPECT_EQ(created, concat(recordBytes({window[0], window[1], window[2], window[3], window[4],
                                           window[5]}),
                              recordBytes({real(1000.0L)})));

    // An existing file keeps its own layout records; only the price changes.
    writeBytes(folder / "QUINTOR.CFG", defaultVerticalBytes);
    ASSERT_TRUE(storeColumnPrice(folder.path(), window, real(750.0L)));
    EXPECT_EQ(readBytes(folder / "QUINTOR.CFG"),
              concat(defaultVerticalBytes, recordBytes({real(750.0L)})));
    ASSERT_TRUE(storeColumnPrice(folder.path(), window, real(800.0L)));
    EXPECT_EQ(readBytes(folder / "QUINTOR.CFG").size(), 42u);
    EXPECT_EQ(loadPrintSettings(folder.path()).columnPrice, real48::eightHundred);

    // A short file gets the records it lacks from the window rather than a gap.
    writeBytes(
        folder / "QUINTOR.CFG",
        std::vector<std::uint8_t>(defaultVerticalBytes.begin(), defaultVerticalBytes.begin() + 14));
    ASSERT_TRUE(storeColumnPrice(folder.path(), window, real(500.0L)));
    const PrintSettings repaired = loadPrintSettings(folder.path());
    EXPECT_EQ(repaired.layout.vertical[1], defaultVerticalLayout[1]);
    EXPECT_EQ(repaired.layout.vertical[2], window[2]);
    EXPECT_EQ(repaired.columnPrice.value(), 500.0L);

    EXPECT_FALSE(storeColumnPrice(folder / "missing", window, real(1.0L)));
}

TEST(PrinterChoice, TheLastPrinterAndPaperComeBackAfterARestart) {
    TempFolder folder;
    EXPECT_EQ(loadPrinterChoice(folder.path()), PrinterChoice{});
    const PrinterChoice choice{"Ufficio A4 (piano 2)", "Letter"};
    ASSERT_TRUE(savePrinterChoice(folder.path(), choice));
    EXPECT_EQ(loadPrinterChoice(folder.path()), choice);
    // A name that would break the file's lines is refused and the old choice stays.
    EXPECT_FALSE(savePrinterChoice(folder.path(), {"due\nrighe", "A4"}));
    EXPECT_EQ(loadPrinterChoice(folder.path()), choice);
}

TEST(PrintSettings, TheWindowsShowAndTakeMillimetresOfTheSheet) {
    const LayoutValues values = LayoutValues::defaults();
    const SheetMillimetres a4{210, 297};
    for (SlipLayout layout : {SlipLayout::vertical, SlipLayout::horizontal}) {
        const auto shown = layoutFieldMillimetres(layout, values, a4);
        // Untouched fields give the stored values back as they are.
        EXPECT_EQ(fractionTextsFromMillimetres(layout, shown, shown, values, a4),
                  layoutFieldTexts(layout, values));
    }
    // Upright fields: top, left, vertical and horizontal spacing, mark diameter, number size.
    const auto shown = layoutFieldMillimetres(SlipLayout::vertical, values, a4);
    EXPECT_EQ(shown[0], millimetreText(values.vertical[1].value() * 297));
    EXPECT_EQ(shown[4], millimetreText(values.vertical[4].value() * 2 * 210));
    std::vector<std::string> typed = shown;
    typed[0] = "28.5"; // top margin: of the height
    typed[1] = "10";   // left margin: of the width
    typed[4] = "2.1";  // a diameter: twice the stored radius
    typed[3] = "0,5";  // no number: passed on for the refusal
    const auto fractions =
        fractionTextsFromMillimetres(SlipLayout::vertical, typed, shown, values, a4);
    EXPECT_EQ(fractions[0], layoutValueText(Real48::fromValue(28.5L / 297)));
    EXPECT_EQ(fractions[1], layoutValueText(Real48::fromValue(10.0L / 210)));
    EXPECT_EQ(fractions[4], layoutValueText(Real48::fromValue(2.1L / 420)));
    EXPECT_EQ(fractions[3], "0,5");
    LayoutValues taken = values;
    EXPECT_EQ(takeLayoutFields(SlipLayout::vertical, fractions, taken).invalidField, 3u);
}
