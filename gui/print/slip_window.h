#pragma once

#include "core/print_settings.h"
#include "core/system_state.h"
#include "gui/print/print_window.h"

#include <QList>

#include <cstddef>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace quintor {

class PageSequence;

// What the two slip windows share: the "Margini" group, printing one slip, viewing one,
// printing all from a number on, the test slip, preview and PDF. The upright window adds the
// slip number size and its check box; the layout decides the geometry.
class SlipPrintWindow : public PrintWindow {
    Q_OBJECT
public:
    SlipPrintWindow(SlipLayout layout, SystemState& state, QWidget* parent = nullptr);

    std::size_t finalColumnCount() const { return state_.finalColumns.size(); }
    std::size_t slipCountNow() const;
    std::size_t nextSlip() const { return nextSlip_; }

    // Handlers, named after their controls.
    void SB11Click();
    void SpeedButton10Click();
    void SpeedButton8Click();
    void SpeedButton5Click();
    void SpeedButton1Click();
    void SpeedButton6Click();
    void AnteprimaClick();
    void SalvaPdfClick();

    // The layout values from the fields, into the system; reports a failure itself.
    bool takeLayoutFields();
    // Prints slip k as one page of the sequence; false when the device refused.
    bool printSlip(std::size_t slip, PageSequence& pages);

protected:
    void showEvent(QShowEvent* event) override;

    // The caption's first words, "Stampa verticale" or "Stampa orizzontale".
    virtual QString captionStart() const = 0;
    virtual bool printsSlipNumber() const { return false; }

    QLineEdit* field(std::size_t index) const { return fields_[static_cast<qsizetype>(index)]; }
    // Adds the check box of the upright window under the fields.
    void addSlipNumberBox(QCheckBox* box);

private:
    void FormActivate();
    void showLayoutValues();
    std::optional<std::size_t> readSlipNumber(QLineEdit* edit);
    void showNextSlip();
    void printAllFrom(std::size_t first, PageSequence& pages);
    void tellIncompleteColumns();

    SlipLayout layout_;
    SystemState& state_;
    QList<QLineEdit*> fields_;

    QPushButton* SB11 = nullptr;
    QPushButton* SpeedButton10 = nullptr;
    QPushButton* SpeedButton8 = nullptr;
    QToolButton* HLP3 = nullptr;
    QPushButton* SpeedButton5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* SpeedButton6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QPushButton* spb7 = nullptr;
    QPushButton* Anteprima = nullptr;
    QPushButton* SalvaPdf = nullptr;
    QPushButton* BITBTN2 = nullptr;
    QWidget* marginsGroup_ = nullptr;

    std::size_t nextSlip_ = 1;
    std::vector<std::size_t> incompleteRows_;
};

} // namespace quintor
