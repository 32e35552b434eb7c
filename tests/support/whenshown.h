// Answering a modal dialog or a popup menu from inside the event loop that
// waits for it.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace Quorvath::Testing {

// Once a modal dialog or popup of type T is up, hands it to `act`, which
// checks it (QCOMPARE, QVERIFY) and answers it. A check that fails returns
// from `act` with the window still up and its exec() waiting for an answer
// nobody gives: the window is closed here, so that exec() returns and the
// test fails at once instead of at its time limit. Call it before what
// brings the window up; nothing is done if none comes within `ms`.
template <typename T>
void whenShown(std::function<void(T *)> act, int ms = 5000)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act), deadline = QDeadlineTimer(ms)] {
        QPointer<T> shown = qobject_cast<T *>(QApplication::activePopupWidget());
        if (!shown)
            shown = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!shown && !deadline.hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        if (!shown)
            return;
        act(shown);
        if (QTest::currentTestFailed() && shown && shown->isVisible()) {
            if (auto *dialog = qobject_cast<QDialog *>(shown.data()))
                dialog->done(QDialog::Rejected);
            else
                shown->close();
        }
    });
    poll->start();
}

} // namespace Quorvath::Testing
