#include "net/channels.h"

#include "base/services.h"
#include "net/nmudp.h"
#include "windows/titles.h"
#include "wire/address.h"
#include "wire/port_plan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace quorel {

Channels::Channels(const Controls& c, QList<Endpoint> endpoints, Titles& titles,
                   StationState& state, Messages& messages, QObject* parent)
    : QObject(parent), c_(c), endpoints_(std::move(endpoints)), titles_(titles), state_(state),
      messages_(messages) {
    // Choosing an item and typing into the selector both change the channel
    // (typed text that names no item gives channel 1's ports); the two signals
    // of one choice apply it once.
    auto changed = [this] {
        reportErrors(messages_, [&] {
            if (itemIndex() != lastApplied_)
                ApplyChannel();
        });
    };
    connect(c_.ComboBox2, &QComboBox::currentIndexChanged, this, changed);
    connect(c_.ComboBox2, &QComboBox::editTextChanged, this, changed);
    connect(c_.CheckBox60, &QCheckBox::toggled, this,
            [this] { reportErrors(messages_, [&] { CheckBox60Click(); }); });
}

int Channels::itemIndex() const {
    if (c_.ComboBox2->isEditable())
        return c_.ComboBox2->findText(c_.ComboBox2->currentText());
    return c_.ComboBox2->currentIndex();
}

void Channels::ApplyChannel() {
    // 1. Without a valid own address nothing moves.
    if (CheckAddress(c_.Edit35->text()) != 0)
        return;
    // 2, 3. The partnership and the member list belong to the old channel.
    if (hooks_.releasePartner)
        hooks_.releasePartner();
    if (hooks_.leaveAndClearMembers)
        hooks_.leaveAndClearMembers();
    // 4. Titles.
    const int index = itemIndex();
    lastApplied_ = index;
    titles_.applyChannel(index);
    // 5. Ports.
    const int offset = channelOffset(index);
    for (const Endpoint& e : endpoints_) {
        int port = e.endpoint->LocalPort();
        switch (e.moves) {
        case PortPlanEntry::WithChannel:
            port = e.base + offset;
            break;
        case PortPlanEntry::Fixed:
            port = e.base;
            break;
        case PortPlanEntry::Karaoke:
            // The later box wins when both are ticked; with neither the port stays.
            if (c_.karaokeColour != nullptr && c_.karaokeColour->isChecked())
                port = kKaraokeColourPort + offset;
            if (c_.karaoke != nullptr && c_.karaoke->isChecked())
                port = kKaraokePort + offset;
            break;
        }
        e.endpoint->setLocalPort(port);
        e.endpoint->RemotePort = port;
    }
    // 6. Find the members of the new channel.
    if (hooks_.searchMembers)
        hooks_.searchMembers();
}

void Channels::CheckBox60Click() {
    if (c_.CheckBox60->isChecked() && state_.settingsReady)
        showIfEnabled(messages_, c_.CheckBox19, kLumoNote);
}

} // namespace quorel
