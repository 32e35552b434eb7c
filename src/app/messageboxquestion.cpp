#include "messageboxquestion.h"

#include <QMessageBox>

namespace Quorvath {

bool MessageBoxQuestion::askYesNo(QWidget *parent, const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("question"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    // Application modal: while the question is open no window takes input,
    // whichever window asked.
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

} // namespace Quorvath
