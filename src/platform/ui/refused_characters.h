#pragma once

#include <QString>

class QLineEdit;

namespace vistrel::platform::ui {

// Typing (or pasting) one of the characters into the field is refused with a beep.
void refuseCharacters(QLineEdit* field, const QString& characters);

}  // namespace vistrel::platform::ui
