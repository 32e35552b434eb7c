#include "flowmodel.h"

#include "itemtable.h"

namespace Quorvath::Stress {

namespace {
const char *const Captions[TabCount] = {
    "Armor", "Figurines", "Gloves", "Helms", "Misc. Items", "Rings",
    "Shields", "Weapons", "Instruments", "Quivers", "Containers/Fluids",
};
} // namespace

FlowModel::FlowModel()
{
    selected.fill(-1);
    // The program starts on the intro window.
    created[size_t(FormId::Intro)] = loaded[size_t(FormId::Intro)] = true;
}

QString FlowModel::caption(int tab) { return QString::fromLatin1(Captions[tab]); }
QString FlowModel::cell(int row, int column) { return catalogText(row, column); }

QList<int> FlowModel::rowsOf(int tab)
{
    static std::array<QList<int>, TabCount> rows = [] {
        std::array<QList<int>, TabCount> r;
        for (int t = 0; t < TabCount; ++t)
            for (int row = 1; row <= 227; ++row)
                if (cell(row, ItemColumn::Category) == caption(t))
                    r[t] << row;
        return r;
    }();
    return rows[tab];
}

int FlowModel::loadedCount() const
{
    return int(std::count(loaded.begin(), loaded.end(), true));
}

void FlowModel::unload(FormId f)
{
    loaded[size_t(f)] = false;
    text[size_t(f)].clear();
    // The program ends once no window is loaded any more.
    if (loadedCount() == 0)
        ended = true;
}

void FlowModel::introOkay()
{
    loaded[size_t(FormId::Intro)] = false;   // no end in between: the handler goes on
    created[size_t(FormId::Main)] = loaded[size_t(FormId::Main)] = true;
    tab = 0;
    lists = {};
    selected.fill(-1);
    lists[0] = rowsOf(0);
    labels = {};
}

void FlowModel::closeIntro() { unload(FormId::Intro); }

void FlowModel::selectTab(int t)
{
    if (t == tab)
        return;   // selecting the selected tab is no click
    tab = t;
    lists[t] = rowsOf(t);
    selected[t] = -1;
    labels = {};
}

void FlowModel::selectEntry(int index)
{
    if (selected[tab] == index)
        return;   // the selection did not change: nothing happens
    clickEntry(index);
}

void FlowModel::clickEntry(int index)
{
    selected[tab] = index;
    const int row = lists[tab].at(index);
    for (int c = 1; c <= 6; ++c)
        labels[c] = cell(row, c);
}

void FlowModel::closeMain(bool yes)
{
    ++questionsAsked;
    if (yes)
        unload(FormId::Main);
}

void FlowModel::show(FormId f, bool browserThere, const QString &terminologyText)
{
    created[size_t(f)] = true;
    if (loaded[size_t(f)])
        return;   // only brought to the front
    loaded[size_t(f)] = true;
    if (f == FormId::About)
        webButtonsEnabled = browserThere;
    else
        text[size_t(f)] = terminologyText;
}

void FlowModel::closeSide(FormId f) { unload(f); }

void FlowModel::type(FormId f, const QString &typed) { text[size_t(f)] += typed; }

void FlowModel::tick() { aboutStep = aboutStep >= StepCount ? 1 : qint16(aboutStep + 1); }

void FlowModel::webButton(const QString &page)
{
    if (!webButtonsEnabled)
        return;
    pagesOpened << page;
    unload(FormId::About);
}

} // namespace Quorvath::Stress
