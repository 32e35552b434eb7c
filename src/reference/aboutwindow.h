// The About window: credits text, the looping picture animation and two
// buttons that start the web browser on a fixed page.
//
// The window is disposable; the animation position lives in AboutState,
// which its owner keeps across closing and reopening, so a reopened window
// goes on with the step after the one shown last.
#pragma once

#include "animation.h"
#include "core/ticker.h"
#include "imagelist.h"
#include "designedtext.h"
#include "sidewindow.h"

#include <memory>
#include <vector>

class QLabel;
class QPushButton;

namespace Quorvath {

class Browser;

struct AboutState {
    qint16 FramePos = 0;   // the step shown last; 0 before the first tick
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

    // Builds the design laid out at `twips`, starts `timer` as `Timer1` and
    // runs Form_Load(). The program gives a TimerTicker.
    AboutWindow(AboutState &state, Browser &browser, std::unique_ptr<Ticker> timer, Twips::Scale twips,
                QWidget *parent = nullptr);

protected:
    void closing() override;

private slots:
    void Timer1_Timer();
    void Petitionsign_Click();
    void GoVelmarch_Click();
    void Okaybutton_Click();

private:
    void Form_Load();
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

    Animation::FrameArray FrameImage{};
    Animation::FrameArray FrameDelay{};
    ImageList ImageList1;

    QPushButton *GoVelmarch = nullptr;
    QPushButton *Petitionsign = nullptr;
    QPushButton *Okaybutton = nullptr;
    QLabel *Image1 = nullptr;
    std::unique_ptr<Ticker> Timer1;
};

} // namespace Quorvath
