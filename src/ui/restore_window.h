#pragma once
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "files/restore_store.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace zevo {

// File > Restore points…: the copies kept, newest first, with their event, time, unit and file. A
// copy that cannot be read is listed as such and can be neither compared nor restored.
class RestoreWindow : public QWidget {
    Q_OBJECT
public:
    explicit RestoreWindow(QWidget* owner);

    void Show(std::vector<RestoreStore::Entry> entries, const QString& folder, std::uint8_t language);
    std::function<void(const RestoreInfo&, const QString& stem)> Compare;
    std::function<void(const RestoreInfo&, const QString& stem)> Restore;

    QTableWidget* Table = nullptr;
    QLabel* Folder = nullptr;
    QPushButton* CompareButton = nullptr;
    QPushButton* RestoreButton = nullptr;
    QPushButton* CloseButton = nullptr;

private:
    const RestoreStore::Entry* Chosen() const;
    std::vector<RestoreStore::Entry> Entries;
};

} // namespace zevo
