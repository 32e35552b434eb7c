// The font fit on its own: hand-made boxes at the edge of each kind of fit,
// the order in which the faces are tried, and the choice among them.
#include "uifont.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>

using namespace Quorvath;
using UiFont::Fit;

Q_DECLARE_METATYPE(Quorvath::UiFont::Fit)
Q_DECLARE_METATYPE(Quorvath::UiFont::System)

namespace {

QFont face(double points)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    return font;
}

QString describe(const QFont &font)
{
    return QStringLiteral("%1 %2 %3").arg(font.family()).arg(font.pointSizeF()).arg(font.stretch());
}

// A caption a face takes more room for the larger it is, in a box of
// `width` pixels at the design's scale and room for three lines.
UiFont::DesignedTexts oneCaption(int width)
{
    return [width](Twips::Scale twips) {
        return std::vector<UiFont::Text>{{QStringLiteral("Effect(s) of Equipping:"),
                                          twips.size(width * Twips::PerPixel, 45 * Twips::PerPixel), Fit::OneLine}};
    };
}

} // namespace

class TestUiFont : public QObject {
    Q_OBJECT
private slots:
    // A box as wide as `widthOf` takes in the face, plus `dw`, and `lines`
    // lines high, plus `dh`.
    void fits_data()
    {
        QTest::addColumn<Fit>("fit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("widthOf");
        QTest::addColumn<int>("dw");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("dh");
        QTest::addColumn<bool>("fits");
        const QString caption = QStringLiteral("Effect(s) of Equipping:");
        QTest::newRow("wrapped: one line, exactly") << Fit::Wrapped << "Item Name:" << "Item Name:" << 0 << 1 << 0 << true;
        QTest::newRow("wrapped: one line, a pixel too low") << Fit::Wrapped << "Item Name:" << "Item Name:" << 0 << 1 << -1 << false;
        QTest::newRow("wrapped: a pixel too narrow for one line") << Fit::Wrapped << "Item Name:" << "Item Name:" << -1 << 1 << 0 << false;
        // Widths are rounded: a pixel more keeps the first line whole.
        QTest::newRow("wrapped: two lines") << Fit::Wrapped << caption << "Effect(s) of" << 1 << 2 << 0 << true;
        QTest::newRow("wrapped: two lines, a pixel too low") << Fit::Wrapped << caption << "Effect(s) of" << 1 << 2 << -1 << false;
        QTest::newRow("wrapped: short in a wide box") << Fit::Wrapped << "Okay" << "Okay" << 300 << 1 << 0 << true;
        QTest::newRow("wrapped: short in a wide box, a pixel too low") << Fit::Wrapped << "Okay" << "Okay" << 300 << 1 << -1 << false;
        QTest::newRow("wrapped: a word wider than the box") << Fit::Wrapped << "Equipping:" << "Equipping:" << -1 << 3 << 0 << false;
        QTest::newRow("one line: exactly") << Fit::OneLine << "Okay" << "Okay" << 0 << 1 << 0 << true;
        QTest::newRow("one line: a pixel too narrow") << Fit::OneLine << "Okay" << "Okay" << -1 << 1 << 0 << false;
        QTest::newRow("one line: a pixel too low") << Fit::OneLine << "Okay" << "Okay" << 0 << 1 << -1 << false;
        QTest::newRow("one line: never wraps") << Fit::OneLine << caption << "Effect(s) of" << 0 << 3 << 0 << false;
        // A text box keeps a pixel beside its longest line.
        const QString about = QStringLiteral("Itemlist for Windows\r\nQuorvath\r\n");
        QTest::newRow("lines: every line inside") << Fit::Lines << about << "Itemlist for Windows" << 1 << 0 << 0 << true;
        QTest::newRow("lines: a line as wide as the box") << Fit::Lines << about << "Itemlist for Windows" << 0 << 0 << 0 << false;
        QTest::newRow("lines: blanks at a line's end hang") << Fit::Lines << "Itemlist for Windows   \r\nQuorvath\r\n"
                                                            << "Itemlist for Windows" << 1 << 0 << 0 << true;
        QTest::newRow("lines: the last line may wrap") << Fit::Lines << "Quorvath\r\nItemlist for Windows" << "Quorvath"
                                                       << 1 << 0 << 0 << true;
        const QString terms = QStringLiteral("for Windows\r\nQuorvath\r\nItemlist\r\n");
        QTest::newRow("lines and height: all in view") << Fit::LinesAndHeight << terms << "for Windows" << 1 << 3 << 0 << true;
        QTest::newRow("lines and height: a pixel too low") << Fit::LinesAndHeight << terms << "for Windows" << 1 << 3 << -1 << false;
        QTest::newRow("lines and height: a line as wide as the box") << Fit::LinesAndHeight << terms << "for Windows" << 0 << 3 << 0 << false;
        const QString wraps = QStringLiteral("Quorvath\r\nItemlist for Windows");
        QTest::newRow("lines and height: the last line wraps, in view") << Fit::LinesAndHeight << wraps << "Itemlist for" << 1 << 3 << 0 << true;
        QTest::newRow("lines and height: the last line wraps out of view") << Fit::LinesAndHeight << wraps << "Itemlist for" << 1 << 2 << 0 << false;
    }
    void fits()
    {
        QFETCH(Fit, fit);
        QFETCH(QString, text);
        QFETCH(QString, widthOf);
        QFETCH(int, dw);
        QFETCH(int, lines);
        QFETCH(int, dh);
        const QFont font = face(8.25);
        const QFontMetrics metrics(font);
        const QSize box(metrics.horizontalAdvance(widthOf) + dw, lines * metrics.lineSpacing() + dh);
        QTEST(UiFont::fits(font, {text, box, fit}), "fits");
    }

    // The design's faces where the system has them, best first, then the
    // system's own face, narrowed as far as the system draws it cleanly.
    void candidates_data()
    {
        QTest::addColumn<UiFont::System>("system");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("faces");
        const QStringList windowsFaces{"MS Sans Serif", "Microsoft Sans Serif"};
        QTest::newRow("Windows: both design faces") << UiFont::System::Windows << windowsFaces
            << QStringList{"MS Sans Serif 8.25 0", "Microsoft Sans Serif 8.25 0", "Tahoma 8.25 100"};
        QTest::newRow("Windows: MS Sans Serif only") << UiFont::System::Windows << QStringList{"MS Sans Serif"}
            << QStringList{"MS Sans Serif 8.25 0", "Tahoma 8.25 100"};
        QTest::newRow("Windows: the TrueType one only") << UiFont::System::Windows << QStringList{"Microsoft Sans Serif"}
            << QStringList{"Microsoft Sans Serif 8.25 0", "Tahoma 8.25 100"};
        QTest::newRow("Windows: neither") << UiFont::System::Windows << QStringList{} << QStringList{"Tahoma 8.25 100"};
        QTest::newRow("Linux: DejaVu Sans Condensed") << UiFont::System::Linux << QStringList{"DejaVu Sans Condensed"}
            << QStringList{"DejaVu Sans Condensed 8.25 82", "Tahoma 8.25 100", "Tahoma 8.25 95", "Tahoma 8.25 90"};
        QTest::newRow("Linux: without it") << UiFont::System::Linux << windowsFaces
            << QStringList{"Tahoma 8.25 100", "Tahoma 8.25 95", "Tahoma 8.25 90"};
    }
    void candidates()
    {
        QFETCH(UiFont::System, system);
        QFETCH(QStringList, installed);
        QStringList faces;
        const auto has = [&installed](const QFont &face) { return installed.contains(face.family()); };
        for (const QFont &font : UiFont::candidates(system, has, QStringLiteral("Tahoma")))
            faces.append(describe(font));
        QTEST(faces, "faces");
    }

    // A face is offered where it is installed at the size asked for: a
    // scalable one at any size, a bitmap one (here an 11-pixel strike, the
    // design's 8.25 points at 96 dpi) only at its strike's.
    void offered_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("offered");
        QTest::newRow("scalable") << "DejaVu Sans" << 8.25 << true;
        QTest::newRow("scalable, another size") << "DejaVu Sans" << 10.0 << true;
        QTest::newRow("not installed") << "No Such Face" << 8.25 << false;
        QTest::newRow("bitmap, its strike's size") << "Qi Strike" << 8.25 << true;
        QTest::newRow("bitmap, a size without a strike") << "Qi Strike" << 10.0 << false;
    }
    void offered()
    {
        QFETCH(QString, family);
        QFETCH(double, points);
        static const int strike = [] {
            QTemporaryFile bdf;
            bdf.open();
            bdf.write("STARTFONT 2.1\nFONT -qi-Qi Strike-medium-r-normal--11-80-96-96-c-60-iso10646-1\n"
                      "SIZE 8 96 96\nFONTBOUNDINGBOX 6 11 0 -2\nSTARTPROPERTIES 3\nFAMILY_NAME \"Qi Strike\"\n"
                      "FONT_ASCENT 9\nFONT_DESCENT 2\nENDPROPERTIES\nCHARS 1\n"
                      "STARTCHAR A\nENCODING 65\nSWIDTH 545 0\nDWIDTH 6 0\nBBX 6 11 0 -2\nBITMAP\n"
                      "00\n30\n48\n84\n84\nFC\n84\n84\n84\n00\n00\nENDCHAR\nENDFONT\n");
            bdf.close();
            return QFontDatabase::addApplicationFont(bdf.fileName());
        }();
        QVERIFY2(strike >= 0, "the bitmap face could not be added");
        // The offscreen platform's own database on Windows files it as scalable.
        if (family == QLatin1String("Qi Strike") && QFontDatabase::isScalable(family))
            QSKIP("this font database takes the strike for a scalable face");
        QFont font(family);
        font.setPointSizeF(points);
        QTEST(UiFont::offered(font), "offered");
    }

    // Three faces, as on Windows: the design's, its twin and the system's,
    // each narrower than the one before, and a caption's box as wide as one
    // of them takes it, or a pixel short.
    void choose_data()
    {
        QTest::addColumn<int>("widthOf");
        QTest::addColumn<int>("dw");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("grown");
        QTest::newRow("the design's face fits") << 0 << 0 << 0 << false;
        QTest::newRow("the design's face does not, its twin does") << 0 << -1 << 1 << false;
        QTest::newRow("only the system's face fits") << 1 << -1 << 2 << false;
        QTest::newRow("the system's face fits exactly") << 2 << 0 << 2 << false;
        QTest::newRow("none fits: the system's face, grown") << 2 << -1 << 2 << true;
        QTest::newRow("none fits by far: the system's face, grown") << 2 << -40 << 2 << true;
    }
    void choose()
    {
        QFETCH(int, widthOf);
        QFETCH(int, dw);
        QFETCH(int, chosen);
        QFETCH(bool, grown);
        const QString caption = QStringLiteral("Effect(s) of Equipping:");
        const QList<QFont> faces{face(10), face(9), face(8)};
        for (int i = 1; i < faces.size(); ++i)
            QVERIFY(QFontMetrics(faces[i]).horizontalAdvance(caption) < QFontMetrics(faces[i - 1]).horizontalAdvance(caption));
        const UiFont::DesignedTexts texts = oneCaption(QFontMetrics(faces[widthOf]).horizontalAdvance(caption) + dw);

        // A grown layout is said, and only that.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        if (grown)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                                   "^no face fits the windows' texts as designed; "
                                                   "the layout grows [0-9.]+ times for ")));
        const UiFont::Choice choice = UiFont::choose(faces, texts);
        QCOMPARE(describe(choice.font), describe(faces[chosen]));
        QCOMPARE(choice.twips.factor() > 1, grown);
        // Grown no further than it needs, in steps of a twentieth.
        const auto fitsAt = [&](double factor) {
            return UiFont::fits(choice.font, texts(Twips::Scale(factor)).front());
        };
        QVERIFY(fitsAt(choice.twips.factor()));
        if (grown)
            QVERIFY(!fitsAt(choice.twips.factor() - 1.0 / 20));
    }
};

QTEST_MAIN(TestUiFont)
#include "tst_uifont.moc"
