#pragma once

#include <QString>

namespace vistrel::platform::ui {

// A name as the caption of a control that takes "&" for a keyboard mnemonic
// (group boxes, buttons, tabs, menu items): every "&" doubled, so that
// "Tom & Jerry.jpg" reads as it is and claims no Alt key.
inline QString nameCaption(QString name) { return name.replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace vistrel::platform::ui
