#include "uifont.h"

#include <QtGlobal>

namespace Quorvath::UiFont {

const System ThisSystem = System::Windows;

namespace {
bool requested = false;
}

void requestFontDatabase()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    qputenv("QT_QPA_PLATFORM", "windows:fontengine=gdi");
    requested = true;
}

void withdrawFontDatabaseRequest()
{
    if (requested)
        qunsetenv("QT_QPA_PLATFORM");
    requested = false;
}

} // namespace Quorvath::UiFont
