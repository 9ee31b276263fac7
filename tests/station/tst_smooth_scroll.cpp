// The smooth screen moves what it already shows and repaints only the rows
// that change. These tests put a picture drawn that way beside one drawn whole
// every frame, as the screen first did, drive both through the same frames and
// compare what the window system really shows (the backing store on the
// offscreen platform, the X server's pixels under Xvfb). A difference writes
// both screenshots side by side into the temp folder.

#include "caption/smooth_picture.h"
#include "windows/fonts.h"
#include "wire/display_record.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTest>

using namespace quorel;

namespace {

struct Geometry {
    int points;  // font size
    int spacing; // dots between lines
    int lines;   // display lines
    int steps;   // ticks per line
};

class SideBySide {
public:
    explicit SideBySide(const QSize& size) {
        window_.setFixedSize(size.width() * 2 + 4, size.height());
        window_.setStyleSheet(QStringLiteral("background: gray"));
        for (SmoothPicture* p : {&changed_, &whole_}) {
            p->setParent(&window_);
            p->resize(size);
        }
        changed_.move(0, 0);
        whole_.move(size.width() + 4, 0);
        whole_.renderer().setIncremental(false);
        window_.show();
    }
    bool exposed() { return QTest::qWaitForWindowExposed(&window_); }

    void setFont(const QFont& f) {
        for (SmoothPicture* p : {&changed_, &whole_})
            p->renderer().setFont(f);
    }
    void setBackground(const QColor& c) {
        for (SmoothPicture* p : {&changed_, &whole_})
            p->renderer().setBackground(c);
    }
    void resize(const QSize& size) {
        window_.setFixedSize(size.width() * 2 + 4, size.height());
        changed_.resize(size);
        whole_.resize(size);
        whole_.move(size.width() + 4, 0);
    }
    void render(const DisplayRecord& r, int shown, int n, int spacing, int offset) {
        whole_.render(r, shown, n, spacing, offset);
        changed_.render(r, shown, n, spacing, offset);
    }

    // What both pictures show on the screen right now.
    QImage shot(SmoothPicture& p) {
        QScreen* screen = window_.screen();
        const QPoint at = p.mapTo(&window_, QPoint(0, 0));
        return screen->grabWindow(window_.winId(), at.x(), at.y(), p.width(), p.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // Lets the window system catch up, then compares both pictures as shown
    // with each other and with the frame the renderer holds.
    bool sameOnScreen(const QString& what) {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        const QImage a = shot(changed_);
        const QImage b = shot(whole_);
        const QImage truth = whole_.renderer().image().convertToFormat(QImage::Format_RGB32);
        if (a == b && b == truth)
            return true;
        QImage both(a.width() * 2 + 4, a.height(), QImage::Format_RGB32);
        both.fill(Qt::red);
        QPainter p(&both);
        p.drawImage(0, 0, a);
        p.drawImage(a.width() + 4, 0, b);
        p.end();
        const QString file =
            QDir::temp().filePath(QStringLiteral("smooth-scroll-%1.png").arg(what));
        both.save(file);
        qWarning().noquote() << "pictures differ at" << what << "(changed rows | whole):" << file
                             << "whole matches its frame:" << (b == truth);
        return false;
    }

private:
    QWidget window_;
    SmoothPicture changed_;
    SmoothPicture whole_;
};

QStringList captions(int count, int from = 0) {
    static const QStringList texts = {
        QStringLiteral("本日は、お忙しい中お集まりいただきありがとうございます。"),
        QStringLiteral("（拍手）"),
        QStringLiteral("Slides 12-14: results of the 2026 survey"),
        QStringLiteral("それでは、次の議題に移ります。"),
        QStringLiteral("（拍手）"),
        QStringLiteral("質問のある方は手を挙げてください。"),
        QStringLiteral("ｶﾀｶﾅと漢字とＡＢＣ、混ぜて表示します。"),
    };
    QStringList out;
    for (int i = from; i < from + count; ++i)
        out << QStringLiteral("%1 %2").arg(i).arg(texts[i % texts.size()]);
    return out;
}

} // namespace

class TestSmoothScroll : public QObject {
    Q_OBJECT
private slots:
    void glidingPictureMatchesTheWholeFrame_data();
    void glidingPictureMatchesTheWholeFrame();
    void glideTickRedrawsOnlyTheEnteringRows();
};

void TestSmoothScroll::glidingPictureMatchesTheWholeFrame_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("flushEvery"); // ticks between two paints
    QTest::newRow("lines apart") << 18 << 36 << 7 << 6 << 1;
    QTest::newRow("paints lag behind ticks") << 18 << 36 << 7 << 6 << 3;
    QTest::newRow("lines overlap") << 30 << 22 << 10 << 11 << 1;
    QTest::newRow("one dot a tick") << 14 << 24 << 9 << 24 << 2;
}

// One long run of what a display goes through: glides with and without paints
// in between, idle ticks, appends, a corrected and an undone line, a step back,
// Cls, a new background, a new font and a new size.
void TestSmoothScroll::glidingPictureMatchesTheWholeFrame() {
    QFETCH(int, points);
    QFETCH(int, spacing);
    QFETCH(int, lines);
    QFETCH(int, steps);
    QFETCH(int, flushEvery);
    const int distance = std::max(1, spacing / steps);
    SideBySide pics(QSize(360, spacing * lines));
    pics.setFont(japaneseFont(kDefaultFace, points));
    QVERIFY(pics.exposed());

    DisplayRecord record;
    record.reset(captions(lines + 3));
    int shown = lines;
    int tick = 0;
    auto frame = [&](int step) { pics.render(record, shown, lines, spacing, step * distance); };
    auto glide = [&](int count, const char* what) {
        for (int line = 0; line < count; ++line) {
            for (int step = 0; step <= steps; ++step) {
                frame(step);
                if (++tick % flushEvery == 0 &&
                    !pics.sameOnScreen(QStringLiteral("%1-%2").arg(what).arg(tick)))
                    return false;
            }
            ++shown;
        }
        return pics.sameOnScreen(QString::fromLatin1(what));
    };

    QVERIFY(glide(3, "glide"));
    frame(0);
    frame(0); // idle ticks change nothing
    QVERIFY(pics.sameOnScreen(QStringLiteral("idle")));

    for (const QString& s : captions(4, 100))
        record.addLine(s);
    QVERIFY(glide(2, "appended"));

    // A correction of a line on screen, then an undone last line, mid-glide.
    record.replaceLines(shown - 2, 1, {QStringLiteral("訂正された行です。")}, true);
    frame(1);
    record.removeLastLine();
    frame(2);
    QVERIFY(pics.sameOnScreen(QStringLiteral("corrected")));

    --shown; // the screen steps back a line
    frame(0);
    QVERIFY(pics.sameOnScreen(QStringLiteral("back")));

    record.addLine(QString());
    record.addLine(QStringLiteral("（拍手）"));
    record.addLine(QStringLiteral("（拍手）"));
    record.addLine(QStringLiteral("（拍手）"));
    QVERIFY(glide(4, "same-texts"));

    shown = record.lineCount() + lines; // Cls: nothing on the screen
    frame(0);
    frame(1);
    QVERIFY(pics.sameOnScreen(QStringLiteral("cls")));
    // Short lines only: the move leaves the columns after their ink alone.
    for (const char* s : {"はい。", "OK", "（拍手）", "ええ。"})
        record.addLine(QString::fromUtf8(s));
    shown = record.lineCount() - 4;
    QVERIFY(glide(3, "short-lines"));
    for (const QString& s : captions(3, 200))
        record.addLine(s);
    QVERIFY(glide(3, "after-short"));

    pics.setBackground(QColor(0, 0, 64));
    QVERIFY(glide(1, "background"));
    pics.setFont(japaneseFont(kDefaultFace, points + 6));
    QVERIFY(glide(1, "font"));
    pics.resize(QSize(300, spacing * (lines - 1)));
    QVERIFY(glide(1, "resized"));
}

// What makes scrolling cheap: a glide tick reports the move and only the rows
// that enter, and an idle tick reports nothing.
void TestSmoothScroll::glideTickRedrawsOnlyTheEnteringRows() {
    DisplayRecord record;
    record.reset(captions(12));
    SmoothRenderer r;
    r.setFont(japaneseFont(kDefaultFace, 18));
    r.resize(QSize(400, 7 * 36));
    QVERIFY(r.render(record, 8, 7, 36, 0).full);

    const SmoothRenderer::Change glide = r.render(record, 8, 7, 36, 6);
    QCOMPARE(glide.scroll, 6);
    QVERIFY(!glide.full);
    const std::vector<std::pair<int, int>> entering = {{7 * 36 - 6, 7 * 36}};
    QCOMPARE(glide.rows, entering);

    QCOMPARE(glide.right, 400); // long lines reach the edge

    QVERIFY(r.render(record, 8, 7, 36, 6).none());
    QCOMPARE(r.render(record, 8, 7, 36, 12).scroll, 6);

    // Lines that end early: only the columns up to their ink move.
    record.reset({QStringLiteral("はい。"), QStringLiteral("OK"), QStringLiteral("ええ。")});
    r.render(record, 2, 7, 36, 0);
    const SmoothRenderer::Change shortLines = r.render(record, 2, 7, 36, 6);
    QCOMPARE(shortLines.scroll, 6);
    QVERIFY2(shortLines.right > 10 && shortLines.right < 150,
             qPrintable(QString::number(shortLines.right)));
}

QTEST_MAIN(TestSmoothScroll)
#include "tst_smooth_scroll.moc"
