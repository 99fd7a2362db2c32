#include "platform/collation.h"

#include <QCollator>
#include <QLocale>
#include <QString>

namespace vistrel::platform {
namespace {

// The C locale would compare code points: capitals first, "été" after "t".
QLocale collationLocale() {
  const QLocale user;
  return user.language() == QLocale::C ? QLocale(QLocale::English) : user;
}

// A collator is costly to set up and sorting calls for one on every pair:
// each thread keeps the four it needs, renewed when the locale changes.
struct Collators {
  QLocale locale{QLocale::C};
  QCollator byCase[2][2];  // [numbersByValue][case-sensitive]

  const QCollator& get(bool numbers, bool caseSensitive) {
    const QLocale wanted = collationLocale();
    if (wanted != locale) {
      locale = wanted;
      for (int n = 0; n < 2; ++n) {
        for (int c = 0; c < 2; ++c) {
          QCollator& collator = byCase[n][c];
          collator = QCollator(locale);
          collator.setNumericMode(n == 1);
          collator.setCaseSensitivity(c == 1 ? Qt::CaseSensitive : Qt::CaseInsensitive);
        }
      }
    }
    return byCase[numbers][caseSensitive];
  }
};

Collators& threadCollators() {
  thread_local Collators collators;
  return collators;
}

QString toQ(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

int compareLocaleText(std::string_view a, std::string_view b, bool numbersByValue) {
  Collators& collators = threadCollators();
  const QString x = toQ(a), y = toQ(b);
  const int result = collators.get(numbersByValue, false).compare(x, y);
  return result != 0 ? result : collators.get(numbersByValue, true).compare(x, y);
}

struct CollationKey::Keys {
  QCollatorSortKey anyCase;
  QCollatorSortKey withCase;
};

CollationKey::CollationKey(std::string_view text, bool numbersByValue) {
  Collators& collators = threadCollators();
  const QString q = toQ(text);
  keys_ = std::make_shared<const Keys>(
      Keys{collators.get(numbersByValue, false).sortKey(q), collators.get(numbersByValue, true).sortKey(q)});
}

int CollationKey::compare(const CollationKey& other) const {
  const int result = keys_->anyCase.compare(other.keys_->anyCase);
  return result != 0 ? result : keys_->withCase.compare(other.keys_->withCase);
}

}  // namespace vistrel::platform
