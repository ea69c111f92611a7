#pragma once

#include "core/archive.h"

#include <QDialog>
#include <QPixmap>

#include <filesystem>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace quintor {

class ArchiveModel;

// The archive window: shows the winning columns, takes new and corrected draws, deletes them,
// merges the update file and CSV files of draws, and saves the archive after every change.
// Created once at start-up and shown modally whenever it is wanted.
class ArchiveWindow : public QDialog {
    Q_OBJECT
public:
    // Entry modes, kept in the entry box's Tag.
    enum EntryMode { noEntry = 0, newEntry = 2, modifyEntry = 3 };

    // Loads the archive of folder into archive and offers the update file there, if any.
    ArchiveWindow(const std::filesystem::path& folder, Archive& archive, QWidget* parent = nullptr);
    ~ArchiveWindow() override;

    // The window the program created at start-up, or null before it exists.
    static ArchiveWindow* current();
    // Shows the window modally, as the commands that manage the archive do; false when there
    // is no archive window.
    static bool showModal();

    const Archive& archive() const { return archive_; }
    std::filesystem::path archiveFile() const;

    bool ce_gia(const QString& dateText) const;
    // False, with the message shown, when a date involved does not convert.
    bool inserisci(ArchiveRecord record);
    // False, with the message shown, when the file could not be replaced.
    bool permanenti();

    int entryMode() const;

public slots:
    void NuovaClick();
    void SpeedButton2Click();
    void SpeedButton4Click();
    void spb8Click();
    void SpeedButton3Click();
    void SpeedButton5Click();
    void SpeedButton9Click();
    void ImportaCsvClick();
    void EsportaCsvClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void reject() override;

private:
    void FormCreate();
    // Takes the archive read, shows it and offers the update file; settle lets the window
    // paint first, as at start-up.
    void finishLoading(bool settle);
    void buildControls();
    void mergeUpdateAtStart();
    void refreshLabels();
    void refreshGrid();
    void showEntry(EntryMode mode);
    void hideEntry();
    // Saves after a change; when the save fails the change is undone so that memory and file
    // agree, and the user is told.
    bool commitOrRestore(Archive before);
    void selectRecord(std::size_t index);

    std::filesystem::path folder_;
    Archive& archive_;
    QTimer* arrival_ = nullptr; // while the archive is still being read
    ArchiveModel* model_ = nullptr;
    std::size_t editedRecord_ = 0;
    // The archive file exists but could not be read: it must not be overwritten.
    bool readFailed_ = false;
    QPixmap background_;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QTableView* cov = nullptr;
    QGroupBox* gpb1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
};

} // namespace quintor
