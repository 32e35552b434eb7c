#include "sidewindow.h"

#include "formclose.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace Quorvath {

SideWindow::SideWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
}

void SideWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        keepOffTaskbar();
    QWidget::showEvent(event);
}

void SideWindow::closeEvent(QCloseEvent *event)
{
    closing();
    closeForm(*this, event);
}

} // namespace Quorvath
