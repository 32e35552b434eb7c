// qi_browsebench: browsing the main window with the repaint that follows,
// on the offscreen platform (Google Benchmark).
//   LoadItems/t       the load step on tab t: the catalog written again and
//                     the tab's list rebuilt, then repaint what changed
//   ItemClick/t       select one entry as a click does, which shows its
//                     fields, then repaint
//   ItemClickHandler/t  the same without the repaint
//   BaselineLabel     the baseline window's label changes its text and repaints
//   MouseClick/t      a real mouse click on an entry: selection, handler, repaint
//   PlainLabels       the floor: six word-wrapped QLabels of the value boxes'
//                     sizes take one catalog row's six texts and repaint
// The counter `paints` is the number of repaints per iteration of the list
// (LoadItems) or of the Description label (clicks): it proves the repaint is
// in the measurement.
#include "baselinewindow.h"
#include "forms.h"
#include "itemtable.h"
#include "mainwindow.h"
#include "multirowtabwidget.h"

#include <QApplication>
#include <QTest>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

using namespace Quorvath;

namespace {

class NoForms final : public FormShower {
public:
    void show(FormId) override {}
};

class AlwaysNo final : public Question {
public:
    bool askYesNo(QWidget *, const QString &, const QString &) override { return false; }
};

class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

struct Fixture {
    Catalog catalog;
    NoForms forms;
    AlwaysNo question;
    MainWindow window{catalog, forms, question, Twips::Scale()};
    MultiRowTabWidget *tabs = window.findChild<MultiRowTabWidget *>(QStringLiteral("SSTab1"));
    PaintCounter counter;

    Fixture()
    {
        window.show();
        QCoreApplication::processEvents();
    }
    QTreeWidget *list(int tab)
    {
        return window.findChild<QTreeWidget *>(QStringLiteral("lstData(%1)").arg(tab));
    }
    // Selects the tab (which rebuilds its list) and counts the list's paints.
    // Selects the tab (which rebuilds its list) and counts the paints of
    // `watched`, by default the list.
    QTreeWidget *select(int tab, QWidget *watched = nullptr)
    {
        tabs->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        QTreeWidget *l = list(tab);
        m_watched = watched ? watched : l->viewport();
        m_watched->installEventFilter(&counter);
        counter.paints = 0;
        return l;
    }
    void report(benchmark::State &state)
    {
        m_watched->removeEventFilter(&counter);
        state.counters["paints"] = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
    }
    QWidget *description() { return window.findChild<QWidget *>(QStringLiteral("lblField(6)")); }
    // The selection is what shows an entry; a click also makes it current,
    // which scrolls, and the entries are taken beyond the visible ones.
    static void itemClick(QTreeWidget *list, int row)
    {
        list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
    }

private:
    QWidget *m_watched = nullptr;
};

Fixture *fixture = nullptr;

void LoadItems(benchmark::State &state)
{
    QTreeWidget *list = fixture->select(int(state.range(0)));
    for (auto _ : state) {
        fixture->window.loadItems();
        QCoreApplication::processEvents();
    }
    fixture->report(state);
    state.counters["entries"] = list->topLevelItemCount();
}

void ItemClick(benchmark::State &state)
{
    QTreeWidget *list = fixture->select(int(state.range(0)), fixture->description());
    int i = 0;
    for (auto _ : state) {
        Fixture::itemClick(list, i++ % list->topLevelItemCount());
        QCoreApplication::processEvents();
    }
    fixture->report(state);
}

// Without the repaint: tells the two costs apart.
void ItemClickHandler(benchmark::State &state)
{
    QTreeWidget *list = fixture->select(int(state.range(0)), fixture->description());
    int i = 0;
    for (auto _ : state)
        Fixture::itemClick(list, i++ % list->topLevelItemCount());
    QCoreApplication::processEvents();
    fixture->report(state);
}

void MouseClick(benchmark::State &state)
{
    QTreeWidget *list = fixture->select(int(state.range(0)), fixture->description());
    // The entries that are visible without scrolling, clicked in turn.
    QList<QPoint> points;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QRect r = list->visualItemRect(list->topLevelItem(i));
        if (list->viewport()->rect().contains(r))
            points << r.center();
    }
    int i = 0;
    for (auto _ : state) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, points[i++ % points.size()]);
        QCoreApplication::processEvents();
    }
    fixture->report(state);
}

// The yardstick: the baseline window's label takes a new text and repaints.
void BaselineLabel(benchmark::State &state)
{
    QiBench::BaselineWindow window;
    window.show();
    QCoreApplication::processEvents();
    auto *label = window.findChild<QLabel *>();
    const QString texts[] = {QStringLiteral("Torch"), QStringLiteral("Lamp")};
    int i = 0;
    for (auto _ : state) {
        label->setText(texts[i++ % 2]);
        QCoreApplication::processEvents();
    }
}
// The floor for showing six texts: Qt's own labels, the same boxes, font and
// texts, with nothing of ours in between.
void PlainLabels(benchmark::State &state)
{
    QWidget window;
    window.resize(fixture->window.size());
    QList<QLabel *> labels;
    for (int column = 1; column <= 6; ++column) {
        auto *value = fixture->window.findChild<QWidget *>(QStringLiteral("lblField(%1)").arg(column));
        auto *label = new QLabel(&window);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setGeometry(value->geometry());
        labels << label;
    }
    window.show();
    QCoreApplication::processEvents();
    int row = 0;
    for (auto _ : state) {
        row = row % CatalogRowCount + 1;
        for (int column = 1; column <= 6; ++column)
            labels[column - 1]->setText(catalogText(row, column));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(PlainLabels)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK(BaselineLabel)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void everyTab(benchmark::internal::Benchmark *b)
{
    for (int t = 0; t < MainWindow::TabCount; ++t)
        b->Arg(t);
    b->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(LoadItems)->Apply(everyTab);
BENCHMARK(ItemClick)->Apply(everyTab);
BENCHMARK(ItemClickHandler)->Apply(everyTab);
BENCHMARK(MouseClick)->Apply(everyTab);

} // namespace

// QI_BENCH_WHAT_PAINTS=1: lists the widgets that one item click repaints.
void whatPaints(Fixture &f)
{
    struct Lister final : QObject {
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                fprintf(stderr, "  paint %s %s %s\n", o->metaObject()->className(), qPrintable(o->objectName()),
                        qPrintable(static_cast<QPaintEvent *>(e)->rect().size().isEmpty() ? QString() :
                            QStringLiteral("%1x%2").arg(static_cast<QPaintEvent *>(e)->rect().width()).arg(static_cast<QPaintEvent *>(e)->rect().height())));
            return false;
        }
    } lister;
    QTreeWidget *list = f.select(2);
    Fixture::itemClick(list, 0);
    qApp->installEventFilter(&lister);
    fprintf(stderr, "one item click repaints:\n");
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&lister);
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture f;
    fixture = &f;
    if (qEnvironmentVariableIsSet("QI_BENCH_WHAT_PAINTS"))
        whatPaints(f);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture = nullptr;
    return 0;
}
