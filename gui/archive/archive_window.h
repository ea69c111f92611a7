#pragma once

#include "core/archive.h"
#include "core/archive_service.h"

#include <QDialog>
#include <QPixmap>
#include <QRect>

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
// The main frame creates it once at start-up and shows it modally whenever it is wanted.
class ArchiveWindow : public QDialog {
    Q_OBJECT
public:
    // What the entry box is open for.
    enum EntryMode { noEntry = 0, newEntry = 2, modifyEntry = 3 };

    // Loads the archive of folder into archives' archive, taking the reading ahead when there
    // is one, and offers the update file there, if any; its renamed copy draws from random.
    ArchiveWindow(const std::filesystem::path& folder, ArchiveService& archives,
                  RandomGenerator& random, QWidget* parent = nullptr);
    ~ArchiveWindow() override;

    // A loading still waiting for the reading ahead ends now, waiting for it (and asking the
    // user about the update file, if one has come); nothing once the archive is loaded.
    void completeLoading();

    const Archive& archive() const { return archive_; }
    std::filesystem::path archiveFile() const;

    // False, with the message shown, when the file could not be replaced.
    bool saveArchive();

    // What the entry box is open for; noEntry while it is hidden.
    EntryMode entryMode() const { return entryMode_; }

signals:
    // The archive has been loaded, or changed and saved.
    void archiveChanged();

public slots:
    void onNewClicked();
    void onModifyClicked();
    void onEntryOkClicked();
    void onEntryCancelClicked();
    void onDeleteClicked();
    void onCloseClicked();
    void onHelpClicked();
    void onImportCsvClicked();
    void onExportCsvClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void reject() override;

private:
    void startLoading();
    // Takes the archive read, shows it and offers the update file; settle lets the window
    // paint first, as at start-up.
    void finishLoading(bool settle);
    void buildControls();
    void buildHeadings();
    void buildGrid();
    void buildButtons();
    void buildEntryBox();
    // A push button that calls onClicked; Enter in the entry box never presses it.
    QPushButton* addButton(QWidget* parent, const char* name, const QString& text, QRect geometry,
                           void (ArchiveWindow::*onClicked)());
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
    ArchiveService& archives_;
    Archive& archive_; // the archive of archives_
    RandomGenerator& random_;
    QTimer* arrival_ = nullptr; // while the archive is still being read
    ArchiveModel* model_ = nullptr;
    EntryMode entryMode_ = noEntry;
    std::size_t editedRecord_ = 0;
    // The archive file exists but could not be read: it must not be overwritten.
    bool readFailed_ = false;
    QPixmap background_;

    QLabel* lastUpdateLabel_ = nullptr;
    QLabel* drawCountLabel_ = nullptr;
    QTableView* drawsGrid_ = nullptr;
    QGroupBox* entryBox_ = nullptr;
    QLineEdit* dateField_ = nullptr;
    QLineEdit* columnField_ = nullptr;
    QLineEdit* jollyField_ = nullptr;
};

} // namespace quintor
