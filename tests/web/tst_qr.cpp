// The join code's QR picture: square, the smallest version for the text, four
// light modules of quiet zone on every side, the finder patterns where a
// scanner looks for them, and no picture for what no QR code can hold.

#include "web/qr.h"

#include <QTest>

using namespace quorel;

namespace {

bool dark(const QImage& image, int moduleSize, int mx, int my) {
    return qGray(image.pixel(mx * moduleSize, my * moduleSize)) < 128;
}

} // namespace

class TestQr : public QObject {
    Q_OBJECT
private slots:
    void symbolSizeFollowsTheText_data();
    void symbolSizeFollowsTheText();
    void nothingForWhatCannotBeEncoded_data();
    void nothingForWhatCannotBeEncoded();
};

void TestQr::symbolSizeFollowsTheText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("moduleSize");
    QTest::addColumn<int>("modules"); // the symbol's side without quiet zone
    // Level M in byte mode: version 1 holds 14 bytes, version 2 holds 26.
    QTest::newRow("short, version 1") << "QUOREL-42" << 1 << 21;
    QTest::newRow("14 bytes, version 1, 4 px") << "http://a.b/c/d" << 4 << 21;
    QTest::newRow("15 bytes, version 2") << "http://a.b/c/de" << 3 << 25;
    QTest::newRow("UTF-8 counts bytes") << QStringLiteral("字幕字幕字") << 2 << 25;
    QTest::newRow("a join address") << "http://192.168.1.10:8080/join?code=735512" << 2 << 29;
}

void TestQr::symbolSizeFollowsTheText() {
    QFETCH(QString, text);
    QFETCH(int, moduleSize);
    QFETCH(int, modules);
    const QImage image = qrImage(text, moduleSize);
    const int side = (modules + 2 * kQrQuietModules) * moduleSize;
    QCOMPARE(image.width(), side);
    QCOMPARE(image.height(), side);

    // The quiet zone is light all round.
    const int q = kQrQuietModules * moduleSize;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (x < q || y < q || x >= side - q || y >= side - q)
                QVERIFY2(qGray(image.pixel(x, y)) == 255,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));

    // The three finder patterns: a dark 7 x 7 ring, a light ring, a dark 3 x 3
    // core, at the top left, top right and bottom left of the symbol.
    const int m0 = kQrQuietModules;
    for (auto [fx, fy] :
         {std::pair{m0, m0}, std::pair{m0 + modules - 7, m0}, std::pair{m0, m0 + modules - 7}}) {
        for (int i = 0; i < 7; ++i) {
            QVERIFY(dark(image, moduleSize, fx + i, fy));
            QVERIFY(dark(image, moduleSize, fx + i, fy + 6));
            QVERIFY(dark(image, moduleSize, fx, fy + i));
            QVERIFY(dark(image, moduleSize, fx + 6, fy + i));
        }
        for (int i = 1; i < 6; ++i) {
            QVERIFY(!dark(image, moduleSize, fx + i, fy + 1));
            QVERIFY(!dark(image, moduleSize, fx + 1, fy + i));
        }
        QVERIFY(dark(image, moduleSize, fx + 3, fy + 3));
    }
    // The timing pattern between the top finders alternates.
    for (int i = 8; i < modules - 8; ++i)
        QCOMPARE(dark(image, moduleSize, m0 + i, m0 + 6), i % 2 == 0);
    // Each module is a whole moduleSize x moduleSize block.
    const QImage small = qrImage(text, 1);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            QCOMPARE(image.pixel(x, y), small.pixel(x / moduleSize, y / moduleSize));
}

void TestQr::nothingForWhatCannotBeEncoded_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("moduleSize");
    QTest::newRow("empty") << QString() << 4;
    QTest::newRow("module size 0") << "abc" << 0;
    QTest::newRow("negative module size") << "abc" << -3;
    QTest::newRow("beyond version 40") << QString(3000, QLatin1Char('x')) << 1;
    QTest::newRow("a side beyond int") << "abc" << 100000000;
}

void TestQr::nothingForWhatCannotBeEncoded() {
    QFETCH(QString, text);
    QFETCH(int, moduleSize);
    QVERIFY(qrImage(text, moduleSize).isNull());
}

QTEST_GUILESS_MAIN(TestQr)
#include "tst_qr.moc"
