// The intro window: the first window, with the title picture, the version and "Okay".
#pragma once

#include "textfit.h"

#include <QWidget>

#include <vector>

namespace Quorvath {

class FormRegistry;

class IntroWindow final : public QWidget {
    Q_OBJECT
    // The program's first window, with a taskbar button: a frame to
    // assistive technology (windowaccessible.h).
    Q_CLASSINFO("accessibleRole", "Window")
    Q_DISABLE_COPY_MOVE(IntroWindow)
public:
    // The version line and the button caption with their boxes.
    static std::vector<DesignedText> design(Twips::Scale twips);
    static std::vector<UiFont::Text> designedTexts(Twips::Scale twips) { return fitsOf(design(twips), twips); }

    // Laid out at `twips`.
    IntroWindow(FormRegistry &forms, Twips::Scale twips, QWidget *parent = nullptr);

signals:
    // The window has agreed to close (formclose.h).
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // "Okay": the intro makes way for the main window.
    void onOkay();

    FormRegistry &m_forms;
};

} // namespace Quorvath
