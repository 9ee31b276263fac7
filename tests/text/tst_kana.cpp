#include "text/kana.h"

#include <QTest>

#include <functional>

namespace text = quorel::text;
using namespace Qt::StringLiterals;

class TstKana : public QObject {
    Q_OBJECT

private slots:
    void forms_data();
    void forms();
    void oneWay_data();
    void oneWay();
    void kanaOnly_data();
    void kanaOnly();
};

// One reading in its three forms; every mapping between them must agree.
void TstKana::forms_data() {
    QTest::addColumn<QString>("half");
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("hiragana");

    QTest::newRow("voiced") << u"ｶﾞｷﾞｸﾞｹﾞｺﾞ"_s << u"ガギグゲゴ"_s << u"がぎぐげご"_s;
    QTest::newRow("semi-voiced") << u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"_s << u"パピプペポ"_s << u"ぱぴぷぺぽ"_s;
    QTest::newRow("long vowel") << u"ｺｰﾋｰ"_s << u"コーヒー"_s << u"こーひー"_s;
    QTest::newRow("small kana") << u"ｧｨｩｪｫｬｭｮｯ"_s << u"ァィゥェォャュョッ"_s
                                << u"ぁぃぅぇぉゃゅょっ"_s;
    QTest::newRow("wo and n") << u"ｦﾝ"_s << u"ヲン"_s << u"をん"_s;
    QTest::newRow("reading of a word") << u"ｶﾝｼﾞ"_s << u"カンジ"_s << u"かんじ"_s;
    QTest::newRow("vu stays katakana") << u"ｳﾞｧｲｵﾘﾝ"_s << u"ヴァイオリン"_s << u"ヴぁいおりん"_s;
    QTest::newRow("kana punctuation") << u"｢ｶﾅ｣､･｡"_s << u"「カナ」、・。"_s << u"「かな」、・。"_s;
    QTest::newRow("other characters untouched")
        << u"ABC 漢字ｶﾅ1,Ａ〓"_s << u"ABC 漢字カナ1,Ａ〓"_s << u"ABC 漢字かな1,Ａ〓"_s;
    QTest::newRow("empty") << QString() << QString() << QString();
}

void TstKana::forms() {
    QFETCH(QString, half);
    QFETCH(QString, full);
    QFETCH(QString, hiragana);
    QCOMPARE(text::toFullWidthKatakana(half), full);
    QCOMPARE(text::toFullWidthKatakana(full), full);
    QCOMPARE(text::katakanaToHiragana(full), hiragana);
    QCOMPARE(text::toHalfWidthKatakana(full), half);
    QCOMPARE(text::toHalfWidthKatakana(hiragana), half);
    QCOMPARE(text::toHalfWidthKatakana(half), half);
}

// Mappings that have no way back.
void TstKana::oneWay_data() {
    using Map = std::function<QString(QStringView)>;
    QTest::addColumn<Map>("map");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    const Map full = text::toFullWidthKatakana;
    const Map hira = text::katakanaToHiragana;
    const Map half = text::toHalfWidthKatakana;

    // Code page 932 has no ゔ ゕ ゖ (nor ヷ), so these stay as they are.
    QTest::newRow("hiragana keeps vu, small ka, small ke")
        << hira << u"ヴヵヶカケ"_s << u"ヴヵヶかけ"_s;
    QTest::newRow("hiragana keeps va") << hira << u"ヷヺ"_s << u"ヷヺ"_s;
    QTest::newRow("iteration marks") << hira << u"ヽヾ"_s << u"ゝゞ"_s;
    QTest::newRow("wa with voicing is not va") << full << u"ﾜﾞ"_s << u"ワ゛"_s;
    QTest::newRow("voicing mark that cannot join") << full << u"ｱﾞｶﾟ"_s << u"ア゛カ゜"_s;
    QTest::newRow("lone voicing marks") << full << u"ﾞxﾟ"_s << u"゛x゜"_s;
    QTest::newRow("marks after full-width kana") << full << u"カﾞ"_s << u"カ゛"_s;
    QTest::newRow("small ka and ke read as ka and ke") << half << u"ヵヶヮ"_s << u"ｶｹﾜ"_s;
    QTest::newRow("hiragana vu") << half << u"ゔ"_s << u"ｳﾞ"_s;
    QTest::newRow("wi and we have no half-width form") << half << u"ゐヱ"_s << u"ヰヱ"_s;
    QTest::newRow("spacing marks") << half << u"゛゜"_s << u"ﾞﾟ"_s;
    QTest::newRow("full-width latin stays") << half << u"ＡＢ１"_s << u"ＡＢ１"_s;
}

void TstKana::oneWay() {
    using Map = std::function<QString(QStringView)>;
    QFETCH(Map, map);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(map(input), expected);
}

void TstKana::kanaOnly_data() {
    QTest::addColumn<QString>("s");
    QTest::addColumn<bool>("kana");

    QTest::newRow("hiragana") << u"かんじ"_s << true;
    QTest::newRow("katakana with long vowel") << u"コーヒー"_s << true;
    QTest::newRow("half-width") << u"ｶﾝｼﾞ"_s << true;
    QTest::newRow("mixed kana") << u"ぱソコン"_s << true;
    QTest::newRow("romaji still pending") << u"かn"_s << false;
    QTest::newRow("converted") << u"漢字"_s << false;
    QTest::newRow("kana and kanji") << u"漢じ"_s << false;
    QTest::newRow("punctuation") << u"かな。"_s << false;
    QTest::newRow("empty") << QString() << false;
}

void TstKana::kanaOnly() {
    QFETCH(QString, s);
    QFETCH(bool, kana);
    QCOMPARE(text::isKanaOnly(s), kana);
}

QTEST_APPLESS_MAIN(TstKana)
#include "tst_kana.moc"
