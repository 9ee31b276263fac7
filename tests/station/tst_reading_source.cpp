// The reading of a conversion, taken from the input method's composition:
// synthetic input method events as IBus and Fcitx send them through Qt, on the
// three kinds of editor the station uses.

#include "caption/reading_source.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <memory>

using quorel::ReadingSource;
using namespace Qt::StringLiterals;

namespace {

// One input method event: the composition text and the committed text.
struct Step {
    QString preedit;
    QString commit;
};
using Steps = QList<Step>;

Step pre(const QString& s) {
    return {s, {}};
}
Step commit(const QString& s) {
    return {{}, s};
}

void send(QObject* editor, const Step& s) {
    QInputMethodEvent e(s.preedit, {});
    if (!s.commit.isEmpty())
        e.setCommitString(s.commit);
    QCoreApplication::sendEvent(editor, &e);
}

struct Editor {
    const char* name;
    std::function<QWidget*()> make;
    std::function<QString(QWidget*)> text;
};

const QList<Editor>& editors() {
    static const QList<Editor> list{
        {"QTextEdit", [] { return new QTextEdit; },
         [](QWidget* w) { return static_cast<QTextEdit*>(w)->toPlainText(); }},
        {"QPlainTextEdit", [] { return new QPlainTextEdit; },
         [](QWidget* w) { return static_cast<QPlainTextEdit*>(w)->toPlainText(); }},
        {"QLineEdit", [] { return new QLineEdit; },
         [](QWidget* w) { return static_cast<QLineEdit*>(w)->text(); }},
    };
    return list;
}

} // namespace

Q_DECLARE_METATYPE(Steps)

class TstReadingSource : public QObject {
    Q_OBJECT

private slots:
    void compositions_data();
    void compositions();
    void unwatched();
};

// The log names each notification; a reading also shows the editor's text at
// the moment it arrives, which must not yet hold the committed text.
void TstReadingSource::compositions_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("text");

    QTest::newRow("one conversion")
        << Steps{pre(u"k"_s),     pre(u"か"_s),     pre(u"かn"_s),  pre(u"かん"_s),
                 pre(u"かんj"_s), pre(u"かんじ"_s), pre(u"漢字"_s), commit(u"漢字"_s)}
        << QStringList{u"started"_s,        u"changed k"_s,    u"changed か"_s,
                       u"changed かn"_s,    u"changed かん"_s, u"changed かんj"_s,
                       u"changed かんじ"_s, u"changed 漢字"_s, u"reading ｶﾝｼﾞ in []"_s,
                       u"ended"_s}
        << u"漢字"_s;
    QTest::newRow("two conversions in a row")
        << Steps{pre(u"かんじ"_s),   pre(u"漢字"_s), commit(u"漢字"_s),
                 pre(u"へんかん"_s), pre(u"変換"_s), commit(u"変換"_s)}
        << QStringList{u"started"_s,
                       u"changed かんじ"_s,
                       u"changed 漢字"_s,
                       u"reading ｶﾝｼﾞ in []"_s,
                       u"ended"_s,
                       u"started"_s,
                       u"changed へんかん"_s,
                       u"changed 変換"_s,
                       u"reading ﾍﾝｶﾝ in [漢字]"_s,
                       u"ended"_s}
        << u"漢字変換"_s;
    QTest::newRow("kana committed as typed")
        << Steps{pre(u"かな"_s), commit(u"かな"_s)}
        << QStringList{u"started"_s, u"changed かな"_s, u"reading ｶﾅ in []"_s, u"ended"_s}
        << u"かな"_s;
    QTest::newRow("converted to katakana")
        << Steps{pre(u"こーひー"_s), pre(u"コーヒー"_s), commit(u"コーヒー"_s)}
        << QStringList{u"started"_s, u"changed こーひー"_s, u"changed コーヒー"_s,
                       u"reading ｺｰﾋｰ in []"_s, u"ended"_s}
        << u"コーヒー"_s;
    QTest::newRow("cancelled") << Steps{pre(u"かな"_s), pre(QString())}
                               << QStringList{u"started"_s, u"changed かな"_s, u"ended"_s}
                               << QString();
    QTest::newRow("direct input has no reading")
        << Steps{commit(u"a"_s)} << QStringList{u"reading  in []"_s} << u"a"_s;
    QTest::newRow("a cancelled reading is not kept")
        << Steps{pre(u"かな"_s), pre(QString()), commit(u"a"_s)}
        << QStringList{u"started"_s, u"changed かな"_s, u"ended"_s, u"reading  in []"_s} << u"a"_s;
    // Typing on after a conversion commits it and opens the next composition
    // in one event.
    QTest::newRow("commit and next composition at once")
        << Steps{pre(u"かんじ"_s),   pre(u"漢字"_s), {u"へ"_s, u"漢字"_s},
                 pre(u"へんかん"_s), pre(u"変換"_s), commit(u"変換"_s)}
        << QStringList{u"started"_s,      u"changed かんじ"_s,
                       u"changed 漢字"_s, u"reading ｶﾝｼﾞ in []"_s,
                       u"ended"_s,        u"started"_s,
                       u"changed へ"_s,   u"changed へんかん"_s,
                       u"changed 変換"_s, u"reading ﾍﾝｶﾝ in [漢字]"_s,
                       u"ended"_s}
        << u"漢字変換"_s;
    QTest::newRow("same text again is no change")
        << Steps{pre(u"か"_s), pre(u"か"_s), commit(u"か"_s)}
        << QStringList{u"started"_s, u"changed か"_s, u"reading ｶ in []"_s, u"ended"_s} << u"か"_s;
}

void TstReadingSource::compositions() {
    QFETCH(Steps, steps);
    QFETCH(QStringList, log);
    QFETCH(QString, text);

    for (const Editor& kind : editors()) {
        const std::unique_ptr<QWidget> editor(kind.make());
        ReadingSource source;
        source.watch(editor.get());
        QStringList got;
        QObject* const e = editor.get();
        connect(&source, &ReadingSource::compositionStarted, this, [&](QObject* o) {
            QCOMPARE(o, e);
            QVERIFY(source.composing());
            got << u"started"_s;
        });
        connect(&source, &ReadingSource::compositionChanged, this,
                [&](QObject*, const QString& p) { got << u"changed "_s + p; });
        connect(&source, &ReadingSource::compositionEnded, this, [&](QObject*) {
            QVERIFY(!source.composing());
            got << u"ended"_s;
        });
        connect(&source, &ReadingSource::readingConfirmed, this, [&](QObject*, const QString& r) {
            got << u"reading %1 in [%2]"_s.arg(r, kind.text(editor.get()));
        });
        for (const Step& s : steps)
            send(e, s);
        QVERIFY2(got == log, kind.name);
        QVERIFY2(kind.text(editor.get()) == text, kind.name);
        QVERIFY(!source.composing());
    }
}

void TstReadingSource::unwatched() {
    QTextEdit editor;
    ReadingSource source;
    int signals_ = 0;
    connect(&source, &ReadingSource::compositionStarted, this, [&] { ++signals_; });
    connect(&source, &ReadingSource::readingConfirmed, this, [&] { ++signals_; });
    source.watch(&editor);
    source.unwatch(&editor);
    send(&editor, pre(u"かんじ"_s));
    send(&editor, commit(u"漢字"_s));
    QCOMPARE(signals_, 0);
    QCOMPARE(editor.toPlainText(), u"漢字"_s);

    // An editor that goes away mid-composition leaves nothing open behind.
    auto* gone = new QLineEdit;
    source.watch(gone);
    send(gone, pre(u"か"_s));
    QVERIFY(source.composing());
    delete gone;
    QVERIFY(!source.composing());
}

QTEST_MAIN(TstReadingSource)
#include "tst_reading_source.moc"
