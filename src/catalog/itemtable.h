// The item catalog as the main window holds it: a fixed table of texts, the
// number of rows in use, and the list keys that lead from a list entry back
// to its row. Plain QtCore: nothing here knows about widgets.
#pragma once

#include "catalogdata.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace Quorvath {

// Column numbers of ItemTable. Columns 1..6 map one to one onto the main
// window's detail labels (`lblField(1)`..`lblField(6)`); column 7 is the
// caption of the tab that lists the row.
enum ItemColumn : qint16 {
    Name = 1,
    UsableBy = 2,
    Effects = 3,
    Activated = 4,
    Uses = 5,
    Description = 6,
    Category = 7,
};

inline constexpr qint16 CatalogRowCount = CatalogData::RowCount;
inline constexpr qint16 LastRow = CatalogRowCount;             // rows 0..227, row 0 unused
inline constexpr qint16 LastColumn = CatalogData::FieldCount;  // columns 0..7, column 0 unused

// Rows 0..227 by columns 0..7 of strings, every cell empty at first.
// Any index outside those bounds is a program error and aborts.
class ItemTable final {
public:
    const QString &operator()(int row, int column) const;
    void set(int row, int column, const QString &text);

private:
    std::array<std::array<QString, LastColumn + 1>, LastRow + 1> m_cells{};
};

// The catalog state the main window owns: the table and the count of rows in
// use (0 before loading, 227 after).
struct Catalog {
    ItemTable table;
    qint16 rowCount = 0;
};

// The load step: writes all 227 rows into the table, then sets the count.
void loadCatalog(Catalog &catalog);

// The built-in text of one cell, row 1..227 and column 1..7.
QString catalogText(int row, int column);

// The rows, in row order, whose category is `category` among the first
// `count` rows of a table read through `text(row, column)`.
template <class Text>
QList<qint16> rowsOfCategory(const Text &text, int count, const QString &category)
{
    QList<qint16> rows;
    for (int row = 1; row <= count; ++row) {
        if (text(row, Category) == category)
            rows.append(qint16(row));
    }
    return rows;
}

// List keys: "A" followed by the row number in decimal (A1, A12, A227).
QString listKey(qint16 row);
// The row of a well-formed key for a row 1..227; nothing for anything else
// ("A0", "A012", "a1", "A 1", "A228", "", ...).
std::optional<qint16> parseListKey(QStringView key);

} // namespace Quorvath
