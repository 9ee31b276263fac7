// The settings file on its own: the key table, the value forms, the reader's
// stops and skips, the writer's layout, and files on disk.

#include "settings/catalogue.h"
#include "settings/settings_file.h"
#include "settings/settings_registry.h"
#include "settings/settings_values.h"
#include "text/cp932.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quorel::settings;

namespace {

// A registry whose keys are all parked, with its reports recorded.
struct Reader {
    Reader() {
        r.hooks().explanation = [this](const QString& l) { explained << l; };
        r.hooks().error = [this](const QString& e) { errors << e; };
        r.hooks().frameless = [this] { return frameless; };
    }
    bool apply(QStringList lines) {
        lines.prepend(kHeader);
        return r.ApplySettings(lines);
    }
    SettingsRegistry r;
    QStringList explained, errors;
    bool frameless = false;
};

int indexOfKey(const QStringList& lines, int key) {
    const QString prefix = QStringLiteral("%1:").arg(key, 3, 10, QLatin1Char('0'));
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines.at(i).startsWith(prefix))
            return int(i);
    return -1;
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void writerLayout();
    void integersAndColours_data();
    void integersAndColours();
    void readerStopsAndSkips();
    void valuesAreCutAtTheColonAndClamped();
    void aPassAskedForDuringAPassWaits();
    void lineEnds();
    void filesOnDisk();
};

void TestSettingsFile::writerLayout() {
    Reader fresh;
    const QStringList lines = fresh.r.WriteSettings();
    QCOMPARE(lines.size(), 299);
    QCOMPARE(lines.first(), kHeader);
    QCOMPARE(lines.at(1),
             QStringLiteral("121:８人モニター非表示:初期化時間のため先頭に書く（バグ対策）"));
    QVERIFY(lines.contains(QStringLiteral("030:未使用")));
    QVERIFY(lines.contains(QStringLiteral("709:false:連絡窓の定時連絡（流す）のチェック")));
    QVERIFY(lines.contains(QStringLiteral("000:480:ウィンドウの高さ")));
    QVERIFY(lines.contains(QStringLiteral("126:on:他の人の入力もＵｎｄｏの対象にする")));
    QVERIFY(lines.contains(QStringLiteral("868:3:ひらがなルビにする。")));
    QVERIFY(lines.contains(QStringLiteral("147:!fsbold:連絡窓のフォントスタイル：！ｂｏｌｄ")));
    QVERIFY(lines.contains(QStringLiteral("039::発言者名")));
    QCOMPARE(lines.last(), QStringLiteral("872:100:黄色で警告する入力文字数"));
    // The orders readers rely on.
    QVERIFY(indexOfKey(lines, 6) < indexOfKey(lines, 5));
    QVERIFY(indexOfKey(lines, 12) < indexOfKey(lines, 11));
    for (int k : {195, 196, 197})
        QVERIFY(indexOfKey(lines, k) < indexOfKey(lines, 193));
    QVERIFY(indexOfKey(lines, 171) > indexOfKey(lines, 9));
    // Each key once, three digits.
    QSet<QString> keys;
    for (const QString& l : lines.mid(1))
        keys.insert(l.left(4));
    QCOMPARE(keys.size(), 298);

    // The comment follows the value of two- and three-valued keys.
    Reader r;
    QVERIFY(r.apply(
        {QStringLiteral("126:off"), QStringLiteral("868:2"), QStringLiteral("147:fsbold")}));
    const QStringList after = r.r.WriteSettings();
    QVERIFY(after.contains(QStringLiteral("126:off:他の人の入力もＵｎｄｏの対象にしない")));
    QVERIFY(after.contains(QStringLiteral("868:2:カタカナルビにする。")));
    QVERIFY(after.contains(QStringLiteral("147:fsbold:連絡窓のフォントスタイル：ｂｏｌｄ")));
}

void TestSettingsFile::integersAndColours_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "480" << true << 480;
    QTest::newRow("negative") << "-12" << true << -12;
    QTest::newRow("leading zeros") << "06" << true << 6;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("minus only") << "-" << false << 0;
    QTest::newRow("blank") << " 5" << false << 0;
    QTest::newRow("plus") << "+5" << false << 0;
    QTest::newRow("prose") << "ウィンドウ" << false << 0;
    QTest::newRow("beyond 32 bits") << "2147483648" << false << 0;
    QTest::newRow("huge") << "99999999999999999999" << false << 0;
    QTest::newRow("full-width digits") << "１２" << false << 0;
}

void TestSettingsFile::integersAndColours() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    if (valid) {
        QCOMPARE(parseInt(text), value);
    } else {
        try {
            parseInt(text);
            QFAIL("accepted");
        } catch (const std::exception& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("'%1' は整数ではありません").arg(text));
        }
    }
    // Colours: plain values are red + 256 green + 65536 blue; system colours
    // by their index, unknown indices the fallback.
    QCOMPARE(colourOf(255), QColor(255, 0, 0));
    QCOMPARE(colourOf(32768), QColor(0, 128, 0));
    QCOMPARE(colourOf(16711680), QColor(0, 0, 255));
    QCOMPARE(colourOf(kWindow), QColor(Qt::white));
    QCOMPARE(colourOf(kWindowText), QColor(Qt::black));
    QCOMPARE(colourOf(kButtonFace), QColor(0xF0, 0xF0, 0xF0));
    QCOMPARE(colourOf(int(0x800000FF), Qt::magenta), QColor(Qt::magenta));
    QCOMPARE(colourOf(-1, Qt::magenta), QColor(Qt::magenta));
    QCOMPARE(valueOf(QColor(1, 2, 3)), 1 + 2 * 256 + 3 * 65536);
}

void TestSettingsFile::readerStopsAndSkips() {
    {
        // Header only: nothing applied, nothing said.
        Reader r;
        QVERIFY(r.apply({}));
        QVERIFY(r.explained.isEmpty() && r.errors.isEmpty());
    }
    for (const QStringList& wrong :
         {QStringList{},
          QStringList{QStringLiteral("999:＜番号付き表示設定ファイル＞"), QStringLiteral("004:9")},
          QStringList{QStringLiteral("004:9")}}) {
        Reader r;
        QVERIFY(!r.r.ApplySettings(wrong));
        QCOMPARE(r.explained, QStringList{kVersionMismatch});
        QCOMPARE(r.r.value(4), QStringLiteral("6"));
    }
    {
        // A blank line after the tenth line: nine settings, then the error.
        Reader r;
        const int nine[] = {31, 32, 33, 34, 39, 59, 60, 102, 103};
        QStringList lines;
        for (int k : nine)
            lines << QStringLiteral("%1:v%1:x").arg(k, 3, 10, QLatin1Char('0'));
        lines << QString() << QStringLiteral("004:9");
        QVERIFY(!r.apply(lines));
        QCOMPARE(r.errors, QStringList{QStringLiteral("'' は整数ではありません")});
        for (int k : nine)
            QCOMPARE(r.r.value(k), QStringLiteral("v%1").arg(k, 3, 10, QLatin1Char('0')));
        QCOMPARE(r.r.value(4), QStringLiteral("6"));
    }
    {
        // An int that is not one stops the pass with the value in the message.
        Reader r;
        QVERIFY(!r.apply(
            {QStringLiteral("004:7"), QStringLiteral("000:高さ"), QStringLiteral("001:9")}));
        QCOMPARE(r.errors, QStringList{QStringLiteral("'高さ' は整数ではありません")});
        QCOMPARE(r.r.value(4), QStringLiteral("7"));
        QCOMPARE(r.r.value(1), QStringLiteral("640"));
    }
    {
        // A line without a colon has an empty value: for an int key, an error.
        Reader r;
        QVERIFY(!r.apply({QStringLiteral("123")}));
        QCOMPARE(r.errors, QStringList{QStringLiteral("'' は整数ではありません")});
    }
    {
        // Unknown keys, the placeholder and a repeated key; 139 is 140.
        Reader r;
        QVERIFY(r.apply({QStringLiteral("998:x:y"), QStringLiteral("030:何か"),
                         QStringLiteral("004:7"), QStringLiteral("004:8"), QStringLiteral("139:on"),
                         QStringLiteral("035:ON"), QStringLiteral("444:5")}));
        QVERIFY(r.errors.isEmpty());
        QCOMPARE(r.r.value(4), QStringLiteral("8"));
        QCOMPARE(r.r.value(140), QStringLiteral("on"));
        QCOMPARE(r.r.value(35),
                 QStringLiteral("ON")); // parked as given; the control reads it as off
        QCOMPARE(r.r.value(444), QStringLiteral("5"));
        QCOMPARE(r.r.value(445), QStringLiteral("2"));
        QCOMPARE(r.r.value(446), QStringLiteral("20"));
        QCOMPARE(r.r.value(500), QStringLiteral("350"));
    }
    {
        // Borderless: the keys that would change the screen's layout wait.
        Reader r;
        r.frameless = true;
        QVERIFY(
            r.apply({QStringLiteral("011:0"), QStringLiteral("025:1"), QStringLiteral("012:9"),
                     QStringLiteral("015:9"), QStringLiteral("128:on"), QStringLiteral("013:20")}));
        QCOMPARE(r.r.value(11), QStringLiteral("2"));
        QCOMPARE(r.r.value(25), QStringLiteral("0"));
        QCOMPARE(r.r.value(128), QStringLiteral("off"));
        QCOMPARE(r.r.value(13), QStringLiteral("20"));
    }
    {
        // Commands reach their hook, and one that answers ends the pass.
        Reader r;
        QList<int> commands;
        r.r.hooks().command = [&](int key, const QString&) {
            commands << key;
            return key == 607;
        };
        QVERIFY(
            r.apply({QStringLiteral("600:1"), QStringLiteral("607:x"), QStringLiteral("004:9")}));
        QCOMPARE(commands, (QList<int>{600, 607}));
        QCOMPARE(r.r.value(4), QStringLiteral("6"));
    }
}

void TestSettingsFile::valuesAreCutAtTheColonAndClamped() {
    Reader r;
    const QString telop = QString(600, QChar(u'あ'));
    QVERIFY(r.apply({QStringLiteral("707:12:00 交代:コメント"), QStringLiteral("504:") + telop,
                     QStringLiteral("003:-20"), QStringLiteral("000:100000"),
                     QStringLiteral("009:0"), QStringLiteral("513:99999"),
                     QStringLiteral("004:1000000000"), QStringLiteral("006:0"),
                     QStringLiteral("509:-5"), QStringLiteral("010:-2147483633")}));
    QCOMPARE(r.r.value(707), QStringLiteral("12"));
    QCOMPARE(r.r.value(504), telop); // past the old 99-byte slot, whole
    QCOMPARE(r.r.value(3), QStringLiteral("-20"));
    QCOMPARE(r.r.value(0), QStringLiteral("16384"));
    QCOMPARE(r.r.value(9), QStringLiteral("1"));
    QCOMPARE(r.r.value(513), QStringLiteral("500"));
    QCOMPARE(r.r.value(4), QStringLiteral("1000"));
    QCOMPARE(r.r.value(6), QStringLiteral("1"));
    QCOMPARE(r.r.value(509), QStringLiteral("1"));
    QCOMPARE(r.r.value(10), QStringLiteral("-2147483633"));

    // A value with a colon in it is named by the writer.
    QList<int> withColon;
    r.r.WriteSettings(&withColon);
    QVERIFY(withColon.isEmpty());
    r.r.bind(39, {[] { return QStringLiteral("司会:山田"); }, [](const QString&) {}});
    r.r.WriteSettings(&withColon);
    QCOMPARE(withColon, QList<int>{39});
}

void TestSettingsFile::aPassAskedForDuringAPassWaits() {
    Reader r;
    QStringList order;
    r.r.bind(39, {{}, [&](const QString& v) {
                      order << v;
                      if (v == QLatin1String("first")) // as if a message box let a datagram in
                          QVERIFY(r.apply({QStringLiteral("039:nested")}));
                      order << v + QStringLiteral(" done");
                  }});
    QVERIFY(r.apply({QStringLiteral("039:first"), QStringLiteral("039:second")}));
    QCOMPARE(order, (QStringList{QStringLiteral("first"), QStringLiteral("first done"),
                                 QStringLiteral("second"), QStringLiteral("second done"),
                                 QStringLiteral("nested"), QStringLiteral("nested done")}));
    QVERIFY(!r.r.applying());
}

void TestSettingsFile::lineEnds() {
    const QStringList expected{QStringLiteral("a"), QStringLiteral("b"), QString(),
                               QStringLiteral("c")};
    QCOMPARE(splitLines(QStringLiteral("a\r\nb\r\n\r\nc\r\n")), expected);
    QCOMPARE(splitLines(QStringLiteral("a\nb\n\nc")), expected);
    QCOMPARE(splitLines(QStringLiteral("a\rb\r\rc\r")), expected);
    QCOMPARE(splitLines(QStringLiteral("a\r\nb\n\rc")), expected);
    QCOMPARE(joinLines({QStringLiteral("999:あ"), QString()}), QByteArray("999:\x82\xa0\r\n\r\n"));
}

void TestSettingsFile::filesOnDisk() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("表示全般設定.dp9"));
    QString error;
    QVERIFY(writeLines(path, {kHeader, QStringLiteral("039:〜です:発言者名")}, &error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(bytes.contains("039:\x81\x60\x82\xc5\x82\xb7:")); // code page 932, no BOM
    QCOMPARE(readLines(path, &error).value(),
             (QStringList{kHeader, QStringLiteral("039:～です:発言者名")}));

    // A write that cannot be made says so and leaves no half file.
    QVERIFY(!writeLines(dir.filePath(QStringLiteral("無い/x.dp9")), {kHeader}, &error));
    QCOMPARE(error, kCannotCreate.arg(dir.filePath(QStringLiteral("無い/x.dp9"))));
    QVERIFY(!readLines(dir.filePath(QStringLiteral("無い.dp9")), &error));
    QCOMPARE(error, kCannotOpen.arg(dir.filePath(QStringLiteral("無い.dp9"))));

    // Nothing that large is a settings file.
    const QString big = dir.filePath(QStringLiteral("big.dp9"));
    QFile b(big);
    QVERIFY(b.open(QIODevice::WriteOnly));
    b.write(QByteArray(2 * 1024 * 1024, 'x'));
    b.close();
    QVERIFY(!readLines(big, &error));
    QCOMPARE(error, kTooLarge.arg(big));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
