// Who the program is: its titles and version, shared by the windows, the
// version resource and the desktop files.
#pragma once

#include <QString>

namespace Quorvath::Identity {
inline const QString Title = QStringLiteral("Quorvath Itemlist For Windows");
inline const QString Version = QStringLiteral("1.0.1");
inline const QString CompanyName = QStringLiteral("Emberlight Hollow Software");
} // namespace Quorvath::Identity
