#pragma once

#include "core/expected.h"
#include "core/layout_values.h"
#include "core/real48.h"

#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// Names as the program writes them; lookups ignore letter case, so "Quintor.cfg" on disk is
// the same file.
inline constexpr const char* verticalSettingsName = "QUINTOR.CFG";
inline constexpr const char* horizontalSettingsName = "QTOR_OR.CFG";
inline constexpr const char* writeProbeName = "VRTL.TMP";
inline constexpr std::size_t settingsRecordSize = 6;
inline constexpr std::size_t columnPriceOffset = 36;

inline constexpr const char* settingsErrorTitle = "Errore";
inline constexpr const char* unreadableMarginsMessage =
    "Impossibile decifrare alcuni valori dei margini !\rCorreggere e riprovare.";
inline constexpr const char* settingsNotWritableMessage =
    "Impossibile registrare le impostazioni sul disco !\rProbabile causa: il programma è stato "
    "eseguito da un supporto di sola lettura.";
inline constexpr const char* restoreDefaultsTitle = "Conferma";
inline constexpr const char* restoreDefaultsQuestion =
    "Sei sicuro di voler ripristinare i valori originali ?";

enum class SlipLayout { vertical, horizontal };

// Which layout record each field of a print window edits, in field order: top margin, left
// margin, vertical spacing, horizontal spacing, mark size and, in the vertical window only,
// number size.
inline constexpr std::array<std::size_t, 6> verticalFieldRecords{1, 0, 3, 2, 4, 5};
inline constexpr std::array<std::size_t, 5> horizontalFieldRecords{1, 0, 3, 2, 4};
std::span<const std::size_t> fieldRecords(SlipLayout layout);

// What a new system window starts with: the layout values and the column price.
struct PrintSettings {
    LayoutValues layout = LayoutValues::defaults();
    Real48 columnPrice = real48::eightHundred;
};

// Reads QUINTOR.CFG and QTOR_OR.CFG from the program folder (names matched without regard
// to case). Missing files leave the defaults; a record the file does not hold whole keeps
// its default, so the price is read only from a file of at least 42 bytes. Nothing is
// reported.
PrintSettings loadPrintSettings(const std::filesystem::path& programFolder);

// A layout value as the print windows show it: eight decimals, "." whatever the locale.
std::string layoutValueText(const Real48& value);
// The texts of a window's fields, in field order.
std::vector<std::string> layoutFieldTexts(SlipLayout layout, const LayoutValues& values);

// The windows show the layout values in millimetres of the chosen sheet and keep them as
// fractions of the sheet: the left margin and horizontal spacing of its width, the top
// margin, vertical spacing and number size of its height. The mark's value is its radius as
// a fraction of the width, shown as the mark's diameter.
struct SheetMillimetres {
    double width = 210;
    double height = 297;
};
// Millimetres per unit of the value of a record (0..5) on the sheet.
long double recordMillimetres(std::size_t record, SheetMillimetres sheet);
// A length as the windows show it: two decimals, "." whatever the locale.
std::string millimetreText(long double millimetres);
// The texts of a window's fields in millimetres, in field order.
std::vector<std::string> layoutFieldMillimetres(SlipLayout layout, const LayoutValues& values,
                                                SheetMillimetres sheet);
// The fields typed in millimetres as the fraction texts takeLayoutFields reads. A field still
// showing the text it was shown with (shown, from layoutFieldMillimetres of values) gives
// its stored value back untouched, so opening and printing changes nothing; a text that is
// no number is passed on as typed, for the refusal to name that field.
std::vector<std::string> fractionTextsFromMillimetres(SlipLayout layout,
                                                      std::span<const std::string> typed,
                                                      std::span<const std::string> shown,
                                                      const LayoutValues& values,
                                                      SheetMillimetres sheet);

// A typed layout value: leading blanks, optional sign, digits with at most one ".", optional
// exponent, nothing after; rounded to the nearest Real48. Values beyond the Real48 range
// are refused.
Expected<Real48> parseLayoutValue(std::string_view text);

// Takes the fields in order into values, each at once; stops at the first invalid one, whose
// index it gives back (the fields before it keep their new values).
struct TakenValues {
    bool ok = true;
    std::size_t invalidField = 0;
};
TakenValues takeLayoutFields(SlipLayout layout, std::span<const std::string> fieldTexts,
                             LayoutValues& values);

// The built-in values of one layout; the other layout and the files are left alone.
void restoreDefaultLayout(SlipLayout layout, LayoutValues& values);

// Whether the program folder can be written: creates a new file named after VRTL.TMP under a
// unique name (never an existing file nor through a link), closes and deletes it.
bool canWriteProgramFolder(const std::filesystem::path& programFolder);

// Writes the layout's records at the start of its settings file. The file is rewritten whole
// through a temporary file, so a failure leaves the old content, and whatever followed the
// records (the column price of QUINTOR.CFG) is kept. A file that exists but cannot be read
// is not replaced.
bool writeLayoutSettings(const std::filesystem::path& programFolder, SlipLayout layout,
                         const LayoutValues& values);

// "Registra impostazioni" from start to end: the probe, the fields, the file.
enum class RegisterOutcome { registered, notWritable, unreadableValues };
struct RegisterResult {
    RegisterOutcome outcome = RegisterOutcome::registered;
    std::size_t invalidField = 0; // for unreadableValues
};
RegisterResult registerLayoutSettings(const std::filesystem::path& programFolder, SlipLayout layout,
                                      std::span<const std::string> fieldTexts,
                                      LayoutValues& values);
// The message for a failed registration (empty for success).
std::string registerMessage(RegisterOutcome outcome);

// Stores the column price as the seventh record of QUINTOR.CFG; with no file, a new one gets
// the window's six vertical values first. Records a short file lacks are filled from those
// values too. The caller does not report a failure.
bool storeColumnPrice(const std::filesystem::path& programFolder,
                      const std::array<Real48, 6>& vertical, const Real48& price);

} // namespace quintor
