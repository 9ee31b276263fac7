#include "caption/eight_person.h"

#include "base/services.h"
#include "caption/caption_windows.h"
#include "caption/monitor.h"

#include <QEvent>
#include <QMouseEvent>
#include <algorithm>

namespace quorel {

namespace {
constexpr int kButtons = 60;
} // namespace

EightPersonMonitor::EightPersonMonitor(TForm2& window, QLineEdit* edit20,
                                       const std::array<QPushButton*, 8>& mainBe,
                                       const std::array<QPushButton*, 8>& mainPartner,
                                       Choosers& choosers, Messages& messages, QObject* parent)
    : QObject(parent), w_(window), edit20_(edit20), mainBe_(mainBe), mainPartner_(mainPartner),
      choosers_(choosers), messages_(messages) {
    for (int k = 0; k < 8; ++k) {
        const auto i = static_cast<std::size_t>(k);
        w_.names[i]->installEventFilter(this);
        viewports_[i] = w_.panes[i]->viewport();
        w_.panes[i]->viewport()->installEventFilter(this);
        connect(w_.panes[i], &QTextEdit::textChanged, this,
                [this, k] { reportErrors(messages_, [&] { paneChanged(k); }); });
    }
    auto guarded = [this](auto fn) { return [this, fn] { reportErrors(messages_, fn); }; };
    connect(w_.CheckBox2, &QCheckBox::clicked, this, guarded([this] { CheckBox2Click(); }));
    connect(w_.Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(w_.Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(&w_, &TForm2::emptyClicked, this, [this] { cancelMove(); });
    connect(edit20_, &QLineEdit::textChanged, this, guarded([this] { layoutRows(); }));
    layoutRows();
}

int EightPersonMonitor::rowHeight() const {
    bool ok = false;
    const int lines = edit20_->text().toInt(&ok);
    return (ok ? std::clamp(lines, 1, 9) : 1) * w_.panes[0]->font().pointSize() * 2 + 2;
}

void EightPersonMonitor::placeRow(int row, int top) {
    const auto i = static_cast<std::size_t>(row);
    const int h = rowHeight();
    const int nameWidth = std::max(40, (w_.width() - kButtons) / 4);
    top_[i] = top;
    w_.bePartner[i]->setGeometry(0, top, kButtons / 2, h);
    w_.partner[i]->setGeometry(kButtons / 2, top, kButtons / 2, h);
    w_.names[i]->setGeometry(kButtons + 2, top, nameWidth, h);
    w_.panes[i]->setGeometry(kButtons + nameWidth + 4, top,
                             std::max(20, w_.width() - kButtons - nameWidth - 4), h);
}

void EightPersonMonitor::showRow(int row, bool shown) {
    const auto i = static_cast<std::size_t>(row);
    w_.names[i]->setVisible(shown);
    w_.panes[i]->setVisible(shown);
    // The twins follow the main window's buttons.
    w_.bePartner[i]->setVisible(shown && !mainBe_[i]->isHidden());
    w_.partner[i]->setVisible(shown && !mainPartner_[i]->isHidden());
}

void EightPersonMonitor::layoutRows() {
    const QFont font = w_.panes[0]->font();
    const int h = rowHeight();
    int y = 0;
    for (int k = 0; k < 8; ++k) {
        const auto i = static_cast<std::size_t>(k);
        w_.panes[i]->setFont(font);
        w_.names[i]->setFont(font);
        slotTops_[i] = y;
        placeRow(k, y);
        idle_[i] = true;
        y += h + 4;
    }
    w_.Button1->setGeometry(0, y, 80, 24);
    w_.Button2->setGeometry(84, y, 140, 24);
    w_.Label1->setGeometry(0, y + 28, w_.width(), 32);
    w_.Label2->setGeometry(0, y + 60, w_.width(), 16);
    w_.CheckBox1->setGeometry(0, y + 80, w_.width(), 20);
    w_.CheckBox2->setGeometry(0, y + 80 + 20 + 16, w_.width(), 20);
    pending_ = -1;
    showRows();
}

void EightPersonMonitor::showRows() {
    for (int k = 0; k < 8; ++k)
        showRow(k, k != pending_);
}

int EightPersonMonitor::rowAt(int position) const {
    for (int k = 0; k < 8; ++k)
        if (top_[static_cast<std::size_t>(k)] == slotTops_[static_cast<std::size_t>(position)])
            return k;
    return -1;
}

bool EightPersonMonitor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress)
        return QObject::eventFilter(watched, event);
    const auto* me = static_cast<QMouseEvent*>(event);
    for (int k = 0; k < 8; ++k) {
        const auto i = static_cast<std::size_t>(k);
        QWidget* box = nullptr;
        if (watched == w_.names[i])
            box = w_.names[i];
        else if (watched == viewports_[i])
            box = w_.panes[i];
        if (box == nullptr)
            continue;
        reportErrors(messages_, [&] {
            if (me->button() == Qt::RightButton)
                rightClicked(box);
            else if (me->button() == Qt::LeftButton)
                rowClicked(k);
        });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void EightPersonMonitor::rowClicked(int row) {
    if (w_.CheckBox2->isChecked())
        return;
    if (pending_ < 0) {
        pending_ = row;
        showRow(row, false);
        return;
    }
    const int p = pending_;
    pending_ = -1;
    const int pTop = top_[static_cast<std::size_t>(p)];
    placeRow(p, top_[static_cast<std::size_t>(row)]);
    placeRow(row, pTop);
    showRow(p, true);
}

void EightPersonMonitor::cancelMove() {
    if (pending_ < 0)
        return;
    pending_ = -1;
    for (int k = 0; k < 8; ++k)
        showRow(k, true);
}

void EightPersonMonitor::rightClicked(QWidget* box) {
    if (const auto c = choosers_.color(box->palette().color(QPalette::Base))) {
        QPalette pal = box->palette();
        pal.setColor(QPalette::Base, *c);
        box->setPalette(pal);
    }
}

void EightPersonMonitor::Button1Click() {
    const auto choice =
        choosers_.font(w_.panes[0]->font(), w_.panes[0]->palette().color(QPalette::Text));
    if (!choice)
        return;
    for (std::size_t i = 0; i < 8; ++i)
        for (QWidget* box :
             {static_cast<QWidget*>(w_.panes[i]), static_cast<QWidget*>(w_.names[i])}) {
            box->setFont(choice->font);
            // Each box keeps the background it was given by a right-click.
            QPalette pal = box->palette();
            pal.setColor(QPalette::Text, choice->color);
            box->setPalette(pal);
        }
    layoutRows();
}

void EightPersonMonitor::Button2Click() {
    if (const auto c = choosers_.color(w_.panes[0]->palette().color(QPalette::Base))) {
        for (std::size_t i = 0; i < 8; ++i)
            for (QWidget* box :
                 {static_cast<QWidget*>(w_.panes[i]), static_cast<QWidget*>(w_.names[i])}) {
                QPalette pal = box->palette();
                pal.setColor(QPalette::Base, *c);
                box->setPalette(pal);
            }
    }
}

void EightPersonMonitor::CheckBox2Click() {
    if (w_.CheckBox2->isChecked() && pending_ >= 0) {
        w_.CheckBox2->setChecked(false);
        return;
    }
    layoutRows();
}

bool EightPersonMonitor::idleText(int row) const {
    const QString t = w_.panes[static_cast<std::size_t>(row)]->toPlainText();
    return t.isEmpty() || t == MonitorPart::kErased || t == MonitorPart::kLineFeed ||
           t == QLatin1String(" ");
}

void EightPersonMonitor::paneChanged(int row) {
    if (!w_.CheckBox2->isChecked())
        return;
    const auto i = static_cast<std::size_t>(row);
    if (idle_[i]) {
        reorder();
        idle_[i] = false;
    } else if (idleText(row)) {
        reorder();
        idle_[i] = true;
    }
}

void EightPersonMonitor::reorder() {
    std::array<int, 8> order{0, 1, 2, 3, 4, 5, 6, 7};
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return top_[static_cast<std::size_t>(a)] < top_[static_cast<std::size_t>(b)];
    });
    std::array<int, 8> placed{};
    std::size_t n = 0;
    for (int pass = 0; pass < 2; ++pass)
        for (int row : order)
            if ((pass == 0) != idleText(row))
                placed[n++] = row;
    for (std::size_t pos = 0; pos < 8; ++pos)
        placeRow(placed[pos], slotTops_[pos]);
}

} // namespace quorel
