#pragma once
// The 8-person monitor's rows: laid out from the font and the lines per row,
// exchanged by two clicks, coloured by a right-click, and optionally ordered so
// that the members who are typing stand at the top in the order they started.

#include <QObject>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quorel {

class Choosers;
class Messages;
class TForm2;

class EightPersonMonitor : public QObject {
    Q_OBJECT
public:
    EightPersonMonitor(TForm2& window, QLineEdit* edit20, const std::array<QPushButton*, 8>& mainBe,
                       const std::array<QPushButton*, 8>& mainPartner, Choosers& choosers,
                       Messages& messages, QObject* parent = nullptr);

    void layoutRows();
    // Shows the rows where they stand (a row picked for a move stays hidden)
    // with the partner buttons as the main window's are.
    void showRows();
    int rowHeight() const;
    // The row (slot 0 ... 7) standing at position `position` (0 = top).
    int rowAt(int position) const;
    int pendingRow() const { return pending_; }

    void rowClicked(int row);
    void cancelMove();
    void paneChanged(int row);
    void CheckBox2Click();
    void Button1Click();
    void Button2Click();
    void rightClicked(QWidget* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeRow(int row, int top);
    void showRow(int row, bool shown);
    void reorder();
    bool idleText(int row) const;

    TForm2& w_;
    QLineEdit* edit20_;
    std::array<QPushButton*, 8> mainBe_, mainPartner_;
    Choosers& choosers_;
    Messages& messages_;
    // The panes' viewports, compared by address only: the filter also sees
    // events while the window is being destroyed.
    std::array<const QObject*, 8> viewports_{};
    std::array<int, 8> top_{};      // each row's current top
    std::array<int, 8> slotTops_{}; // the eight positions, top to bottom
    std::array<bool, 8> idle_{};
    int pending_ = -1;
};

} // namespace quorel
