#include "ui/port_assignments.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "lang/language_tables.h"

namespace zevo {

namespace {

QString FromStd(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

bool IsDevicePath(const QString& path) {
    const QFileInfo info(path);
#ifdef Q_OS_WIN
    // \\.\COMn is no file the file system lists; any name of that form is a port.
    return path.startsWith(QStringLiteral("\\\\.\\")) || info.exists();
#else
    // Devices are neither regular files nor folders; a link to one counts as the device.
    return info.exists() && !info.isDir() && !info.isFile();
#endif
}

QString TFormPorts::Text(PortTextId id) const {
    const std::string_view text = PortText(id, Language);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

TFormPorts::TFormPorts(const std::vector<PortDescription>& ports, const PortPins& pins, std::uint8_t language,
                       QWidget* parent)
    : QDialog(parent), Ports(ports), Current(pins), Language(language) {
    setObjectName(QStringLiteral("FormPorts"));
    setWindowTitle(Text(PortTextId::Title));

    TablePorts = new QTableWidget(static_cast<int>(Ports.size()), 6, this);
    TablePorts->setObjectName(QStringLiteral("TablePorts"));
    TablePorts->setHorizontalHeaderLabels({Text(PortTextId::ColumnCom), Text(PortTextId::ColumnDevice),
                                           Text(PortTextId::ColumnById), Text(PortTextId::ColumnUsb),
                                           Text(PortTextId::ColumnMaker), Text(PortTextId::ColumnSerial)});
    TablePorts->verticalHeader()->hide();
    TablePorts->setSelectionBehavior(QAbstractItemView::SelectRows);
    TablePorts->setSelectionMode(QAbstractItemView::SingleSelection);
    TablePorts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < static_cast<int>(Ports.size()); ++row) {
        const PortDescription& port = Ports[static_cast<std::size_t>(row)];
        QString device = FromStd(port.Path);
        if (!port.Present)
            device += QLatin1Char(' ') + Text(PortTextId::NotPresent);
        const QString usb = port.Vendor >= 0
                                ? QString::asprintf("%04x:%04x", port.Vendor, std::max(port.Product, 0))
                                : QString();
        QString maker = FromStd(port.Manufacturer);
        if (!port.Description.empty())
            maker += (maker.isEmpty() ? QString() : QStringLiteral(", ")) + FromStd(port.Description);
        const QString cells[] = {QStringLiteral("COM%1").arg(port.Number),
                                 device,
                                 FromStd(port.ById),
                                 usb,
                                 maker,
                                 FromStd(port.Serial)};
        for (int column = 0; column < 6; ++column)
            TablePorts->setItem(row, column, Cell(cells[column]));
    }
    TablePorts->resizeColumnsToContents();
    TablePorts->horizontalHeader()->setStretchLastSection(true);
    connect(TablePorts, &QTableWidget::cellClicked, this, [this](int row, int) { PortChosen(row); });

    ComboNumber = new QComboBox(this);
    ComboNumber->setObjectName(QStringLiteral("ComboNumber"));
    for (int n = FirstPortNumber; n < LastPortNumber; ++n) // COM21 is the search's, not a port
        ComboNumber->addItem(QStringLiteral("COM%1").arg(n), n);
    EditPath = new QComboBox(this);
    EditPath->setObjectName(QStringLiteral("EditPath"));
    EditPath->setEditable(true);
    EditPath->setInsertPolicy(QComboBox::NoInsert);
    EditPath->setMinimumContentsLength(40);
    for (const PortDescription& port : Ports) {
        // The stable name first: it survives replugging into another socket.
        if (!port.ById.empty())
            EditPath->addItem(FromStd(port.ById));
        if (port.ById != port.Path)
            EditPath->addItem(FromStd(port.Path));
    }
    EditPath->setCurrentText(QString());
    ButtonPin = new QPushButton(Text(PortTextId::ButtonPin), this);
    ButtonPin->setObjectName(QStringLiteral("ButtonPin"));
    connect(ButtonPin, &QPushButton::clicked, this, &TFormPorts::PinClick);
    ButtonUnpin = new QPushButton(Text(PortTextId::ButtonUnpin), this);
    ButtonUnpin->setObjectName(QStringLiteral("ButtonUnpin"));
    connect(ButtonUnpin, &QPushButton::clicked, this, &TFormPorts::UnpinClick);
    LabelProblem = new QLabel(this);
    LabelProblem->setObjectName(QStringLiteral("LabelProblem"));
    LabelProblem->setStyleSheet(QStringLiteral("color: #b00020"));
    LabelProblem->setWordWrap(true);

    TablePins = new QTableWidget(0, 2, this);
    TablePins->setObjectName(QStringLiteral("TablePins"));
    TablePins->setHorizontalHeaderLabels({Text(PortTextId::ColumnCom), Text(PortTextId::ColumnDevice)});
    TablePins->verticalHeader()->hide();
    TablePins->horizontalHeader()->setStretchLastSection(true);
    TablePins->setSelectionBehavior(QAbstractItemView::SelectRows);
    TablePins->setSelectionMode(QAbstractItemView::SingleSelection);
    TablePins->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(TablePins, &QTableWidget::cellClicked, this, [this](int row, int) {
        ComboNumber->setCurrentIndex(ComboNumber->findData(TablePins->item(row, 0)->data(Qt::UserRole)));
        EditPath->setCurrentText(TablePins->item(row, 1)->text());
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pinRow = new QGridLayout;
    pinRow->addWidget(new QLabel(Text(PortTextId::LabelNumber), this), 0, 0);
    pinRow->addWidget(ComboNumber, 0, 1);
    pinRow->addWidget(new QLabel(Text(PortTextId::LabelPath), this), 0, 2);
    pinRow->addWidget(EditPath, 0, 3);
    pinRow->addWidget(ButtonPin, 0, 4);
    pinRow->addWidget(ButtonUnpin, 0, 5);
    pinRow->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TablePorts, 2);
    layout->addLayout(pinRow);
    layout->addWidget(LabelProblem);
    layout->addWidget(new QLabel(Text(PortTextId::PinsCaption), this));
    layout->addWidget(TablePins, 1);
    layout->addWidget(buttons);
    resize(760, 420);
    ShowPins();
}

void TFormPorts::PortChosen(int row) {
    if (row < 0 || row >= static_cast<int>(Ports.size()))
        return;
    const PortDescription& port = Ports[static_cast<std::size_t>(row)];
    ComboNumber->setCurrentIndex(ComboNumber->findData(port.Number));
    EditPath->setCurrentText(FromStd(port.ById.empty() ? port.Path : port.ById));
    LabelProblem->clear();
}

void TFormPorts::PinClick() {
    const QString path = EditPath->currentText();
    if (!IsDevicePath(path)) {
        LabelProblem->setText(Text(PortTextId::NotADevice).arg(path));
        return;
    }
    const QByteArray bytes = path.toUtf8();
    if (!PinReadsBack(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        LabelProblem->setText(Text(PortTextId::NotStorable).arg(path));
        return;
    }
    LabelProblem->clear();
    Current[ComboNumber->currentData().toInt()] = bytes.toStdString();
    ShowPins();
}

void TFormPorts::UnpinClick() {
    Current.erase(ComboNumber->currentData().toInt());
    LabelProblem->clear();
    ShowPins();
}

void TFormPorts::ShowPins() {
    TablePins->setRowCount(0);
    for (const auto& [number, path] : Current) {
        const int row = TablePins->rowCount();
        TablePins->insertRow(row);
        QTableWidgetItem* com = Cell(QStringLiteral("COM%1").arg(number));
        com->setData(Qt::UserRole, number);
        TablePins->setItem(row, 0, com);
        TablePins->setItem(row, 1, Cell(FromStd(path)));
    }
}

} // namespace zevo
