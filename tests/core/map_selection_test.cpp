#include "params/map_selection.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zevo {
namespace {

TEST(MapSelection, SpanningNormalisesAnyTwoCorners) {
    struct Row {
        int rowA, colA, rowB, colB;
        MapSelection expected;
    };
    const Row rows[] = {
        {1, 2, 3, 5, {1, 2, 3, 5}},
        {3, 5, 1, 2, {1, 2, 3, 5}},                           // dragged up and to the left
        {4, 0, 4, 0, {4, 0, 4, 0}},                           // one cell
        {AxisRow, 14, AxisRow, 0, {AxisRow, 0, AxisRow, 14}}, // the axis alone
        {AxisRow, 3, 4, 7, {0, 3, 4, 7}},                     // from the axis into the map: map rows only
        {4, 7, AxisRow, 3, {0, 3, 4, 7}},
        {-5, -3, 20, 40, {0, 0, 9, 14}},               // dragged beyond every edge
        {-3, 2, AxisRow, 2, {AxisRow, 2, AxisRow, 2}}, // above the axis is the axis
    };
    for (const Row& row : rows) {
        const MapSelection s = MapSelection::Spanning(row.rowA, row.colA, row.rowB, row.colB);
        EXPECT_EQ(s, row.expected) << row.rowA << "," << row.colA << " " << row.rowB << "," << row.colB;
        EXPECT_FALSE(s.IsEmpty());
    }
}

TEST(MapSelection, ClipToShownKeepsOnlyShownCells) {
    struct Row {
        MapSelection given;
        bool tpEnabled;
        MapSelection expected;
    };
    const Row rows[] = {
        {{0, 0, 9, 14}, false, {0, 0, 0, 14}}, // TP Enable off: row 0 only
        {{0, 0, 9, 14}, true, {0, 0, 9, 14}},
        {{2, 3, 5, 6}, false, MapSelection::Empty()}, // hidden rows only
        {{AxisRow, 0, AxisRow, 14}, false, {AxisRow, 0, AxisRow, 14}},
        {{AxisRow, 0, 3, 4}, false, {0, 0, 0, 4}},
        {{-4, -2, 20, 30}, true, {0, 0, 9, 14}},
        {{3, 15, 4, 20}, true, MapSelection::Empty()}, // off the page: dropped, not moved onto it
        {{12, 0, 14, 3}, true, MapSelection::Empty()},
        {{5, 5, 2, 2}, true, MapSelection::Empty()}, // corners in the wrong order are empty
        {MapSelection::Empty(), true, MapSelection::Empty()},
    };
    for (const Row& row : rows) {
        const MapSelection s = ClipToShown(row.given, row.tpEnabled);
        EXPECT_EQ(s, row.expected) << row.given.Row0 << "," << row.given.Col0 << " " << row.given.Row1 << ","
                                   << row.given.Col1 << " tp " << row.tpEnabled;
    }
}

TEST(MapSelection, SizesAndIteration) {
    const MapSelection block{2, 3, 4, 4};
    EXPECT_EQ(block.Rows(), 3);
    EXPECT_EQ(block.Columns(), 2);
    EXPECT_EQ(block.Cells(), 6);
    EXPECT_FALSE(block.IsAxis());
    std::vector<std::pair<int, int>> visited;
    block.ForEachCell([&](int r, int c) { visited.emplace_back(r, c); });
    const std::vector<std::pair<int, int>> expected = {{2, 3}, {2, 4}, {3, 3}, {3, 4}, {4, 3}, {4, 4}};
    EXPECT_EQ(visited, expected);
    EXPECT_TRUE(block.Contains(3, 4));
    EXPECT_FALSE(block.Contains(3, 5));
    EXPECT_FALSE(block.Contains(1, 3));

    const MapSelection none = MapSelection::Empty();
    EXPECT_EQ(none.Cells(), 0);
    EXPECT_FALSE(none.IsAxis());
    int calls = 0;
    none.ForEachCell([&](int, int) { ++calls; });
    EXPECT_EQ(calls, 0);

    EXPECT_TRUE(MapSelection::WholeAxis().IsAxis());
    EXPECT_EQ(MapSelection::WholeAxis().Cells(), 15);
    EXPECT_EQ(MapSelection::WholeMap(false).Cells(), 15);
    EXPECT_EQ(MapSelection::WholeMap(true).Cells(), 150);
}

} // namespace
} // namespace zevo
