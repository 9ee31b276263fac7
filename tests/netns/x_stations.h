#pragma once
// The stations of a rig as X clients: their main windows, keyboards, titles
// and screenshots, driven with xdotool (XTEST) and ImageMagick's import on the
// rig's Xvfb display. There is no window manager there, so a window gets the
// keyboard through XSetInputFocus (`xdotool windowfocus`), and every main
// window sits at (0,0); key events go to the focused window whatever the
// stacking, but only the top window's pixels are on the screen.
//
// Also the few helpers every end-to-end test of the stations' logs needs.

#include "netns_rig.h"

#include <QByteArray>
#include <QHash>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTest>
#include <functional>
#include <vector>

// Failure messages of the end-to-end tests carry logs and screenshots, so they
// are built only on failure (QVERIFY2 builds its message every time).
#define CHECK(condition, message)                                                                  \
    do {                                                                                           \
        if (!(condition))                                                                          \
            QFAIL(qPrintable(message));                                                            \
    } while (false)
#define CHECK_WITHIN(timeoutMs, condition, message)                                                \
    do {                                                                                           \
        if (!QTest::qWaitFor([&] { return bool(condition); }, timeoutMs))                          \
            QFAIL(qPrintable(message));                                                            \
    } while (false)

namespace quorel::test {

// Host i's address as the stations write it: "192.168.77.11".
QByteArray address(int i);
// `s` in double quotes, the way qDebug() shows a string.
QByteArray quoted(const QByteArray& s);
// The lines of `log` that contain `needle`, for failure messages.
QByteArray linesWith(const QByteArray& log, const QByteArray& needle);

// The pixels of a binary PPM ("P6", as XStations::grab gives it) whose colour
// passes `test` (8-bit red, green, blue); -1 when `ppm` is not such an image.
int countPixels(const QByteArray& ppm, const std::function<bool(int r, int g, int b)>& test);

class XStations {
public:
    explicit XStations(NetnsRig& rig);

    // Empty when the stations can be driven; otherwise why not (no xdotool, no
    // display). Call it before starting stations: it starts Xvfb.
    QString skipReason();
    bool canGrab() const { return canGrab_; }

    // Runs xdotool on the display; its output, and a warning on failure.
    QByteArray xdotool(const QStringList& args);
    // Station i's visible windows; with mainOnly, the main window ("Quorel", or
    // "2 : Quorel" on another channel).
    QStringList visibleWindows(int i, bool mainOnly);
    // Waits until the main window is station i's one window on screen (the
    // splash is gone) and keeps its id. False on timeout.
    bool waitForMainWindow(int i, int timeoutMs);
    QString window(int i) const;
    QString windowName(const QString& window);

    void focus(int i); // the keyboard to station i's main window
    void focusWindow(const QString& window);
    void keys(int i, const QStringList& keys);
    // On the "Screen & Input" page: turning to the next page and back puts the
    // focus in the input part, wherever it was.
    void focusInputPart(int i);
    // Esc (clears the input part), the text, Enter.
    void typeSentence(int i, const QByteArray& sentence);
    void type(int i, const QByteArray& text);
    // Waits for a message box over station i's main window, presses Enter on
    // it (its default button) and waits until it is gone. Empty on success,
    // otherwise what went wrong.
    QString closeMessageBox(int i, int timeoutMs);

    // Presses Tab in station i (from where the keyboard is) until the control
    // `name` has the focus; false if it never does within `most` Tabs. The
    // station must log quorel.window's debug lines ("focus on ...").
    bool tabTo(int i, const QByteArray& name, int most);
    // Station i's window other than its main window, once there is one; empty
    // when none came up.
    QString otherWindow(int i, int timeoutMs);

    // Starts stations 1 to count one after the other, each once the one before
    // has sent its member search, and waits for all their main windows. The
    // stations log the debug lines of quorel.<category> for each of
    // `categories`, and quorel.net's, which the start waits on. Empty on
    // success, otherwise what went wrong with station 1's last output. `only`
    // adds variables for single stations.
    QString startInTurn(int count, const QStringList& categories, int timeoutMs,
                        const QHash<int, QProcessEnvironment>& only = {});

    // On "Display 1": Ctrl+Tab three times turns to it, Tab goes to its first
    // control (the line adjustment tick), and ten Tabs more to "For Display"
    // (Button16), past the two boxes, the spacing button, the two line-feed
    // ticks, the two screen-part buttons, "Two Persons" and "One Person".
    // Space presses it and the note about the mode is closed. Empty on
    // success, otherwise what went wrong (with a screenshot).
    QString makeDisplayStation(int i, int timeoutMs);

    // Station i's main window as a binary PPM, raised first. Empty without
    // import.
    QByteArray grab(int i);
    // Saves a PNG of station i's main window in the working directory, named
    // after the test and `what`; the text tells where it is, for a failure
    // message.
    QString keepScreenshot(int i, const QString& what);

private:
    void raise(const QString& window);

    NetnsRig& rig_;
    std::vector<QString> windows_; // index i - 1
    bool canGrab_ = false;
};

} // namespace quorel::test
