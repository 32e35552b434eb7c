#include "uifont.h"

#include "fontlog.h"
#include "wrappedtext.h"

#include <QByteArrayList>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QStringList>

#include <algorithm>

namespace Quorvath::UiFont {

namespace {

QStringList textLines(const QString &text)
{
    QStringList lines = text.split(QLatin1String("\r\n"));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();   // the break that ends the text opens no line of its own
    return lines;
}

bool breaksLines(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator
        || c == QChar::ParagraphSeparator;
}

// Measures texts in one font as the controls draw them. Shaping a text is
// what measuring costs, and most texts are far narrower than their boxes:
// those are told apart by the sum of their characters' advances, each
// looked up once. Shaping moves glyphs by their kerning and rounds their
// positions; over any text of the catalog in any face installed here that
// made a line at most 1.3 pixels wider than the sum (docs/fonts.md). A text
// whose sum is short of the box by more than an average character is
// narrower than the box; nearer, and wider, it is shaped.
class Measure {
public:
    explicit Measure(const QFont &font)
        : m_font(font), m_metrics(font), m_advance(font), m_slack(m_advance.averageCharWidth())
    {
    }

    bool fits(const Text &t)
    {
        switch (t.fit) {
        case Fit::OneLine:
            // A caption may fill its box to the last pixel.
            return narrower(t.text, t.box.width() + 1) && m_metrics.height() <= t.box.height();
        case Fit::Wrapped: {
            // Laid out as a value label draws it; most texts take one line,
            // and need no laying out to show it.
            const QSize needed = narrower(t.text, t.box.width())
                                     ? QSize(0, m_metrics.height())
                                     : WrappedText::size(m_font, t.text, t.box.width());
            return needed.width() <= t.box.width() && needed.height() <= t.box.height();
        }
        case Fit::Lines:
        case Fit::LinesAndHeight: {
            const QStringList lines = textLines(t.text);
            // Every line but the last ends where the text breaks it; the last
            // may wrap in a box without a height of its own.
            for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
                if (!narrower(withoutTrailingBlanks(lines.at(i)), t.box.width()))
                    return false;
            }
            if (t.fit == Fit::Lines)
                return true;
            int rows = 0;
            for (const QString &line : lines) {
                const QString shown = withoutTrailingBlanks(line);
                if (narrower(shown, t.box.width())) {
                    ++rows;
                    continue;
                }
                // Wrapped as the text box wraps it, in lines of the same layout.
                const QSize wrapped = WrappedText::size(m_font, line, t.box.width());
                rows += std::max(1, (wrapped.height() - m_metrics.height()) / m_metrics.lineSpacing() + 1);
            }
            return rows * m_metrics.lineSpacing() <= t.box.height();
        }
        }
        return false;
    }

private:
    // Blanks at the end of a text line hang in the margin and never wrap it.
    static QString withoutTrailingBlanks(const QString &line)
    {
        qsizetype end = line.size();
        while (end > 0 && line.at(end - 1) == QLatin1Char(' '))
            --end;
        return line.left(end);
    }

    // Whether `text` takes less than `width` on one line.
    bool narrower(const QString &text, int width)
    {
        qreal sum = 0;
        for (const QChar c : text) {
            if (breaksLines(c))
                return false;
            auto advance = m_advances.constFind(c);
            if (advance == m_advances.constEnd())
                advance = m_advances.insert(c, m_advance.horizontalAdvance(c));
            sum += *advance;
        }
        if (sum + m_slack < width)
            return true;
        // A width that rounds to less than the box's is less than the
        // box's unrounded too.
        return m_metrics.horizontalAdvance(text) < width;
    }

    const QFont m_font;
    const QFontMetrics m_metrics;
    const QFontMetricsF m_advance;   // unrounded, to be summed
    const qreal m_slack;
    QHash<QChar, qreal> m_advances;
};

bool allFit(const QFont &font, const std::vector<Text> &texts)
{
    Measure measure(font);
    return std::all_of(texts.begin(), texts.end(), [&measure](const Text &t) { return measure.fits(t); });
}

// "DejaVu Sans Condensed 8.25 pt, stretch 82", for the log.
QByteArray describe(const QFont &font)
{
    return QStringLiteral("%1 %2 pt, stretch %3")
        .arg(font.family())
        .arg(font.pointSizeF())
        .arg(font.stretch() == QFont::AnyStretch ? QFont::Unstretched : font.stretch())
        .toUtf8();
}

} // namespace

bool fits(const QFont &font, const Text &text)
{
    return Measure(font).fits(text);
}

QList<QFont> designFaces(System system)
{
    if (system == System::Windows) {
        // The face and size the windows were designed with, which every
        // Windows has. It is a bitmap face, and Qt files its strikes by cell
        // height but asks GDI for character height: 8.25 pt comes out as the
        // 10-point strike, too large for the design's boxes, so the fit
        // passes it over (see docs/fonts.md).
        QFont bitmap(QStringLiteral("MS Sans Serif"));
        bitmap.setPointSizeF(8.25);
        // Its TrueType twin, drawn to its metrics, which every Windows since
        // 2000 has and Windows Forms dialogs use at this size: an outline
        // face, which Qt asks GDI for at the size it means.
        QFont trueType(QStringLiteral("Microsoft Sans Serif"));
        trueType.setPointSizeF(8.25);
        return {bitmap, trueType};
    }
    // Linux desktops default to faces that run a tenth to a fifth wider than
    // the design's. DejaVu Sans Condensed has the design's height and line
    // spacing (13 px at 8.25 points) and comes closest to its widths; the
    // design's longest captions ("Effect(s) of Equipping:" in 105 px) still
    // need it 6% narrower. Qt scales a face by the requested stretch over the
    // face's own (87 for this one), so 82 it is. Naming the family also
    // keeps the locale's choice of sans-serif face (a CJK face with taller
    // lines, say) out of boxes measured for 13-pixel lines.
    QFont condensed(QStringLiteral("DejaVu Sans Condensed"));
    condensed.setPointSizeF(8.25);
    condensed.setStretch(82);
    return {condensed};
}

QFont preferredFont()
{
    return designFaces(ThisSystem).first();
}

int narrowestStretch(System system)
{
    return system == System::Windows ? QFont::Unstretched : 90;
}

QList<QFont> candidates(System system, const std::function<bool(const QFont &)> &offered,
                        const QString &systemFamily)
{
    QList<QFont> faces;
    for (const QFont &face : designFaces(system)) {
        if (offered(face))
            faces.append(face);
        else
            qCDebug(lcFont, "%s is not installed at that size", describe(face).constData());
    }
    // The face the system's own dialogs use, at the design's size.
    QFont font(systemFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    for (int stretch = QFont::Unstretched; stretch >= narrowestStretch(system); stretch -= 5) {
        font.setStretch(stretch);
        faces.append(font);
    }
    return faces;
}

Choice choose(const QList<QFont> &faces, const DesignedTexts &texts)
{
    const std::vector<Text> designed = texts(Twips::Scale());
    for (const QFont &face : faces) {
        if (allFit(face, designed)) {
            qCDebug(lcFont, "%s fits every text as designed", describe(face).constData());
            return {face, Twips::Scale()};
        }
        qCDebug(lcFont, "%s does not fit every text as designed", describe(face).constData());
    }
    // Larger boxes, in steps of a twentieth, up to three times the design.
    const QFont &narrowest = faces.last();
    Twips::Scale twips;
    bool fitted = false;
    for (int step = 21; step <= 60 && !fitted; ++step) {
        twips = Twips::Scale(step / 20.0);
        fitted = allFit(narrowest, texts(twips));
    }
    qCWarning(lcFont, "no face fits the windows' texts as designed; the layout grows %.2f times "
                         "for %s%s", twips.factor(), describe(narrowest).constData(),
              fitted ? "" : ", and some texts still do not fit");
    return {narrowest, twips};
}

bool offered(const QFont &face)
{
    const QString family = face.family();
    if (!QFontDatabase::hasFamily(family))
        return false;
    if (QFontDatabase::isScalable(family))
        return true;
    // A bitmap face without a strike of the size is drawn in another one.
    // Measuring it would tell as much, at the cost of Qt's search of every
    // installed family for a better match (200 ms at start under Wine).
    return QFontDatabase::pointSizes(family).contains(qRound(face.pointSizeF()));
}

Choice choose(const DesignedTexts &texts)
{
    const Choice choice =
        choose(candidates(ThisSystem, offered,
                          QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()),
               texts);
    const QList<QFont> designed = designFaces(ThisSystem);
    if (!designed.contains(choice.font)) {
        QByteArrayList faces;
        for (const QFont &face : designed)
            faces.append(describe(face));
        qCWarning(lcFont, "the windows are drawn in %s: of the faces they were designed for (%s), "
                             "none is installed or fits", describe(choice.font).constData(),
                  faces.join("; ").constData());
    }
    return choice;
}

} // namespace Quorvath::UiFont
