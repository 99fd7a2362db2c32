#include "metadata/ui/text_limit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "platform/text.h"

namespace vistrel::metadata::ui {
namespace {

// The longest start of the text within the limit; the text itself when it fits.
QString fitted(const QString& text, std::size_t limit, TextUnit unit) {
  if (unit == TextUnit::Characters) {
    const QList<uint> points = text.toUcs4();
    if (points.size() <= qsizetype(limit)) return text;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()), qsizetype(limit));
  }
  const std::string bytes = text.toStdString();
  return bytes.size() <= limit ? text : QString::fromStdString(std::string(platform::utf8Prefix(bytes, limit)));
}

}  // namespace

void limitText(QLineEdit* edit, std::size_t limit, TextUnit unit) {
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, limit, unit](const QString& text) {
    const QString fit = fitted(text, limit, unit);
    if (fit.size() == text.size()) return;
    const int cursor = edit->cursorPosition();
    edit->setText(fit);
    edit->setCursorPosition(std::min<int>(cursor, int(fit.size())));
  });
}

void limitText(QPlainTextEdit* edit, std::size_t limit, TextUnit unit) {
  QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, limit, unit] {
    const QString text = edit->toPlainText();
    const QString fit = fitted(text, limit, unit);
    if (fit.size() == text.size()) return;
    edit->setPlainText(fit);
    edit->moveCursor(QTextCursor::End);
  });
}

}  // namespace vistrel::metadata::ui
