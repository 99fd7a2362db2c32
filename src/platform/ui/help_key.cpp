#include "platform/ui/help_key.h"

#include <QAbstractButton>
#include <QDialog>
#include <QKeyEvent>

#include "platform/ui/help.h"

namespace vistrel::platform::ui {
namespace {

QAbstractButton* helpButton(const QDialog& dialog) {
  for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
    if (button->isVisible() && button->isEnabled() && QString(button->text()).remove('&') == "Help") return button;
  }
  return nullptr;
}

}  // namespace

HelpKey::HelpKey(std::function<void(const QUrl&)> open, QObject* parent) : QObject(parent), open_(std::move(open)) {}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !widget) return false;
  const auto* dialog = qobject_cast<QDialog*>(widget->window());
  if (!dialog) return false;  // the main window has F1 in its Help menu
  if (const QString section = dialog->property("helpSection").toString(); !section.isEmpty()) {
    open_(helpUrl(section));
  } else if (QAbstractButton* button = helpButton(*dialog)) {
    button->click();
  } else {
    open_(helpUrl(0));
  }
  return true;
}

}  // namespace vistrel::platform::ui
