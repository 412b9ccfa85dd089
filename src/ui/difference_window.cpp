#include "ui/difference_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "lang/editing_texts.h"
#include "lang/restore_texts.h"
#include "ui/qt_text.h"

namespace zevo {

DifferenceWindow::DifferenceWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("DifferenceWindow"));
    resize(560, 420);
    Count = new QLabel(this);
    Count->setWordWrap(true);
    List = new QListWidget(this);
    List->setObjectName(QStringLiteral("DifferenceList"));
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    TakeAll = new QPushButton(this);
    TakeSelected = new QPushButton(this);
    CloseButton = new QPushButton(this);
    connect(TakeAll, &QPushButton::clicked, this, [this] { Take(true); });
    connect(TakeSelected, &QPushButton::clicked, this, [this] { Take(false); });
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(List, &QListWidget::itemSelectionChanged, this,
            [this] { TakeSelected->setEnabled(!List->selectedItems().isEmpty()); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(TakeAll);
    buttons->addWidget(TakeSelected);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Count);
    layout->addWidget(List, 1);
    layout->addLayout(buttons);
}

void DifferenceWindow::Show(const DeviceImage& here, const DeviceImage& there, const QString& what,
                            std::uint8_t language) {
    Listed = DifferencesBetween(here, there);
    const std::string title = FillPlaceholders(RestoreText(RestoreTextId::DifferenceTitle, language), {what.toStdString()});
    setWindowTitle(Text(title));
    Count->setText(Listed.empty() ? Text(RestoreText(RestoreTextId::NoDifference, language))
                                  : Text(FillPlaceholders(RestoreText(RestoreTextId::DifferenceCount, language),
                                                          {std::to_string(Listed.size())})));
    List->clear();
    for (const SetDifference& d : Listed)
        List->addItem(Text(DifferenceLine(d, language)));
    TakeAll->setText(Text(RestoreText(RestoreTextId::TakeAll, language)));
    TakeSelected->setText(Text(RestoreText(RestoreTextId::TakeSelected, language)));
    CloseButton->setText(Text(RestoreText(RestoreTextId::ButtonClose, language)));
    TakeAll->setEnabled(!Listed.empty());
    TakeSelected->setEnabled(false);
}

void DifferenceWindow::Take(bool all) {
    std::vector<SetDifference> chosen;
    for (int row = 0; row < List->count() && row < static_cast<int>(Listed.size()); ++row)
        if (all || List->item(row)->isSelected())
            chosen.push_back(Listed[static_cast<std::size_t>(row)]);
    if (!chosen.empty() && TakeTheirs)
        TakeTheirs(chosen);
}

void DifferenceWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (Closed)
        Closed();
}

} // namespace zevo
