// The catalog texts as compiled from items.tsv by qi_catalog_gen: constant
// UTF-16 literals, so loading wraps them without copying.
#pragma once

#include <string_view>

namespace Quorvath::CatalogData {

inline constexpr int RowCount = 227;
inline constexpr int FieldCount = 7;   // Name .. Category, in column order

// texts[row - 1][column - 1]
extern const std::u16string_view texts[RowCount][FieldCount];

} // namespace Quorvath::CatalogData
