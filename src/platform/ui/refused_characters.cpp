#include "platform/ui/refused_characters.h"

#include <QApplication>
#include <QLineEdit>
#include <QValidator>

namespace vistrel::platform::ui {
namespace {

class RefusingValidator : public QValidator {
 public:
  RefusingValidator(const QString& refused, QObject* parent) : QValidator(parent), refused_(refused) {}

  State validate(QString& input, int&) const override {
    for (const QChar c : input) {
      if (refused_.contains(c)) {
        QApplication::beep();
        return Invalid;
      }
    }
    return Acceptable;
  }

 private:
  QString refused_;
};

}  // namespace

void refuseCharacters(QLineEdit* field, const QString& characters) {
  field->setValidator(new RefusingValidator(characters, field));
}

}  // namespace vistrel::platform::ui
