#pragma once

#include "core/system_state.h"
#include "gui/print/print_window.h"
#include "render/print_renderer.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quintor {

class PageSequence;

// "Colonne su carta": a range of the final columns as text on plain paper, four a line,
// headed by the system's name, its marked numbers and the count.
class PaperListingWindow : public PrintWindow {
    Q_OBJECT
public:
    explicit PaperListingWindow(SystemState& state, QWidget* parent = nullptr);

    void SpeedButton8Click();
    void AnteprimaClick();
    void SalvaPdfClick();

    // Lists final columns first..last (1-based) on the pages; false when the device failed.
    bool printColumnRange(std::size_t first, std::size_t last, PageSequence& pages);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    // The range typed in the fields, or nothing after the range message.
    bool readRange(std::size_t& first, std::size_t& last);
    void print(const QString& pdfFile);
    ListingRequest request(std::size_t first, std::size_t last) const;

    SystemState& state_;
    QCheckBox* CKB1 = nullptr;
    QCheckBox* CKB2 = nullptr;
    QCheckBox* CKB3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* spb7 = nullptr;
    QPushButton* SpeedButton8 = nullptr;
    QPushButton* Anteprima = nullptr;
    QPushButton* SalvaPdf = nullptr;
    QPushButton* SpeedButton1 = nullptr;
};

// Opens the window on a system as a modal dialog.
void Sucartacomune(QWidget* parent, SystemState& state);

} // namespace quintor
