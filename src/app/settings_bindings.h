#pragma once
// Binds every settings key whose control exists to that control. Windows that
// are built later add their own keys the same way; the file format does not
// change with them.

#include <QColor>

namespace quorel {

class Station;
namespace settings {
class SettingsRegistry;
}

void bindStationSettings(Station& station, settings::SettingsRegistry& registry);

// The page colours every window shares: the background, the item text and
// the explanation text of the labels that explain options.
void applyPageBackground(Station& station, const QColor& c);
void applyItemTextColour(Station& station, const QColor& c);
void ApplyExplanationColour(Station& station, const QColor& c);

} // namespace quorel
