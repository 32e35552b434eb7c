// The About window: credits text, the looping picture animation and two
// buttons that start the web browser on a fixed page.
//
// The window is disposable; the animation position lives in AboutState,
// which its owner keeps across closing and reopening, so a reopened window
// goes on with the step after the one shown last.
#pragma once

#include "animation.h"
#include "imagelist.h"
#include "sidewindow.h"
#include "textfit.h"
#include "ticker.h"

#include <memory>
#include <vector>

class QLabel;
class QPushButton;

namespace Quorvath {

class Browser;

struct AboutState {
    qint16 step = 0;   // the step shown last; 0 before the first tick
};

class AboutWindow final : public SideWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutWindow)
public:
    static const QString PetitionUrl;
    static const QString VelmarchUrl;

    // The text and the button captions with their boxes.
    static std::vector<DesignedText> design(Twips::Scale twips);
    static std::vector<UiFont::Text> designedTexts(Twips::Scale twips) { return fitsOf(design(twips), twips); }

    // Builds the design laid out at `twips`, enables the web buttons if
    // there is a browser and starts the animation on `ticker`. The program
    // gives a TimerTicker.
    AboutWindow(AboutState &state, Browser &browser, std::unique_ptr<Ticker> ticker, Twips::Scale twips,
                QWidget *parent = nullptr);

protected:
    void closing() override;

private:
    // The ticker's handler: the next step's picture, and its delay.
    void showNextStep();
    void createControls(Twips::Scale twips);
    void loadPictures();
    void openPage(const QString &url);
    void pageOpened(const QString &url, bool opened);
    void setWaiting(bool waiting);

    AboutState &m_state;
    Browser &m_browser;
    bool m_browserAvailable = false;
    // A web button's page is on its way: the browser has not replied yet.
    bool m_waiting = false;

    Animation::FrameArray m_pictureOfStep{};
    Animation::FrameArray m_delayOfStep{};
    ImageList m_pictures;

    QPushButton *m_velmarchButton = nullptr;
    QPushButton *m_petitionButton = nullptr;
    QPushButton *m_okayButton = nullptr;
    QLabel *m_picture = nullptr;
    std::unique_ptr<Ticker> m_ticker;
};

} // namespace Quorvath
