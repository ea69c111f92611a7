#pragma once

#include "core/system_state.h"
#include "gui/print/print_window.h"
#include "gui/print/printer.h"
#include "render/print_renderer.h"

class QCheckBox;
class QLayout;
class QLineEdit;
class QPushButton;

namespace quintor {

// "Colonne su carta": a range of the final columns as text on plain paper, four a line,
// headed by the system's name, its marked numbers and the count.
class PaperListingWindow : public PrintWindow {
    Q_OBJECT
public:
    explicit PaperListingWindow(SystemState& state, QWidget* parent = nullptr);

    void onPrintClicked();
    void onPreviewClicked();
    void onSavePdfClicked();

    // Lists final columns first..last (1-based) on the pages.
    PrintOutcome printColumns(std::size_t first, std::size_t last, PageSequence& pages);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The parts of the window, top to bottom.
    QWidget* createOptionsGroup();
    QLayout* createRangeRow();
    QLayout* createRunRow();
    QLayout* createCommandRow();

    // Shows the whole list as the range each time the window opens.
    void showWholeRange();
    // The range typed in the fields, or nothing after the range message.
    bool readRange(std::size_t& first, std::size_t& last);
    // Prints the range typed, on the program's printer or into the PDF file named.
    void printRange(const QString& pdfFile);
    ListingRequest listingRequest(std::size_t first, std::size_t last) const;

    SystemState& state_;
    QWidget* optionsGroup_ = nullptr;
    QCheckBox* markedNumbersBox_ = nullptr;
    QCheckBox* systemNameBox_ = nullptr;
    QCheckBox* columnCountBox_ = nullptr;
    QLineEdit* firstColumnEdit_ = nullptr;
    QLineEdit* lastColumnEdit_ = nullptr;
    QPushButton* printerSetupButton_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    QPushButton* savePdfButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

// Opens the window on a system as a modal dialog.
void openPaperListingWindow(QWidget* parent, SystemState& state);

} // namespace quintor
