#pragma once

#include "core/print_settings.h"
#include "core/system_state.h"
#include "gui/print/print_window.h"
#include "gui/print/printer.h"

#include <QList>

#include <cstddef>
#include <optional>

class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace quintor {

class ColumnListWindow;

// What the two slip windows share: the "Margini" group, printing one slip, viewing one,
// printing all from a number on, the test slip, preview and PDF. The upright window adds the
// slip number size and its check box; the layout decides the geometry.
class SlipPrintWindow : public PrintWindow {
    Q_OBJECT
public:
    // columnList: the view-columns window that shows a slip's columns.
    SlipPrintWindow(SlipLayout layout, SystemState& state, ColumnListWindow& columnList,
                    QWidget* parent = nullptr);

    std::size_t finalColumnCount() const { return state_.finalColumns.size(); }
    std::size_t slipCountNow() const;
    std::size_t nextSlip() const { return nextSlip_; }

    void onRestoreDefaultsClicked();
    void onRegisterSettingsClicked();
    void onTestSlipClicked();
    void onCalibrationClicked();
    void onPrintSlipClicked();
    void onViewSlipClicked();
    void onPrintAllClicked();
    void onPreviewClicked();
    void onSavePdfClicked();

    // The layout values from the fields, into the system; reports a failure itself.
    bool applyLayoutFields();
    // Prints the slip numbered `slip` as the next page of the sequence; false when the device
    // refused.
    bool printSlipPage(std::size_t slip, PageSequence& pages);

protected:
    void showEvent(QShowEvent* event) override;

    // The caption's first words, "Stampa verticale" or "Stampa orizzontale".
    virtual QString captionStart() const = 0;
    virtual bool printsSlipNumber() const { return false; }

    QLineEdit* field(std::size_t index) const { return fields_[static_cast<qsizetype>(index)]; }
    // Adds the check box of the upright window under the fields.
    void addSlipNumberBox(QCheckBox* box);

private:
    // The parts of the window, top to bottom.
    QWidget* createMarginsGroup();
    QLayout* createOneSlipRow();
    QLayout* createAllSlipsRow();
    QLayout* createCommandRow();

    // What the window shows each time it opens on the system.
    void refreshFromSystem();
    void showLayoutValues();
    // The fields, typed in millimetres, as the fractions the layout keeps.
    std::vector<std::string> fieldFractions() const;
    // The sheet of the program's printer, in millimetres.
    static SheetMillimetres sheet();
    void printerChosen() override;
    std::optional<std::size_t> readSlipNumber(QLineEdit* edit);
    void showNextSlip();
    // Every slip from first on, into pdfFile or, when empty, where prints go.
    void printAll(std::size_t first, const QString& pdfFile);
    PrintOutcome printAllFrom(std::size_t first, PageSequence& pages);
    void tellIncompleteColumns();
    // "Quintor - Sistem1.qtr - schedina 12": the title of a print job, as queues list it.
    QString jobTitle(const QString& what) const;

    SlipLayout layout_;
    SystemState& state_;
    ColumnListWindow& columnList_;
    QList<QLineEdit*> fields_;
    // What the fields were last given to show: a field still showing it is left alone.
    std::vector<std::string> shownTexts_;

    QWidget* marginsGroup_ = nullptr;
    QPushButton* restoreDefaultsButton_ = nullptr;
    QPushButton* registerSettingsButton_ = nullptr;
    QPushButton* testSlipButton_ = nullptr;
    QPushButton* calibrationButton_ = nullptr;
    QToolButton* helpButton_ = nullptr;
    QPushButton* printSlipButton_ = nullptr;
    QLineEdit* slipNumberEdit_ = nullptr;
    QPushButton* viewSlipButton_ = nullptr;
    QPushButton* printAllButton_ = nullptr;
    QLineEdit* firstSlipEdit_ = nullptr;
    QPushButton* printerSetupButton_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    QPushButton* savePdfButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;

    std::size_t nextSlip_ = 1;
    std::vector<std::size_t> incompleteRows_;
};

} // namespace quintor
