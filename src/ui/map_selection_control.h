#pragma once
#include <QHash>
#include <QObject>
#include <QPoint>
#include <optional>

#include "params/map_selection.h"

class QWidget;

namespace zevo {

class TEdit;

// The rectangle of cells selected on the servo page, taken from the person's clicks and keys on the
// axis and map fields; the fields keep their own text editing.
// - A click selects the cell; Shift+click extends from the focused cell (the click does not move
//   the focus); a drag selects the cells it crosses.
// - Shift+arrow keys extend from the focused cell; Ctrl+A selects every shown cell of the map (on
//   the axis line: the axis); Escape goes back to the focused cell.
// - The focus moved by Tab or Enter starts again at the cell it lands on.
// Hidden rows are never selected: they are not under the mouse, and the selection is clipped to the
// shown rows whenever it is read.
class MapSelectionControl : public QObject {
    Q_OBJECT
public:
    explicit MapSelectionControl(QWidget* page, QObject* parent = nullptr);

    // A field of the page and the cell it shows (row AxisRow for the axis line).
    void Watch(TEdit* field, int row, int column);

    // The selection as far as the page shows it; nothing while no cell of the page has been chosen.
    std::optional<MapSelection> Selection(bool tpEnabled) const;
    bool Watches(const QObject* field) const { return Cells.contains(field); }
    // Selects a rectangle (the cells a paste wrote), keeping the focus where it is.
    void SetSelection(const MapSelection& selection);
    // Back to nothing selected (another servo shown, the page left).
    void Clear();
    // More than the one cell with the focus: Enter then fills them all.
    bool HasSeveralCells(bool tpEnabled) const;

signals:
    // The selected cells changed: repaint them.
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Cell {
        int Row = 0;
        int Column = 0;
    };
    std::optional<Cell> CellUnder(const QPoint& globalPosition) const;
    QWidget* FieldOf(const Cell& cell) const;
    void SelectFocusedText();
    void Select(const Cell& anchor, const Cell& corner);

    QWidget* Page;
    QHash<const QObject*, Cell> Cells;
    std::optional<Cell> AnchorCell; // where the selection started (the focused cell)
    std::optional<Cell> Corner;     // the opposite corner, moved by drags and Shift
    bool Dragging = false;
};

} // namespace zevo
