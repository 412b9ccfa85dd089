#include "ui/restore_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "lang/editing_texts.h"
#include "lang/restore_texts.h"
#include "ui/qt_text.h"

namespace zevo {

namespace {


RestoreTextId EventText(RestoreEvent event) {
    switch (event) {
    case RestoreEvent::Read:
        return RestoreTextId::EventRead;
    case RestoreEvent::Programmed:
        return RestoreTextId::EventProgrammed;
    case RestoreEvent::Opened:
        return RestoreTextId::EventOpened;
    case RestoreEvent::BeforeNew:
        return RestoreTextId::EventBeforeNew;
    case RestoreEvent::Closed:
        return RestoreTextId::EventClosed;
    }
    return RestoreTextId::EventRead;
}

} // namespace

RestoreWindow::RestoreWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("RestoreWindow"));
    resize(760, 460);
    Folder = new QLabel(this);
    Folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Table = new QTableWidget(0, 4, this);
    Table->setObjectName(QStringLiteral("RestoreTable"));
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setStretchLastSection(true);
    CompareButton = new QPushButton(this);
    RestoreButton = new QPushButton(this);
    CloseButton = new QPushButton(this);
    auto act = [this](const std::function<void(const RestoreInfo&, const QString&)>& what) {
        if (const RestoreStore::Entry* entry = Chosen(); entry && entry->Info && what)
            what(*entry->Info, entry->Stem);
    };
    connect(CompareButton, &QPushButton::clicked, this, [this, act] { act(Compare); });
    connect(RestoreButton, &QPushButton::clicked, this, [this, act] { act(Restore); });
    connect(Table, &QTableWidget::cellDoubleClicked, this, [this, act] { act(Compare); });
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(Table, &QTableWidget::itemSelectionChanged, this, [this] {
        const RestoreStore::Entry* entry = Chosen();
        CompareButton->setEnabled(entry && entry->Info);
        RestoreButton->setEnabled(entry && entry->Info);
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CompareButton);
    buttons->addWidget(RestoreButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Table, 1);
    layout->addWidget(Folder);
    layout->addLayout(buttons);
}

const RestoreStore::Entry* RestoreWindow::Chosen() const {
    const int row = Table->currentRow();
    if (row < 0 || row >= static_cast<int>(Entries.size()) || Table->selectedItems().isEmpty())
        return nullptr;
    return &Entries[static_cast<std::size_t>(row)];
}

void RestoreWindow::Show(std::vector<RestoreStore::Entry> entries, const QString& folder, std::uint8_t language) {
    Entries = std::move(entries);
    setWindowTitle(Text(RestoreText(RestoreTextId::RestoreTitle, language)));
    Table->setAccessibleName(windowTitle());
    Folder->setText(Text(FillPlaceholders(RestoreText(RestoreTextId::RestoreFolder, language), {folder.toStdString()})));
    Table->setHorizontalHeaderLabels({Text(RestoreText(RestoreTextId::ColumnEvent, language)),
                                      Text(RestoreText(RestoreTextId::ColumnTime, language)),
                                      Text(RestoreText(RestoreTextId::ColumnUnit, language)),
                                      Text(RestoreText(RestoreTextId::ColumnFile, language))});
    CompareButton->setText(Text(RestoreText(RestoreTextId::ButtonCompare, language)));
    RestoreButton->setText(Text(RestoreText(RestoreTextId::ButtonRestore, language)));
    CloseButton->setText(Text(RestoreText(RestoreTextId::ButtonClose, language)));
    Table->setRowCount(static_cast<int>(Entries.size()));
    for (int row = 0; row < static_cast<int>(Entries.size()); ++row) {
        const RestoreStore::Entry& e = Entries[static_cast<std::size_t>(row)];
        QStringList cells;
        if (e.Info) {
            const std::string time = e.Info->Time.substr(0, 19); // to the second
            std::string unit = e.Info->UnitName;
            if (e.Info->ProgrammingCount)
                unit += " (" + std::to_string(*e.Info->ProgrammingCount) + ")";
            cells = {Text(RestoreText(EventText(e.Info->Event), language)), Text(time), Text(unit),
                     Text(e.Info->FileName)};
        } else {
            cells = {Text(RestoreText(RestoreTextId::Unreadable, language)), e.Stem, QString(), QString()};
        }
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (!e.Info)
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            Table->setItem(row, column, item);
        }
    }
    Table->resizeColumnsToContents();
    CompareButton->setEnabled(false);
    RestoreButton->setEnabled(false);
}

} // namespace zevo
