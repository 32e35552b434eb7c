// One window class for all nine terminology windows: the layout is shared,
// the caption, sizes and text come from the window's row of the table.
#pragma once

#include "sidewindow.h"
#include "textfit.h"

#include <vector>

class QPlainTextEdit;

namespace Quorvath {

struct TerminologyInfo;

class TerminologyWindow final : public SideWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminologyWindow)
public:
    // The frame's caption and the text of one window, with their boxes.
    static std::vector<DesignedText> design(const TerminologyInfo &info, Twips::Scale twips);
    // The texts of all nine, for the choice of the program's font.
    static std::vector<UiFont::Text> designedTexts(Twips::Scale twips);

    // Laid out at `twips`.
    TerminologyWindow(const TerminologyInfo &info, Twips::Scale twips, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *m_explanation = nullptr;
};

} // namespace Quorvath
