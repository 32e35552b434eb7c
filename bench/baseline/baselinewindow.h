// The yardstick of the benchmarks: the least a Qt Widgets program can show in
// a window the size of the intro window, one label and one button.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace QiBench {

inline constexpr const char *BaselineCaption = "Quorvath Baseline";

class BaselineWindow final : public QWidget {
public:
    // `painted` runs once, right after the first paint has been handed over.
    explicit BaselineWindow(std::function<void()> painted = {})
        : m_painted(std::move(painted))
    {
        setWindowTitle(QString::fromLatin1(BaselineCaption));
        setFixedSize(288, 267);
        auto *label = new QLabel(QStringLiteral("Version " QI_BENCH_VERSION " Alpha"), this);
        label->setGeometry(96, 200, 97, 17);
        auto *button = new QPushButton(QStringLiteral("Okay"), this);
        button->setGeometry(96, 224, 97, 25);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QWidget::paintEvent(event);
        if (m_painted) {
            // Queued: the flush to the screen follows this paint event.
            QMetaObject::invokeMethod(this, std::exchange(m_painted, {}), Qt::QueuedConnection);
        }
    }

private:
    std::function<void()> m_painted;
};

} // namespace QiBench
