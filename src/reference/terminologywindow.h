// One window class for all nine terminology windows: the layout is shared,
// the caption, sizes and text come from the window's row of the table.
#pragma once

#include "uifont.h"

#include <QWidget>

#include <vector>

class QPlainTextEdit;

namespace Quorvath {

class ClassicFrame;
struct TerminologyInfo;

class TerminologyWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminologyWindow)
public:
    // The nine texts and their boxes, for the choice of the program's font.
    static std::vector<UiFont::Text> designedTexts();

    explicit TerminologyWindow(const TerminologyInfo &info, QWidget *parent = nullptr);

signals:
    // The window has agreed to close; it always does.
    void unloaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    ClassicFrame *Frame1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
};

} // namespace Quorvath
