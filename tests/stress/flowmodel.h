// The reference model of the window flow: what the program should show after
// any sequence of user actions, written from the design alone. It knows which
// forms exist and are loaded, the selected tab, what each list holds, the six
// value labels, the About window's animation step, what was typed into the
// terminology windows and whether the program has ended. It never looks at a
// widget; the stress test compares it with the real windows.
#pragma once

#include "forms.h"

#include <QList>
#include <QString>

#include <array>

namespace Quorvath::Stress {

inline constexpr int TabCount = 11;
inline constexpr int StepCount = 87;

struct FlowModel {
    std::array<bool, FormCount> created{};
    std::array<bool, FormCount> loaded{};
    bool ended = false;

    int tab = 0;
    std::array<QList<int>, TabCount> lists{};      // the rows each list holds
    std::array<int, TabCount> selected{};          // the selected entry, -1 for none
    std::array<QString, 7> labels{};               // lblField(1..6); [0] unused

    qint16 aboutStep = 0;
    bool webButtonsEnabled = false;                // as tested when About last loaded
    std::array<QString, FormCount> text{};         // Text1 of each open terminology window

    int questionsAsked = 0;
    QStringList pagesOpened;

    FlowModel();

    int loadedCount() const;
    bool isLoaded(FormId f) const { return loaded[size_t(f)]; }

    // The user's actions and what they do.
    void introOkay();
    void closeIntro();
    void selectTab(int t);
    void selectEntry(int index);                  // a click, or the keys moving the selection
    void clickEntry(int index);                   // a click on an entry
    // Close box or File > Quit; `yes` is the answer to the question.
    void closeMain(bool yes);
    // Shows a side window; `browserThere` matters for the About window only.
    void show(FormId f, bool browserThere, const QString &terminologyText);
    void closeSide(FormId f);
    void type(FormId f, const QString &typed);    // at the end of Text1
    void tick();
    void webButton(const QString &page);          // ignored while the buttons are disabled

    // The rows a tab lists, in order; and the catalog text of a cell.
    static QList<int> rowsOf(int tab);
    static QString cell(int row, int column);
    static QString caption(int tab);

private:
    void unload(FormId f);
};

} // namespace Quorvath::Stress
