#include "itemtable.h"

#include "cataloglog.h"

#include <QtGlobal>

namespace Quorvath {

namespace {

// The readers build their indices from 1..rowCount and from list keys, so a
// cell outside the table means a broken caller; stop rather than guess.
void checkCell(int row, int column, const char *what)
{
    if (row < 0 || row > LastRow || column < 0 || column > LastColumn)
        qFatal("ItemTable: %s of cell (%d, %d), outside rows 0..%d and columns 0..%d",
               what, row, column, int(LastRow), int(LastColumn));
}

} // namespace

const QString &ItemTable::operator()(int row, int column) const
{
    checkCell(row, column, "read");
    return m_cells[row][column];
}

void ItemTable::set(int row, int column, const QString &text)
{
    checkCell(row, column, "write");
    m_cells[row][column] = text;
}

QString catalogText(int row, int column)
{
    if (row < 1 || row > CatalogRowCount || column < Name || column > Category)
        qFatal("catalogText: no catalog cell (%d, %d)", row, column);
    const std::u16string_view text = CatalogData::texts[row - 1][column - 1];
    // The literals live as long as the program: share them instead of copying.
    return QString::fromRawData(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size()));
}

void loadCatalog(Catalog &catalog)
{
    for (int row = 1; row <= CatalogRowCount; ++row)
        for (int column = Name; column <= Category; ++column)
            catalog.table.set(row, column, catalogText(row, column));
    // Only a complete table is announced as in use.
    catalog.rowCount = CatalogRowCount;
    qCDebug(lcCatalog, "%d rows loaded, %lld of them in no category and on no tab",
            int(CatalogRowCount), static_cast<long long>(rowsOfCategory(catalogText, CatalogRowCount, QString()).size()));
}

QString listKey(qint16 row)
{
    if (row < 1 || row > CatalogRowCount)
        qFatal("listKey: row %d is not a catalog row", int(row));
    return QLatin1Char('A') + QString::number(row);
}

std::optional<qint16> parseListKey(QStringView key)
{
    // "A" and one to three ASCII digits without a leading zero; QChar::isDigit
    // would also let other scripts' digits through.
    if (key.size() < 2 || key.size() > 4 || key.front() != u'A' || key[1] == u'0')
        return std::nullopt;
    int row = 0;
    for (QChar c : key.sliced(1)) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        row = row * 10 + (c.unicode() - u'0');
    }
    if (row < 1 || row > CatalogRowCount)
        return std::nullopt;
    return qint16(row);
}

} // namespace Quorvath
