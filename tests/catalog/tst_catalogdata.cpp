// The figures of the item catalog: vocabularies, placeholders, recurring
// phrasings, the patterns of each category and the rules every cell obeys.
// Each check names the rows that break it.
#include "itemtable.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Quorvath;
using namespace Qt::StringLiterals;

namespace {

const QString AllOpen[] = {u"???"_s, u"??"_s, u"?"_s, u"Unknown."_s};
const QString Deals = u"Deals X damage per swing to 1 foe in combat."_s;
const QString Investigation = u"This item is under investigation."_s;
const QString Continuous = u"Continuous while equipped."_s;

const QRegularExpression ArmourClass(
    uR"(^Adds \+([1-8?]) to the (character|[A-Z][a-z]+)'s AC value\.( / \?)?$)"_s);
const QRegularExpression Spell(uR"(^Casts the ([A-Z][A-Za-z' ]+) \(([A-Z]{4})\) spell\.$)"_s);
const QRegularExpression Hurled(uR"(^Can be hurled at 1 foe in combat up to (\d+)' away\.$)"_s);

bool endsOpen(const QString &text)
{
    return text.endsWith(u" / ?") || text.endsWith(u" / ??");
}

// A value the catalog leaves open: the marks of the placeholder table.
bool isOpen(const QString &text)
{
    return std::find(std::begin(AllOpen), std::end(AllOpen), text) != std::end(AllOpen)
        || endsOpen(text) || (text.contains(u"+?") && ArmourClass.match(text).hasMatch());
}

// Any mark of the placeholder table, also "N/A" (does not apply) and the
// unstated damage "X" of the weapon phrase.
bool isAnyPlaceholder(const QString &text)
{
    return isOpen(text) || text == u"N/A" || text.startsWith(Deals);
}

QString rowList(const QList<int> &rows)
{
    QStringList parts;
    for (int row : rows)
        parts << QString::number(row);
    return u"rows: "_s + parts.join(u", ");
}

} // namespace

class TestCatalogData final : public QObject {
    Q_OBJECT

private:
    Catalog m_catalog;

    QString cell(int row, int column) const { return m_catalog.table(row, column); }

    template <class Pred> QList<int> rowsWhere(Pred pred) const
    {
        QList<int> rows;
        for (int row = 1; row <= LastRow; ++row)
            if (pred(row))
                rows << row;
        return rows;
    }

    int countOf(int column, const QString &text) const
    {
        return int(rowsWhere([&](int r) { return cell(r, column) == text; }).size());
    }

private slots:
    void initTestCase() { loadCatalog(m_catalog); }

    void vocabularies_data();
    void vocabularies();
    void noTextOutsideTheVocabularies_data();
    void noTextOutsideTheVocabularies();
    void placeholders_data();
    void placeholders();
    void openEndedTexts_data();
    void openEndedTexts();
    void rowsOpenInEveryColumn();
    void phrasings();
    void spellsAndThrowingRanges();
    void descriptions();
    void categoryPatterns();
    void weaponsAndArmour();
    void usesWithTwoParts();
    void cellRules();
    void crossReferences();
    void tellingRows_data();
    void tellingRows();
    void perTabCounts_data();
    void perTabCounts();
    void distinctTexts();
};

void TestCatalogData::vocabularies_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rows");
    const std::pair<const char16_t *, int> usableBy[] = {
        {u"ALL", 75}, {u"???", 45}, {u"All non-spellcasters, Geomancer", 23}, {u"Bard", 21},
        {u"Bard, Geomancer, Hunter, Paladin, Warrior", 15}, {u"All spellcasters", 10},
        {u"Paladin", 8}, {u"Geomancer, Paladin, Warrior", 6}, {u"Rogue", 4}, {u"??", 2},
        {u"All except Conjurer, Magician", 2}, {u"Geomancer, Hunter, Paladin, Warrior", 2},
        {u"Hunter", 2}, {u"Monk", 2}, {u"Paladin, Warrior", 2}, {u"All non-spellcasters", 1},
        {u"Bard, Geomancer, Hunter, Monk, Paladin, Warrior", 1},
        {u"Bard, Geomancer, Hunter, Monk, Warrior, Paladin.", 1},
        {u"Bard, Geomancer, Hunter, Paladin, Warrior.", 1}, {u"Bard, Geomancer, Paladin, Warrior", 1},
        {u"Hunter, Monk, Paladin, Rogue, Warrior", 1},
        {u"Sorcerer, Wizard, Archmage, Chronomancer, Geomancer", 1}, {u"Special", 1}};
    const std::pair<const char16_t *, int> uses[] = {
        {u"Continuous while equipped.", 67}, {u"Continuous while equipped. / ?", 31}, {u"???", 26},
        {u"Limited.", 20}, {u"One-time only.", 19}, {u"Multiple.", 14},
        {u"Continuous while equipped. / Limited.", 11}, {u"One-time only (special).", 10},
        {u"Continuous while equipped. / Multiple.", 8}, {u"Continuous while equipped. / One-time only.", 5},
        {u"See Container, Wineskin.", 5}, {u"Continuous while equipped. / ??", 3},
        {u"Limited (10 doses maximum).", 2}, {u"Multiple; contingent on arrow supply.", 2}, {u"??", 1},
        {u"Continuous while being carried.", 1}, {u"Multiple; contingent upon arrow supply.", 1},
        {u"Who knows?", 1}};
    for (const auto &[text, rows] : usableBy)
        QTest::addRow("Usable By %s", qPrintable(QString::fromUtf16(text))) << int(UsableBy) << QString::fromUtf16(text) << rows;
    for (const auto &[text, rows] : uses)
        QTest::addRow("# Uses %s", qPrintable(QString::fromUtf16(text))) << int(Uses) << QString::fromUtf16(text) << rows;
}

void TestCatalogData::vocabularies()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(int, rows);
    const auto found = rowsWhere([&](int r) { return cell(r, column) == text; });
    QVERIFY2(found.size() == rows, qPrintable(QString::number(found.size()) + u" "_s + rowList(found)));
}

void TestCatalogData::noTextOutsideTheVocabularies_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("distinct");
    QTest::newRow("Usable By") << int(UsableBy) << 23;
    QTest::newRow("# Uses") << int(Uses) << 18;
    QTest::newRow("Category") << int(Category) << 12;
}

void TestCatalogData::noTextOutsideTheVocabularies()
{
    // The counts above add up to 227 only if nothing else slipped in.
    QFETCH(int, column);
    QFETCH(int, distinct);
    QSet<QString> texts;
    for (int row = 1; row <= LastRow; ++row)
        texts.insert(cell(row, column));
    QCOMPARE(texts.size(), distinct);
}

void TestCatalogData::placeholders_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("perColumn");   // columns 1..7
    QTest::newRow("???") << u"???"_s << QList<int>{0, 45, 24, 62, 26, 0, 2};
    QTest::newRow("??") << u"??"_s << QList<int>{0, 2, 2, 8, 1, 0, 0};
    QTest::newRow("?") << u"?"_s << QList<int>{0, 0, 0, 2, 0, 0, 0};
    QTest::newRow("Unknown.") << u"Unknown."_s << QList<int>{0, 0, 0, 4, 0, 0, 0};
    QTest::newRow("N/A") << u"N/A"_s << QList<int>{0, 0, 63, 68, 0, 0, 0};
}

void TestCatalogData::placeholders()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, perColumn);
    for (int column = Name; column <= Category; ++column) {
        const auto found = rowsWhere([&](int r) { return cell(r, column) == text; });
        QVERIFY2(found.size() == perColumn[column - 1],
                 qPrintable(u"column "_s + QString::number(column) + u": "_s + rowList(found)));
    }
}

void TestCatalogData::openEndedTexts_data()
{
    QTest::addColumn<QList<int>>("perColumn");   // columns 1..7
    QTest::addColumn<int>("plusQuestion");
    QTest::addColumn<int>("damageX");
    QTest::newRow("catalog") << QList<int>{0, 0, 28, 1, 34, 0, 0} << 20 << 55;
}

void TestCatalogData::openEndedTexts()
{
    QFETCH(QList<int>, perColumn);
    QFETCH(int, plusQuestion);
    QFETCH(int, damageX);
    for (int column = Name; column <= Category; ++column) {
        const auto found = rowsWhere([&](int r) { return endsOpen(cell(r, column)); });
        QVERIFY2(found.size() == perColumn[column - 1],
                 qPrintable(u"ending / ? in column "_s + QString::number(column) + u": "_s + rowList(found)));
    }
    // "+?" only ever inside an armour-class phrase of the effect.
    const auto plus = rowsWhere([&](int r) {
        for (int c = Name; c <= Category; ++c)
            if (cell(r, c).contains(u"+?"))
                return true;
        return false;
    });
    const auto plusInPhrase = rowsWhere([&](int r) {
        return cell(r, Effects).contains(u"+?") && ArmourClass.match(cell(r, Effects)).hasMatch();
    });
    QVERIFY2(plus == plusInPhrase, qPrintable(rowList(plus)));
    QCOMPARE(plusInPhrase.size(), plusQuestion);
    const auto withX = rowsWhere([&](int r) { return cell(r, Effects).contains(u"Deals X damage"); });
    QCOMPARE(withX.size(), damageX);
}

void TestCatalogData::rowsOpenInEveryColumn()
{
    // A placeholder here is any mark of the placeholder table. The seventeen
    // rows are open even in the narrow sense ("N/A" and the damage "X" aside);
    // no other row is, even in the broad one.
    const QList<int> expected = {95, 112, 113, 126, 131, 132, 133, 137, 138, 149, 177, 190, 194, 200, 206, 207, 217};
    const auto narrow = rowsWhere([&](int r) {
        return isOpen(cell(r, UsableBy)) && isOpen(cell(r, Effects)) && isOpen(cell(r, Activated)) && isOpen(cell(r, Uses));
    });
    const auto broad = rowsWhere([&](int r) {
        return isAnyPlaceholder(cell(r, UsableBy)) && isAnyPlaceholder(cell(r, Effects))
            && isAnyPlaceholder(cell(r, Activated)) && isAnyPlaceholder(cell(r, Uses));
    });
    QVERIFY2(narrow == expected, qPrintable(rowList(narrow)));
    QVERIFY2(broad == expected, qPrintable(rowList(broad)));
}

void TestCatalogData::phrasings()
{
    const auto deals = rowsWhere([&](int r) { return cell(r, Effects).startsWith(Deals); });
    QCOMPARE(deals.size(), 55);
    const auto dealsOutsideWeapons = rowsWhere([&](int r) {
        return cell(r, Effects).startsWith(Deals) && cell(r, Category) != u"Weapons";
    });
    QVERIFY2(dealsOutsideWeapons.isEmpty(), qPrintable(rowList(dealsOutsideWeapons)));
    QCOMPARE(countOf(Effects, Deals), 25);
    QCOMPARE(countOf(Effects, Deals + u" / ?"_s), 21);

    const auto armourClass = rowsWhere([&](int r) { return ArmourClass.match(cell(r, Effects)).hasMatch(); });
    QCOMPARE(armourClass.size(), 51);
    const auto armourClassOpen = rowsWhere([&](int r) {
        return ArmourClass.match(cell(r, Effects)).hasMatch() && cell(r, Effects).endsWith(u" / ?");
    });
    QVERIFY2(armourClassOpen.size() == 2, qPrintable(rowList(armourClassOpen)));
    const auto namingAClass = rowsWhere([&](int r) {
        const auto m = ArmourClass.match(cell(r, Effects));
        return m.hasMatch() && m.captured(2) != u"character";
    });
    QVERIFY2(!namingAClass.isEmpty(), "no armour-class phrase names a class");

    const auto songsElsewhere = rowsWhere([&](int r) {
        return cell(r, Effects).startsWith(u"Allows the Bard to play songs.") != (cell(r, Category) == u"Instruments");
    });
    QVERIFY2(songsElsewhere.isEmpty(), qPrintable(rowList(songsElsewhere)));
    const auto bowElsewhere = rowsWhere([&](int r) {
        return (cell(r, Effects) == u"Can be used in combat with a bow.") != (cell(r, Category) == u"Quivers");
    });
    QVERIFY2(bowElsewhere.isEmpty(), qPrintable(rowList(bowElsewhere)));
}

void TestCatalogData::spellsAndThrowingRanges()
{
    QSet<QString> spells, codes;
    const auto casting = rowsWhere([&](int r) {
        const auto m = Spell.match(cell(r, Activated));
        if (m.hasMatch()) {
            spells.insert(m.captured(1));
            codes.insert(m.captured(2));
        }
        return m.hasMatch();
    });
    QCOMPARE(casting.size(), 20);
    QCOMPARE(spells.size(), 15);
    QCOMPARE(codes.size(), 15);   // one code per spell
    QCOMPARE(cell(1, Activated), u"Casts the Mage Flame (MAFL) spell.");

    QSet<int> ranges;
    const auto hurled = rowsWhere([&](int r) {
        const auto m = Hurled.match(cell(r, Activated));
        if (m.hasMatch())
            ranges.insert(m.captured(1).toInt());
        return m.hasMatch();
    });
    QVERIFY2(hurled.size() == 7, qPrintable(rowList(hurled)));
    QCOMPARE(ranges, (QSet<int>{40, 50, 80, 90}));
}

void TestCatalogData::descriptions()
{
    QCOMPARE(countOf(Description, Investigation), 58);
    const auto quest = rowsWhere([&](int r) { return cell(r, Description).startsWith(u"Quest item; "); });
    QVERIFY2(quest.size() == 24, qPrintable(rowList(quest)));
    QCOMPARE(countOf(Description, u"Quest item; under investigation."_s), 9);
    const auto longOnes = rowsWhere([&](int r) { return cell(r, Description).size() > 200; });
    QVERIFY2(longOnes.size() == 2, qPrintable(rowList(longOnes)));
    const auto longElsewhere = rowsWhere([&](int r) {
        for (int c = Name; c <= Category; ++c)
            if (c != Description && cell(r, c).size() > 200)
                return true;
        return false;
    });
    QVERIFY2(longElsewhere.isEmpty(), qPrintable(rowList(longElsewhere)));
}

void TestCatalogData::categoryPatterns()
{
    const auto broken = rowsWhere([&](int r) {
        const QString category = cell(r, Category);
        const QString usable = cell(r, UsableBy), effect = cell(r, Effects), act = cell(r, Activated), uses = cell(r, Uses);
        if (category == u"Figurines")
            return usable != u"ALL" || effect != u"N/A" || uses != u"One-time only."
                || !(Spell.match(act).hasMatch() || act.startsWith(u"Summons "));
        if (category == u"Instruments")
            return usable != u"Bard" || !effect.startsWith(u"Allows the Bard to play songs.") || !uses.startsWith(Continuous);
        if (category == u"Quivers")
            return effect != u"Can be used in combat with a bow." || uses != u"Limited.";
        if (category == u"Containers/Fluids") {
            const bool container = r == 115 || r == 122;
            return usable != u"ALL" || effect != u"N/A"
                || uses != (container ? u"Limited (10 doses maximum)." : u"See Container, Wineskin.");
        }
        return false;
    });
    QVERIFY2(broken.isEmpty(), qPrintable(rowList(broken)));
    QCOMPARE(cell(115, Name), u"Wineskin");
    QCOMPARE(cell(122, Name), u"Canteen");
}

void TestCatalogData::weaponsAndArmour()
{
    const auto weapons = rowsWhere([&](int r) {
        if (cell(r, Category) != u"Weapons")
            return false;
        const QString effect = cell(r, Effects), uses = cell(r, Uses);
        switch (r) {
        case 67: case 126: case 137:   // open in both columns
            return !isOpen(effect) || effect.startsWith(Deals) || !isOpen(uses) || uses.startsWith(Continuous);
        case 146: case 150:            // open in # Uses only
            return !effect.startsWith(Deals) || isOpen(effect) || !isOpen(uses) || uses.startsWith(Continuous);
        case 76:                       // Conjurstaff: an effect of its own
            return isAnyPlaceholder(effect) || !uses.startsWith(Continuous);
        default:
            return !effect.startsWith(Deals) || !uses.startsWith(Continuous);
        }
    });
    QVERIFY2(weapons.isEmpty(), qPrintable(rowList(weapons)));

    static const QSet<QString> armour = {u"Armor"_s, u"Shields"_s, u"Gloves"_s, u"Helms"_s};
    const auto broken = rowsWhere([&](int r) {
        if (!armour.contains(cell(r, Category)))
            return false;
        const QString effect = cell(r, Effects), uses = cell(r, Uses);
        if (r == 147)   // Ferofist's Helm
            return !ArmourClass.match(effect).hasMatch() || uses != u"Multiple.";
        const bool pattern = ArmourClass.match(effect).hasMatch() && uses.startsWith(Continuous);
        const bool open = isOpen(cell(r, UsableBy)) || isOpen(effect) || isOpen(cell(r, Activated)) || isOpen(uses);
        return !pattern && !open;
    });
    QVERIFY2(broken.isEmpty(), qPrintable(rowList(broken)));
    QCOMPARE(cell(147, Name), u"Ferofist's Helm");
}

void TestCatalogData::usesWithTwoParts()
{
    const auto broken = rowsWhere([&](int r) {
        return cell(r, Uses).contains(u" / ")
            && (!cell(r, Uses).startsWith(Continuous + u" / "_s) || cell(r, Activated) == u"N/A");
    });
    QVERIFY2(broken.isEmpty(), qPrintable(rowList(broken)));
}

void TestCatalogData::cellRules()
{
    const auto badCells = rowsWhere([&](int r) {
        for (int c = Name; c <= Category; ++c) {
            const QString text = cell(r, c);
            if (text.isEmpty() || text.front().isSpace() || text.back().isSpace()
                || text.contains(u'\n') || text.contains(u'\r') || text.contains(u'\t'))
                return true;
        }
        return false;
    });
    QVERIFY2(badCells.isEmpty(), qPrintable(rowList(badCells)));

    // Printable ASCII, except the ellipses and the one apostrophe.
    const auto nonAscii = rowsWhere([&](int r) {
        for (int c = Name; c <= Category; ++c)
            for (QChar ch : cell(r, c))
                if (ch.unicode() < 0x20 || ch.unicode() > 0x7E)
                    return true;
        return false;
    });
    QCOMPARE(nonAscii, (QList<int>{94, 99, 105, 157}));
    for (int row : {94, 99, 105})
        QVERIFY2(cell(row, Description).contains(QChar(0x2026)), qPrintable(QString::number(row)));
    QVERIFY(cell(157, Description).startsWith(u"Doesn\u2019t"));

    int longest = 0;
    for (int row = 1; row <= LastRow; ++row)
        longest = std::max(longest, int(cell(row, Name).size()));
    QCOMPARE(longest, 17);
    QCOMPARE(cell(112, Name), u"Sphere of Lanatir");

    QHash<QString, QList<int>> byName;
    for (int row = 1; row <= LastRow; ++row)
        byName[cell(row, Name)] << row;
    QList<int> shared;
    for (const auto &rows : std::as_const(byName))
        if (rows.size() > 1)
            shared << rows;
    std::sort(shared.begin(), shared.end());
    QCOMPARE(shared, (QList<int>{206, 207}));
    QCOMPARE(cell(206, Name), u"Eelskin Tunic");
}

void TestCatalogData::crossReferences()
{
    QCOMPARE(cell(2, Description), uR"(See "Torch".)"_s);
    const QString parts[] = {u"Lever"_s, u"Nut"_s, u"Bolt"_s, u"Spanner"_s};
    for (int i = 0; i < 4; ++i) {
        const int row = 157 + i;
        QStringList others;
        for (int j = 0; j < 4; ++j)
            if (j != i)
                others << parts[j];
        QCOMPARE(cell(row, Name), parts[i]);
        const QString apostrophe = row == 157 ? u"\u2019"_s : u"'"_s;
        QCOMPARE(cell(row, Description),
                 u"Doesn"_s + apostrophe + u"t appear to serve a function.  See "_s + others.join(u", ") + u"."_s);
    }
    const auto seeWineskin = rowsWhere([&](int r) { return cell(r, Uses) == u"See Container, Wineskin."; });
    QCOMPARE(seeWineskin, (QList<int>{223, 224, 225, 226, 227}));
}

void TestCatalogData::tellingRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("texts");
    const QString Na = u"N/A"_s, Q = u"???"_s;
    QTest::newRow("1") << 1 << QStringList{u"Torch"_s, u"ALL"_s, Na, u"Casts the Mage Flame (MAFL) spell."_s, u"One-time only."_s, u"Useful for dungeon-exploration."_s, u"Misc. Items"_s};
    QTest::newRow("2") << 2 << QStringList{u"Lamp"_s, u"ALL"_s, Na, u"Casts the Mage Flame (MAFL) spell."_s, u"One-time only."_s, uR"(See "Torch".)"_s, u"Misc. Items"_s};
    QTest::newRow("6") << 6 << QStringList{u"War Axe"_s, u"All non-spellcasters, Geomancer"_s, Deals, u"Can be hurled at 1 foe in combat up to 40' away."_s, u"Continuous while equipped. / One-time only."_s, u"Not a woodcutter's axe..."_s, u"Weapons"_s};
    QTest::newRow("22") << 22 << QStringList{u"Arrows"_s, u"All non-spellcasters, Geomancer"_s, u"Can be used in combat with a bow."_s, u"Strikes a single foe at range."_s, u"Limited."_s, u"Common arrows."_s, u"Quivers"_s};
    QTest::newRow("27") << 27 << QStringList{u"Giant Fgn"_s, u"ALL"_s, Na, QString(), u"One-time only."_s, u"Figurine of a fearsome giant.  Ooo."_s, u"Figurines"_s};
    QTest::newRow("112") << 112 << QStringList{u"Sphere of Lanatir"_s, Q, Q, Q, Q, u"Quest item; under investigation."_s, Q};
    QTest::newRow("157") << 157 << QStringList{u"Lever"_s, u"ALL"_s, Na, u"Unknown."_s, u"Multiple."_s, u"Doesn\u2019t appear to serve a function.  See Nut, Bolt, Spanner."_s, u"Misc. Items"_s};
    QTest::newRow("206") << 206 << QStringList{u"Eelskin Tunic"_s, Q, Q, Q, Q, Investigation, u"Armor"_s};
    QTest::newRow("207") << 207 << QStringList{u"Eelskin Tunic"_s, Q, Q, Q, Q, Investigation, u"Misc. Items"_s};
    QTest::newRow("219") << 219 << QStringList{u"Gods' Blade"_s, u"Paladin"_s, Deals + u" / ?"_s, Q, u"Continuous while equipped. / ?"_s, Investigation, u"Weapons"_s};
    QTest::newRow("222") << 222 << QStringList{u"Horn of Gods"_s, u"Bard"_s, u"Allows the Bard to play songs.  / ?"_s, Q, u"Continuous while equipped. / ?"_s, Investigation, u"Instruments"_s};
    QTest::newRow("223") << 223 << QStringList{u"Water"_s, u"ALL"_s, Na, u"Quenches thirst..."_s, u"See Container, Wineskin."_s, u"Plain, ordinary water."_s, u"Containers/Fluids"_s};
    QTest::newRow("227") << 227 << QStringList{u"Molten Tar"_s, u"ALL"_s, Na, QString(), u"See Container, Wineskin."_s, QString(), u"Containers/Fluids"_s};
}

void TestCatalogData::tellingRows()
{
    QFETCH(int, row);
    QFETCH(QStringList, texts);   // a null entry: any text
    for (int column = Name; column <= Category; ++column)
        if (!texts[column - 1].isNull())
            QCOMPARE(cell(row, column), texts[column - 1]);
}

void TestCatalogData::perTabCounts_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("rows");
    const std::pair<const char16_t *, int> tabs[] = {
        {u"Armor", 23}, {u"Figurines", 9}, {u"Gloves", 7}, {u"Helms", 11}, {u"Misc. Items", 68},
        {u"Rings", 8}, {u"Shields", 11}, {u"Weapons", 59}, {u"Instruments", 15}, {u"Quivers", 7},
        {u"Containers/Fluids", 7}, {u"???", 2}};
    for (const auto &[caption, rows] : tabs)
        QTest::newRow(qPrintable(QString::fromUtf16(caption))) << QString::fromUtf16(caption) << rows;
}

void TestCatalogData::perTabCounts()
{
    QFETCH(QString, caption);
    QFETCH(int, rows);
    const auto listed = rowsWhere([&](int r) { return cell(r, Category) == caption; });
    QVERIFY2(listed.size() == rows, qPrintable(rowList(listed)));
    if (caption == u"???")
        QCOMPARE(listed, (QList<int>{112, 113}));
    if (caption == u"Misc. Items")
        for (int bow : {8, 72, 120})
            QVERIFY2(listed.contains(bow), qPrintable(QString::number(bow)));
}

void TestCatalogData::distinctTexts()
{
    QSet<QString> texts;
    for (int row = 1; row <= LastRow; ++row)
        for (int column = Name; column <= Category; ++column)
            texts.insert(cell(row, column));
    QCOMPARE(texts.size(), 545);
}

QTEST_GUILESS_MAIN(TestCatalogData)
#include "tst_catalogdata.moc"
