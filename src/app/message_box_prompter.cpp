#include "app/message_box_prompter.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vistrel::app {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

// The program's texts break lines with CR LF or a lone CR.
QString displayText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n");
  shown.replace('\r', '\n');
  return shown;
}

QMessageBox::Icon boxIcon(Icon icon) {
  switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

Answer MessageBoxPrompter::ask(const std::string& text, const std::string& caption, Buttons buttons,
                               Icon icon) {
  QMessageBox box(boxIcon(icon), QString::fromStdString(caption), displayText(text), QMessageBox::NoButton,
                  parent_);
  QPushButton* all = nullptr;
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case Buttons::YesNoAll:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      all = box.addButton("All", QMessageBox::AcceptRole);
      break;
  }
  box.exec();
  if (all && box.clickedButton() == all) return Answer::All;
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

void MessageBoxPrompter::show(const std::string& text, const std::string& caption, Icon icon) {
  QMessageBox box(boxIcon(icon), QString::fromStdString(caption), displayText(text), QMessageBox::Ok, parent_);
  box.exec();
}

std::optional<std::string> MessageBoxPrompter::input(const std::string& caption, const std::string& prompt,
                                                     const std::string& initial) {
  bool ok = false;
  const QString answer = QInputDialog::getText(parent_, QString::fromStdString(caption), QString::fromStdString(prompt),
                                               QLineEdit::Normal, QString::fromStdString(initial), &ok);
  if (!ok) return std::nullopt;
  return answer.toStdString();
}

}  // namespace vistrel::app
