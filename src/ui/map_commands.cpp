// Editing many map cells at once: the selection on the servo page, the operations of the Tools menu
// on it, the clipboard, and what the window says about entries it refused or adjusted. Every change
// goes through AfterChange, so validation, undo and programming after change treat it as any other.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QStatusBar>

#include "lang/editing_texts.h"
#include "params/clipboard_table.h"
#include "params/conversions.h"
#include "params/map_operations.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/map_selection_control.h"
#include "ui/up_down.h"
#include "ui/window_link_view.h"
#include "ui/qt_text.h"

namespace zevo {

namespace {

// How long a message about an entry or an operation stays in the status bar.
constexpr int MessageMs = 8000;

std::string Std(const QString& text) {
    return text.toUtf8().toStdString();
}

struct OperationItem {
    MapOperation Op;
    EditingTextId Caption;
    QKeySequence Shortcut;
    const char* Name;
};

// None of these keys is one of the design's (F1..F9, Ctrl+N, Ctrl+P, Ctrl+Z, Ctrl+Alt+Z).
const OperationItem Operations[] = {
    {MapOperation::SetValue, EditingTextId::MenuSetValue, QKeySequence(Qt::CTRL | Qt::Key_E), "MenuSetValue"},
    {MapOperation::Add, EditingTextId::MenuAdd, QKeySequence(Qt::CTRL | Qt::Key_D), "MenuAdd"},
    {MapOperation::ScalePercent, EditingTextId::MenuScale, QKeySequence(Qt::CTRL | Qt::Key_M), "MenuScale"},
    {MapOperation::InterpolateRpm, EditingTextId::MenuInterpolateRpm, QKeySequence(Qt::CTRL | Qt::Key_R),
     "MenuInterpolateRpm"},
    {MapOperation::InterpolateThrottle, EditingTextId::MenuInterpolateThrottle,
     QKeySequence(Qt::CTRL | Qt::Key_T), "MenuInterpolateThrottle"},
    {MapOperation::InterpolateCorners, EditingTextId::MenuInterpolateCorners,
     QKeySequence(Qt::CTRL | Qt::Key_I), "MenuInterpolateCorners"},
    {MapOperation::Smooth, EditingTextId::MenuSmooth, QKeySequence(Qt::CTRL | Qt::Key_L), "MenuSmooth"},
};

} // namespace

void TFormHlav::BuildMapEditing() {
    Selection = new MapSelectionControl(GroupBoxServo, this);
    Selection->setObjectName(QStringLiteral("MapSelection"));
    for (int c = 0; c < MapColumns; ++c) {
        Selection->Watch(EditRpm[static_cast<std::size_t>(c)], AxisRow, c);
        for (int r = 0; r < MapRows; ++r)
            Selection->Watch(EditMap[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)], r, c);
    }
    connect(Selection, &MapSelectionControl::Changed, this, &TFormHlav::PaintMap);

    // After the design's items of the Tools menu.
    MenuTools->addSeparator();
    for (const OperationItem& item : Operations) {
        QAction* action = MenuTools->addAction(QString());
        action->setObjectName(QString::fromLatin1(item.Name));
        action->setShortcut(item.Shortcut);
        const MapOperation op = item.Op;
        connect(action, &QAction::triggered, this, [this, op] { RunMapOperation(op); });
        MapEditActions.push_back({action, item.Caption});
    }
    MenuTools->addSeparator();
    auto clipboardItem = [this](const char* name, EditingTextId caption, const QKeySequence& keys) {
        QAction* action = MenuTools->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        MapEditActions.push_back({action, caption});
        return action;
    };
    MenuCopyCells =
        clipboardItem("MenuCopyCells", EditingTextId::MenuCopy, QKeySequence(Qt::CTRL | Qt::Key_C));
    MenuCopyWithAxes = clipboardItem("MenuCopyWithAxes", EditingTextId::MenuCopyWithAxes,
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    MenuPasteCells =
        clipboardItem("MenuPasteCells", EditingTextId::MenuPaste, QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(MenuCopyCells, &QAction::triggered, this, [this] { CopyCells(false); });
    connect(MenuCopyWithAxes, &QAction::triggered, this, [this] { CopyCells(true); });
    connect(MenuPasteCells, &QAction::triggered, this, &TFormHlav::PasteCells);
}

void TFormHlav::ApplyMapEditingCaptions() {
    for (const auto& [action, caption] : MapEditActions)
        action->setText(Text(EditingText(caption, LanguageIndex)));
}

bool TFormHlav::IsMapEditingKey(const QObject* field, const QKeyEvent& key) const {
    if (!Selection || !Selection->Watches(field))
        return false;
    const QKeySequence pressed(key.keyCombination());
    for (const auto& entry : MapEditActions)
        if (entry.first->shortcut() == pressed)
            return true;
    return false;
}

void TFormHlav::Say(const QString& text) {
    StatusBar1->showMessage(text, MessageMs);
}

std::optional<MapSelection> TFormHlav::ShownSelection() const {
    if (!Selection || ShownServo() < 0)
        return std::nullopt;
    return Selection->Selection(CheckBoxTpEnable->isChecked());
}

// ---- entries typed into fields ---------------------------------------------------------------

std::vector<TFormHlav::TypedEntry> TFormHlav::TypedEntries() const {
    std::vector<TypedEntry> typed;
    auto look = [&typed](TEdit* field) {
        if (field && field->isVisibleTo(field->window()) && field->HoldsProposal())
            typed.push_back({field, field->text()});
    };
    look(EditTps0);
    look(EditTps100);
    for (TEdit* field : EditRpm)
        look(field);
    for (const auto& row : EditMap)
        for (TEdit* field : row)
            look(field);
    look(EditHystMv);
    look(EditHystRpm);
    return typed;
}

void TFormHlav::ReportEntries(const std::vector<TypedEntry>& typed) {
    // What was typed against what the field holds now that the page is taken: the first entry that
    // did not land as typed is named.
    for (const TypedEntry& entry : typed) {
        const TUpDown* spinner = entry.Field->Spinner();
        if (!spinner)
            continue;
        const QLocale locale;
        const std::string kept = Std(spinner->PositionText());
        const std::optional<int> value = TUpDown::ParseText(entry.Text, locale);
        std::string message;
        if (!value) {
            message = FillPlaceholders(EditingText(EditingTextId::FieldNotNumber, LanguageIndex),
                                       {Std(entry.Text.trimmed().left(24)), kept});
        } else if (*value < spinner->Min() || *value > spinner->Max()) {
            message = FillPlaceholders(EditingText(EditingTextId::FieldOutOfRange, LanguageIndex),
                                       {Std(TUpDown::FormatValue(*value, locale)),
                                        Std(TUpDown::FormatValue(spinner->Min(), locale)),
                                        Std(TUpDown::FormatValue(spinner->Max(), locale)), kept});
        } else if (Std(TUpDown::FormatValue(*value, locale)) != kept) {
            message = FillPlaceholders(
                EditingText(EditingTextId::FieldAdjusted, LanguageIndex),
                {Std(TUpDown::FormatValue(*value, locale)), kept, std::to_string(spinner->Increment())});
        }
        if (!message.empty()) {
            Say(Text(message));
            return;
        }
    }
}

void TFormHlav::ConfirmPage() {
    const std::vector<TypedEntry> typed = TypedEntries();
    EditorToBlock();
    AfterChange();
    ReportEntries(typed);
}

bool TFormHlav::FillSelectionFrom(TEdit* field) {
    const int servo = ShownServo();
    const auto selection = ShownSelection();
    if (servo < 0 || !selection || selection->Cells() < 2 || !Selection->Watches(field) ||
        !field->HoldsProposal())
        return false;
    // Several cells selected and a value typed into one of them: Enter gives it to all of them.
    const QString typed = field->text();
    const EditorRange range = SelectionRange(Image, servo, *selection);
    const std::optional<int> value = TUpDown::ParseText(typed, QLocale());
    if (!value || *value < range.Min || *value > range.Max) {
        const std::vector<TypedEntry> entries{{field, typed}};
        BlockToEditor(); // the field shows what it holds again
        ReportEntries(entries);
        field->selectAll();
        return true;
    }
    ApplyMapOperation(Image, servo, *selection, CheckBoxTpEnable->isChecked(), MapOperation::SetValue,
                      *value);
    AfterChange();
    ReportEntries({{field, typed}});
    field->selectAll(); // the next value typed replaces this one, in all the cells again
    return true;
}

// ---- operations --------------------------------------------------------------------------------

void TFormHlav::RunMapOperation(MapOperation op) {
    const int servo = ShownServo();
    if (servo < 0 || !ShownSelection()) {
        Say(Text(EditingText(EditingTextId::NoCellSelected, LanguageIndex)));
        return;
    }
    ConfirmPage(); // something typed and not yet taken is a change of its own, before this one
    const auto selection = ShownSelection();
    if (!selection) {
        Say(Text(EditingText(EditingTextId::NoCellSelected, LanguageIndex)));
        return;
    }
    std::optional<EditingTextId> tooSmall;
    switch (op) {
    case MapOperation::InterpolateRpm:
        if (selection->Columns() < 2)
            tooSmall = EditingTextId::NeedTwoColumns;
        break;
    case MapOperation::InterpolateThrottle:
        if (selection->Rows() < 2)
            tooSmall = EditingTextId::NeedTwoRows;
        break;
    case MapOperation::InterpolateCorners:
    case MapOperation::Smooth:
        if (selection->Cells() < 2)
            tooSmall = EditingTextId::NeedTwoCells;
        break;
    default:
        break;
    }
    if (tooSmall) {
        Say(Text(EditingText(*tooSmall, LanguageIndex)));
        return;
    }

    double argument = 0;
    const EditorRange range = SelectionRange(Image, servo, *selection);
    if (op == MapOperation::SetValue || op == MapOperation::Add || op == MapOperation::ScalePercent) {
        const QString unit = selection->IsAxis()             ? QStringLiteral("RPM")
                             : Image.PerCentMode(servo) != 0 ? QStringLiteral("%")
                                                             : QStringLiteral("mV");
        const EditingTextId prompt = op == MapOperation::SetValue ? EditingTextId::PromptSetValue
                                     : op == MapOperation::Add    ? EditingTextId::PromptAdd
                                                                  : EditingTextId::PromptScale;
        const double start = op == MapOperation::SetValue
                                 ? ShownValue(Image, servo, selection->Row0, selection->Col0)
                             : op == MapOperation::Add ? range.Step
                                                       : 100.0;
        const std::optional<double> entered =
            Prompts
                ? Prompts->AskNumber(this,
                                     Text(FillPlaceholders(EditingText(prompt, LanguageIndex), {Std(unit)})),
                                     start, op == MapOperation::ScalePercent ? 1 : 0)
                : std::nullopt;
        if (!entered)
            return;
        argument = *entered;
        // A value outside the range is refused as it is when typed into the cells, not held to it.
        if (op == MapOperation::SetValue && (argument < range.Min || argument > range.Max)) {
            const QLocale locale;
            Say(Text(FillPlaceholders(
                EditingText(EditingTextId::FieldOutOfRange, LanguageIndex),
                {Std(locale.toString(argument)), Std(locale.toString(range.Min)),
                 Std(locale.toString(range.Max)),
                 Std(locale.toString(ShownValue(Image, servo, selection->Row0, selection->Col0)))})));
            return;
        }
    }
    ApplyMapOperation(Image, servo, *selection, CheckBoxTpEnable->isChecked(), op, argument);
    AfterChange();
    // On the axis the rising order may move points too; that is the block's repair, not the step.
    if ((op == MapOperation::SetValue || op == MapOperation::Add) && !selection->IsAxis()) {
        const std::optional<double> used = EffectiveArgument(op, argument, range);
        if (used && *used != argument)
            Say(Text(FillPlaceholders(EditingText(EditingTextId::FieldAdjusted, LanguageIndex),
                                      {Std(QLocale().toString(argument)), Std(QLocale().toString(*used)),
                                       std::to_string(range.Step)})));
    }
}

// ---- clipboard ---------------------------------------------------------------------------------

void TFormHlav::CopyCells(bool withAxes) {
    const int servo = ShownServo();
    if (servo < 0 || !ShownSelection()) {
        Say(Text(EditingText(EditingTextId::NoCellSelected, LanguageIndex)));
        return;
    }
    ConfirmPage(); // the clipboard gets what the set holds, and the screen shows it
    if (const auto selection = ShownSelection())
        QApplication::clipboard()->setText(Text(CopyTable(Image, servo, *selection, withAxes)));
}

void TFormHlav::PasteCells() {
    const int servo = ShownServo();
    if (servo < 0 || !ShownSelection()) {
        Say(Text(EditingText(EditingTextId::PasteNoTarget, LanguageIndex)));
        return;
    }
    ConfirmPage();
    const auto selection = ShownSelection();
    if (!selection)
        return;
    const QLocale locale;
    const QString text = QApplication::clipboard()->text();
    PasteOutcome outcome;
    if (text.size() > static_cast<qsizetype>(PasteLimits::Bytes)) {
        outcome.Error = PasteError::TooLarge; // refused on its size, without converting it whole
    } else {
        const QByteArray bytes = text.toUtf8();
        outcome = PasteTable(Image, servo, *selection, CheckBoxTpEnable->isChecked(),
                             std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                             Std(locale.decimalPoint()), Std(locale.groupSeparator()));
    }
    if (outcome.Applied) {
        AfterChange();
        Selection->SetSelection(outcome.Changed);
    }
    Say(Text(PasteMessage(outcome, Image, servo, LanguageIndex, Std(locale.groupSeparator()))));
}

} // namespace zevo
