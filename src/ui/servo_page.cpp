// The servo page: one group of controls, built once at start, that both servo tabs share. The
// transfer moves the group onto whichever servo tab is active and fills it with that servo's data.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "params/conversions.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/map_painter.h"
#include "ui/log_commands.h"
#include "ui/port_commands.h"
#include "ui/restore_commands.h"
#include "ui/view_commands.h"
#include "ui/up_down.h"
#include "ui/window_link_view.h"

namespace zevo {

namespace {

// Grid of the page: a 60-pixel column pitch and a 30-pixel row pitch, the axis one line above.
constexpr int ColumnLeft(int c) {
    return 44 + 60 * c;
}
constexpr int SpinnerLeft(int c) {
    return 84 + 60 * c;
}
constexpr int MapTop(int r) {
    return 53 + 30 * r;
}
constexpr int AxisTop = 21;
constexpr int EditWidth = 40;
constexpr int EditHeight = 21;

const char* const TpRowCaptions[MapRows] = {"0%",  "2%",  "5%",  "10%", "20%",
                                            "30%", "40%", "60%", "80%", "100%"};

// Row captions are placed by the width of their text: one, two or three digits.
constexpr int TpRowLeft(int r) {
    return r <= 2 ? 16 : (r <= 8 ? 10 : 4);
}

} // namespace

void TFormHlav::CreateServoPage() {
    // The Miscellaneous page is active while the window is built, so the group waits on Servo 2.
    QWidget* sheet = PageControl1->currentIndex() == 1 ? TabSheet_Servo1 : TabSheet_Servo2;
    for (QWidget* tab : {TabSheet_Servo1, TabSheet_Servo2}) {
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    GroupBoxServo = new QGroupBox;
    GroupBoxServo->setObjectName(QStringLiteral("GroupBoxServo"));
    static_cast<QVBoxLayout*>(sheet->layout())->addWidget(GroupBoxServo);
    QWidget* box = GroupBoxServo;

    auto makeLabel = [box](const QString& name, int left, int top, const QString& text) {
        auto* label = new TLabel(box);
        label->setObjectName(name);
        label->move(left, top);
        label->SetCaption(text);
        return label;
    };
    // Five digits and a separator must fit a 40-pixel field: a slightly condensed face, no inner margin.
    QFont fieldFont = font();
    fieldFont.setStretch(QFont::SemiCondensed);
    auto makePair = [this, box, fieldFont](const QString& name, int left, int top, int spinnerLeft,
                                           EditorRange range, TEdit*& edit, TUpDown*& spinner) {
        edit = new TEdit(box);
        edit->setObjectName(QStringLiteral("Edit") + name);
        edit->setGeometry(left, top, EditWidth, EditHeight);
        edit->setFont(fieldFont);
        edit->setTextMargins(-1, 0, -1, 0);
        connect(edit, &TEdit::Click, this, &TFormHlav::Edit1Exit);
        WatchEdit(edit);
        spinner = new TUpDown(box);
        spinner->setObjectName(QStringLiteral("UpDown") + name);
        spinner->setGeometry(spinnerLeft, top, 16, EditHeight);
        spinner->SetRange(range.Min, range.Max);
        spinner->SetIncrement(range.Step);
        spinner->SetAssociate(edit);
        connect(spinner, &TUpDown::Click, this, &TFormHlav::UpDown1Click);
    };

    LabelRpmTitle = makeLabel(QStringLiteral("LabelRpmTitle"), 13, 16, QStringLiteral("RPM"));
    LabelTpsTitle = makeLabel(QStringLiteral("LabelTpsTitle"), 7, 37, QStringLiteral("TPS"));
    // In the corner above the axis, where the eye starts reading the map.
    LabelMapUnit = makeLabel(QStringLiteral("LabelMapUnit"), 7, 1, QStringLiteral("[mV]"));
    for (int r = 0; r < MapRows; ++r)
        LabelTpRow[static_cast<std::size_t>(r)] =
            makeLabel(QStringLiteral("LabelTpRow%1").arg(r), TpRowLeft(r), 56 + 30 * r, QString());
    for (int r = 0; r < MapRows; ++r)
        LabelTpRow[static_cast<std::size_t>(r)]->SetCaption(QString::fromLatin1(TpRowCaptions[r]));

    // Creation order is the tab order: the axis, the map row by row, then the two hysteresis fields.
    for (int c = 0; c < MapColumns; ++c) {
        const auto i = static_cast<std::size_t>(c);
        makePair(QStringLiteral("Rpm%1").arg(c), ColumnLeft(c), AxisTop, SpinnerLeft(c), RpmRange, EditRpm[i],
                 UpDownRpm[i]);
    }
    for (int r = 0; r < MapRows; ++r) {
        for (int c = 0; c < MapColumns; ++c) {
            const auto ri = static_cast<std::size_t>(r);
            const auto ci = static_cast<std::size_t>(c);
            makePair(QStringLiteral("Map%1_%2").arg(r).arg(c), ColumnLeft(c), MapTop(r), SpinnerLeft(c),
                     MapMillivoltRange, EditMap[ri][ci], UpDownMap[ri][ci]);
        }
    }
    for (int c = 0; c < MapColumns; ++c) {
        auto* spin = new TCSpinButton(box);
        spin->setObjectName(QStringLiteral("CSpinButtonColumn%1").arg(c));
        spin->setGeometry(59 + 60 * c, 350, 17, 23);
        connect(spin, &TCSpinButton::UpClick, this, [this, c] { CSpinButtonUpClick_Uni(c); });
        connect(spin, &TCSpinButton::DownClick, this, [this, c] { CSpinButtonDownClick_Uni(c); });
        CSpinButtonColumn[static_cast<std::size_t>(c)] = spin;
    }

    auto makeCheckBox = [this, box](const char* name, const QString& caption, int left, int top) {
        auto* check = new TCheckBox(caption, box);
        check->setObjectName(QString::fromLatin1(name));
        check->move(left, top);
        check->adjustSize();
        check->setFocusPolicy(Qt::ClickFocus); // not a tab stop
        return check;
    };
    CheckBoxServoEnable = makeCheckBox("CheckBoxServoEnable", QStringLiteral("Servo Enable"), 60, 390);
    connect(CheckBoxServoEnable, &TCheckBox::MouseUp, this, &TFormHlav::CheckBoxProgHnedMouseUp);
    CheckBoxTpEnable = makeCheckBox("CheckBoxTpEnable", QStringLiteral("TP Enable"), 60 + 120, 390);
    connect(CheckBoxTpEnable, &TCheckBox::MouseUp, this, &TFormHlav::CheckBoxTpEnableMouseUp);
    CheckBoxProcenta = makeCheckBox("CheckBoxProcenta", QStringLiteral("Procenta"), 180, 390 + 25);
    connect(CheckBoxProcenta, &TCheckBox::MouseUp, this, &TFormHlav::CheckBoxProcentaMouseUp);

    makePair(QStringLiteral("HystMv"), 300, 388, 340, HysteresisRange, EditHystMv, UpDownHystMv);
    LabelHystMv = makeLabel(QStringLiteral("LabelHystMv"), 370, 391, QStringLiteral("Hysteresis [mV]"));
    makePair(QStringLiteral("HystRpm"), 300, 418, 340, HysteresisRange, EditHystRpm, UpDownHystRpm);
    LabelHystRpm = makeLabel(QStringLiteral("LabelHystRpm"), 370, 421, QStringLiteral("Hysteresis [RPM]"));

    QFont toolFont = font();
    toolFont.setPointSize(14);
    ButtonMinus = new QPushButton(QStringLiteral("-"), box);
    ButtonMinus->setObjectName(QStringLiteral("ButtonMinus"));
    ButtonMinus->setGeometry(720, 388, 20, 20);
    ButtonMinus->setFont(toolFont);
    ButtonMinus->setFocusPolicy(Qt::ClickFocus);
    connect(ButtonMinus, &QPushButton::clicked, this, &TFormHlav::MenuToolsMinusClick);
    ButtonPlus = new QPushButton(QStringLiteral("+"), box);
    ButtonPlus->setObjectName(QStringLiteral("ButtonPlus"));
    ButtonPlus->setGeometry(780, 388, ButtonMinus->width(), ButtonMinus->height());
    ButtonPlus->setFont(toolFont);
    ButtonPlus->setFocusPolicy(Qt::ClickFocus);
    connect(ButtonPlus, &QPushButton::clicked, this, &TFormHlav::MenuToolsPlusClick);
    CheckBoxAll = makeCheckBox("CheckBoxAll", QStringLiteral("All"), 840, 390);
    connect(CheckBoxAll, &TCheckBox::MouseUp, this, &TFormHlav::CheckBoxProgHnedMouseUp);

    MapPainter::Fields fields;
    for (int c = 0; c < MapColumns; ++c) {
        const auto ci = static_cast<std::size_t>(c);
        fields.Axis[ci] = EditRpm[ci];
        for (int r = 0; r < MapRows; ++r)
            fields.Cells[static_cast<std::size_t>(r)][ci] = EditMap[static_cast<std::size_t>(r)][ci];
    }
    for (int r = 0; r < MapRows; ++r)
        fields.RowCaptions[static_cast<std::size_t>(r)] = LabelTpRow[static_cast<std::size_t>(r)];
    CellPainter = std::make_unique<MapPainter>(fields);

    BuildComMenu();
    BuildMapEditing();
    PortAssignments = &Register<PortCommands>(LinkLine, OwnLine.get());
    Views = &Register<ViewCommands>();
    BuildSetStateLabels();
    RestorePoints = &Register<RestoreCommands>(ConfigDir);
    Log = &Register<RideLog>(SteadyClock);
    ShareKeysWithToolWindows(); // every action with a key exists now
    KeepExitLast();
}

void TFormHlav::KeepExitLast() {
    // The capabilities' File items came after Exit; Exit goes back to the end, behind a separator of
    // its own, so the items above it sit between the design's separator after Print and this one.
    MenuFile->removeAction(MenuExit);
    const QList<QAction*> items = MenuFile->actions();
    if (!items.isEmpty() && !items.last()->isSeparator())
        MenuFile->addSeparator()->setObjectName(QStringLiteral("N5"));
    MenuFile->addAction(MenuExit);
}

void TFormHlav::BuildComMenu() {
    // COM1..COM20, then the automatic search; the captions are the same in every language.
    for (int position = 0; position < AutoPortCount; ++position) {
        auto* item = new QAction(QStringLiteral("Com %1").arg(position + 1), this);
        item->setObjectName(QStringLiteral("MenuComItem%1").arg(position));
        item->setCheckable(true);
        MenuCom->addAction(item);
        connect(item, &QAction::triggered, this, [this, position] { MenuCom1Click(position); });
        MenuComItems[static_cast<std::size_t>(position)] = item;
    }
    MenuComItems[AutoSearchPortIndex]->setText(QStringLiteral("Com Auto"));
}

int TFormHlav::ShownServo() const {
    const int index = PageControl1->currentIndex();
    return index == 1 ? 0 : (index == 2 ? 1 : -1);
}

void TFormHlav::HoldServoBox(bool hold) {
    // Hiding the box would hand the focus of a control in it to the next one of the window
    // ("Programming after change", where a Space would arm programming); it comes back after.
    if (hold) {
        QWidget* focused = QApplication::focusWidget();
        FocusBeforeHold = focused && GroupBoxServo->isAncestorOf(focused) ? focused : nullptr;
    }
    ServoBoxHeld = hold;
    GroupBoxServo->setVisible(!hold);
    if (!hold && FocusBeforeHold) {
        if (FocusBeforeHold->isVisibleTo(this))
            FocusBeforeHold->setFocus(Qt::OtherFocusReason);
        FocusBeforeHold = nullptr;
    }
}

void TFormHlav::UpdateServoPage() {
    QWidget* sheet = PageControl1->currentIndex() == 1 ? TabSheet_Servo1 : TabSheet_Servo2;
    if (GroupBoxServo->parentWidget() != sheet) {
        static_cast<QVBoxLayout*>(sheet->layout())->addWidget(GroupBoxServo);
        if (!ServoBoxHeld)
            GroupBoxServo->show();
    }

    // The page follows the box on screen, not the block: an untick shows at once.
    const bool tpEnabled = CheckBoxTpEnable->isChecked();
    for (int r = 1; r < MapRows; ++r) {
        for (int c = 0; c < MapColumns; ++c) {
            EditMap[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]->setVisible(tpEnabled);
            UpDownMap[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]->setVisible(tpEnabled);
        }
    }
    for (TLabel* label : LabelTpRow)
        label->setVisible(tpEnabled);
    LabelTpsTitle->setVisible(tpEnabled);
    for (TCSpinButton* spin : CSpinButtonColumn)
        spin->setVisible(tpEnabled);

    const int servo = PageControl1->currentIndex() == 1 ? 0 : 1;
    const EditorRange range = MapRange(Image.PerCentMode(servo) != 0);
    LabelMapUnit->SetCaption(Image.PerCentMode(servo) != 0 ? QStringLiteral("[%]") : QStringLiteral("[mV]"));
    for (auto& row : UpDownMap) {
        for (TUpDown* spinner : row) {
            spinner->SetRange(range.Min, range.Max);
            spinner->SetIncrement(range.Step);
        }
    }

    LabelVerze1->SetCaption(QString::fromStdString(UnitName));
    LabelVerze2->SetCaption(QString::fromStdString(UnitBuildDate));
    LabelVerze3->SetCaption(QString::fromStdString(UnitBuildTime));

    // Red while the unit is programmed after every change: the user must not forget it is on.
    // A check box fills its background with the button colour, so both roles carry it.
    const QColor face = palette().color(QPalette::Window);
    QPalette boxPalette = CheckBoxProgHned->palette();
    const QColor box = CheckBoxProgHned->isChecked() ? QColor(0xFF, 0, 0) : face;
    const QColor text = box == face ? palette().color(QPalette::WindowText) : ToQColor(ReadableText(ToRgb(box)));
    boxPalette.setColor(QPalette::Window, box);
    boxPalette.setColor(QPalette::Button, box);
    boxPalette.setColor(QPalette::WindowText, text);
    boxPalette.setColor(QPalette::ButtonText, text);
    CheckBoxProgHned->setPalette(boxPalette);
}

void TFormHlav::PaintMap() {
    const int servo = ShownServo();
    if (CellPainter && servo >= 0) {
        MapPainter::Scene scene;
        scene.Image = &Image;
        scene.Servo = servo;
        // One cell is just the focused field; the colour shows a block of several.
        if (const auto selection = ShownSelection(); selection && selection->Cells() > 1)
            scene.Selection = selection;
        scene.Live = LiveCell();
        scene.Palette = palette();
        for (const auto& capability : Capabilities)
            capability->Decorate(scene);
        CellPainter->Paint(scene);
    }
    for (const auto& capability : Capabilities)
        capability->SetChanged();
    ShowSetState();
}

std::optional<std::pair<int, int>> TFormHlav::LiveCell() const {
    const int servo = ShownServo();
    if (servo < 0)
        return std::nullopt;
    const EngineCell cell = Position.CellOn(Image, servo);
    return std::make_pair(cell.Row, cell.Column);
}

void TFormHlav::ShowLive() {
    for (const auto& capability : Capabilities)
        capability->LiveShown();
    PaintMap();
}

TEdit* TFormHlav::MapField(int row, int column) {
    const auto c = static_cast<std::size_t>(column);
    return row < 0 ? EditRpm.at(c) : EditMap.at(static_cast<std::size_t>(row)).at(c);
}

bool TFormHlav::Replaying() const {
    return Log && Log->Replaying();
}

void TFormHlav::ReplayChanged() {
    View->ReplayChanged();
    if (Replaying())
        return;
    Position.EndReplay();
    PaintMap();
}

void TFormHlav::ShowReplayed(const LogRow& row, bool rowChanged) {
    if (rowChanged)
        View->ShowCaptions(ComposeTelemetryOf(row, {Image.ServoEnable(0) != 0, Image.ServoEnable(1) != 0}, LanguageIndex));
    Position.ReplayReading(ReadingOf(row));
    // The live cell follows at once, not only with the link's next tick.
    if (rowChanged && ShownServo() >= 0)
        ShowLive();
}

} // namespace zevo
