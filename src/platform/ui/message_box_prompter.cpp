#include "platform/ui/message_box_prompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QThread>

namespace vistrel::platform::ui {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

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

QMessageBox::StandardButtons boxButtons(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::YesNoAll: return QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll;
    case Buttons::YesNoToAll: return QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::NoToAll;
  }
  return QMessageBox::Ok;
}

Answer answerOf(int button) {
  switch (button) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::YesToAll: return Answer::All;
    case QMessageBox::NoToAll: return Answer::NoToAll;
    default: return Answer::Cancel;
  }
}

QString qt(const std::string& text) { return QString::fromStdString(text); }

// The program's messages break lines the old way, with "\r\n" or a lone "\r";
// a message box shows only "\n" as a break.
QString boxText(const std::string& text) {
  QString result = qt(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return result;
}

// A box under a window that stays on top (the progress window of a gallery
// run) could not be read: it belongs to that window then, and stays on top too.
QWidget* ownerOf(QWidget* parent) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return window;
  }
  return parent;
}

// Names in the texts are shown as they are, never taken for markup.
void prepare(QMessageBox& box) {
  box.setTextFormat(Qt::PlainText);
  if (box.parentWidget() && box.parentWidget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
  }
}

}  // namespace

void runOnThreadOf(QObject* context, const std::function<void()>& function) {
  if (QThread::currentThread() == context->thread()) {
    function();
  } else {
    QMetaObject::invokeMethod(context, function, Qt::BlockingQueuedConnection);
  }
}

void joinWhileServing(std::thread& worker, const std::atomic<bool>& done) {
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  if (worker.joinable()) worker.join();
}

Answer MessageBoxPrompter::ask(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) {
  QMessageBox box(boxIcon(icon), qt(caption), boxText(text), boxButtons(buttons), ownerOf(parent_));
  prepare(box);
  return answerOf(box.exec());
}

void MessageBoxPrompter::show(const std::string& text, const std::string& caption, Icon icon) {
  QMessageBox box(boxIcon(icon), qt(caption), boxText(text), QMessageBox::Ok, ownerOf(parent_));
  prepare(box);
  box.exec();
}

std::optional<std::string> MessageBoxPrompter::input(const std::string& caption, const std::string& prompt,
                                                     const std::string& initial) {
  bool ok = false;
  const QString text = QInputDialog::getText(ownerOf(parent_), qt(caption), boxText(prompt), QLineEdit::Normal, qt(initial), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

Answer GuiThreadPrompter::ask(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) {
  Answer answer = Answer::Cancel;
  runOnThreadOf(context_, [&] { answer = target_.ask(text, caption, buttons, icon); });
  return answer;
}

void GuiThreadPrompter::show(const std::string& text, const std::string& caption, Icon icon) {
  runOnThreadOf(context_, [&] { target_.show(text, caption, icon); });
}

std::optional<std::string> GuiThreadPrompter::input(const std::string& caption, const std::string& prompt,
                                                    const std::string& initial) {
  std::optional<std::string> reply;
  runOnThreadOf(context_, [&] { reply = target_.input(caption, prompt, initial); });
  return reply;
}

}  // namespace vistrel::platform::ui
