#pragma once
// The channel: which port set this station's endpoints use, so that several
// teams can share one network.

#include <QList>
#include <QObject>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quorel {

class Messages;
class TNMUDP;
class Titles;
struct StationState;

class Channels : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QComboBox* ComboBox2;  // "1ch" ... "12ch"
        QCheckBox* CheckBox60; // "Ｌｕｍｏに表示"
        QCheckBox* CheckBox19; // messages enabled
        QLineEdit* Edit35;     // own address
        // The karaoke remote's two send boxes; null until that window has them.
        QCheckBox* karaokeColour = nullptr; // "文字ｶﾗに送信"
        QCheckBox* karaoke = nullptr;       // "ｶﾗｵｹに送信"
    };
    struct Endpoint {
        TNMUDP* endpoint;
        int base;
        int moves; // PortPlanEntry::Moves
    };
    // Steps that belong to the membership subsystem; empty until it exists.
    struct Hooks {
        std::function<void()> releasePartner;
        std::function<void()> leaveAndClearMembers;
        std::function<void()> searchMembers;
    };

    Channels(const Controls& c, QList<Endpoint> endpoints, Titles& titles, StationState& state,
             Messages& messages, QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    // The selected item as the selector holds it: -1 when the text typed into
    // it names no item.
    int itemIndex() const;
    void ApplyChannel();
    void CheckBox60Click();

    static inline const QString kLumoNote =
        QStringLiteral("＜２重起動ＬｕｍｏをＰｅｎｎａの表示にする＞\n"
                       "同じパソコンでＬｕｍｏを「２重起動用」のチャンネルで起動してから、\n"
                       "このチェックを入れてください。\n"
                       "入力した文や受信した文などが、そのＬｕｍｏにも表示されます。");

private:
    Controls c_;
    QList<Endpoint> endpoints_;
    Titles& titles_;
    StationState& state_;
    Messages& messages_;
    Hooks hooks_;
    int lastApplied_ = 0;
};

} // namespace quorel
