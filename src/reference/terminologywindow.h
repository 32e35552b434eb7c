// One window class for all nine terminology windows: the layout is shared,
// the caption, sizes and text come from the window's row of the table.
#pragma once

#include <QWidget>

class QGroupBox;
class QPlainTextEdit;

namespace Quorvath {

struct TerminologyInfo;

class TerminologyWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminologyWindow)
public:
    explicit TerminologyWindow(const TerminologyInfo &info, QWidget *parent = nullptr);

signals:
    // The window has agreed to close; it always does.
    void unloaded();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QGroupBox *Frame1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
};

} // namespace Quorvath
