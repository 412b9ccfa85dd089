#include "ui/map_selection_control.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "ui/up_down.h"

namespace zevo {

MapSelectionControl::MapSelectionControl(QWidget* page, QObject* parent) : QObject(parent), Page(page) {}

void MapSelectionControl::Watch(TEdit* field, int row, int column) {
    Cells.insert(field, Cell{row, column});
    field->installEventFilter(this);
}

std::optional<MapSelection> MapSelectionControl::Selection(bool tpEnabled) const {
    if (!AnchorCell || !Corner)
        return std::nullopt;
    const MapSelection clipped = ClipToShown(
        MapSelection::Spanning(AnchorCell->Row, AnchorCell->Column, Corner->Row, Corner->Column), tpEnabled);
    if (clipped.IsEmpty())
        return std::nullopt;
    return clipped;
}

bool MapSelectionControl::HasSeveralCells(bool tpEnabled) const {
    const auto selection = Selection(tpEnabled);
    return selection && selection->Cells() > 1;
}

void MapSelectionControl::SetSelection(const MapSelection& selection) {
    if (selection.IsEmpty())
        return;
    Select(Cell{selection.Row0, selection.Col0}, Cell{selection.Row1, selection.Col1});
}

void MapSelectionControl::Clear() {
    const bool had = AnchorCell.has_value();
    AnchorCell.reset();
    Corner.reset();
    Dragging = false;
    if (had)
        emit Changed();
}

void MapSelectionControl::Select(const Cell& anchor, const Cell& corner) {
    const bool same = AnchorCell && Corner && AnchorCell->Row == anchor.Row &&
                      AnchorCell->Column == anchor.Column && Corner->Row == corner.Row &&
                      Corner->Column == corner.Column;
    AnchorCell = anchor;
    Corner = corner;
    if (!same)
        emit Changed();
}

std::optional<MapSelectionControl::Cell> MapSelectionControl::CellUnder(const QPoint& globalPosition) const {
    QWidget* under = Page->childAt(Page->mapFromGlobal(globalPosition));
    // A spinner's arrows stand for the field beside them.
    for (QWidget* w = under; w && w != Page; w = w->parentWidget()) {
        if (const auto* spinner = qobject_cast<TUpDown*>(w))
            under = spinner->Associate();
        const auto found = Cells.constFind(under);
        if (found != Cells.constEnd() && under->isVisible())
            return *found;
    }
    return std::nullopt;
}

void MapSelectionControl::SelectFocusedText() {
    // With several cells selected, what is typed next is a value for all of them: it replaces the
    // focused field's whole text. After the event at hand, which may still move the text cursor.
    QTimer::singleShot(0, this, [] {
        if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
            field->selectAll();
    });
}

QWidget* MapSelectionControl::FieldOf(const Cell& cell) const {
    for (auto it = Cells.constBegin(); it != Cells.constEnd(); ++it)
        if (it->Row == cell.Row && it->Column == cell.Column)
            return qobject_cast<QWidget*>(const_cast<QObject*>(it.key()));
    return nullptr;
}

bool MapSelectionControl::eventFilter(QObject* watched, QEvent* event) {
    const auto here = Cells.constFind(watched);
    if (here == Cells.constEnd())
        return QObject::eventFilter(watched, event);
    const Cell cell = *here;
    switch (event->type()) {
    case QEvent::MouseButtonDblClick: // its own press came first, but it also chooses its cell
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        if (mouse->modifiers() & Qt::ShiftModifier) {
            // Extends from the cell that had the focus; the toolkit has moved the focus to the cell
            // clicked before this press arrives, so it goes back to the first one.
            const Cell from = AnchorCell ? *AnchorCell : cell;
            Select(from, cell);
            if (QWidget* anchorField = FieldOf(from))
                anchorField->setFocus(Qt::OtherFocusReason);
            SelectFocusedText();
            return true;
        }
        Select(cell, cell);
        Dragging = true;
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!Dragging || !(mouse->buttons() & Qt::LeftButton) || !AnchorCell)
            break;
        if (const auto over = CellUnder(mouse->globalPosition().toPoint()))
            Select(*AnchorCell, *over);
        break;
    }
    case QEvent::MouseButtonRelease:
        if (Dragging && AnchorCell && Corner &&
            (AnchorCell->Row != Corner->Row || AnchorCell->Column != Corner->Column))
            SelectFocusedText(); // the drag selected part of the first field's text along the way
        Dragging = false;
        break;
    case QEvent::FocusIn: {
        // A click chooses its cell on the press; Tab and Enter start again where they land.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason)
            Select(cell, cell);
        break;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::ShiftModifier) {
            int dr = 0, dc = 0;
            switch (key->key()) {
            case Qt::Key_Left:
                dc = -1;
                break;
            case Qt::Key_Right:
                dc = +1;
                break;
            case Qt::Key_Up:
                dr = -1;
                break;
            case Qt::Key_Down:
                dr = +1;
                break;
            default:
                break;
            }
            if (dr == 0 && dc == 0)
                break;
            const Cell anchor = AnchorCell ? *AnchorCell : cell;
            const Cell from = Corner ? *Corner : cell;
            // The axis line and the map are never mixed: Shift+Up from row 0 stops there.
            const int lowest = anchor.Row == AxisRow ? AxisRow : 0;
            const int highest = anchor.Row == AxisRow ? AxisRow : MapRows - 1;
            const Cell to{std::clamp(from.Row + dr, lowest, highest),
                          std::clamp(from.Column + dc, 0, MapColumns - 1)};
            Select(anchor, to);
            SelectFocusedText();
            return true; // neither the field's text selection nor the spinner's step
        }
        if (mods == Qt::ControlModifier && key->key() == Qt::Key_A) {
            // Hidden rows drop out when the selection is read. The focus stays in its field; Escape
            // comes back to it.
            const MapSelection all =
                cell.Row == AxisRow ? MapSelection::WholeAxis() : MapSelection::WholeMap(true);
            Select(Cell{all.Row0, all.Col0}, Cell{all.Row1, all.Col1});
            SelectFocusedText();
            return true;
        }
        if (mods == Qt::NoModifier && key->key() == Qt::Key_Escape && AnchorCell && Corner &&
            (AnchorCell->Row != Corner->Row || AnchorCell->Column != Corner->Column ||
             AnchorCell->Row != cell.Row || AnchorCell->Column != cell.Column)) {
            Select(cell, cell);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zevo
