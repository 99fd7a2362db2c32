#include "gallery/ui/status_form.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace vistrel::gallery::ui {

QString percentText(int position, int total) {
  const double percent = total > 0 ? position * 100.0 / total : 100.0;
  return QString::number(static_cast<int>(std::nearbyint(percent))) + " %";
}

TStatusForm::TStatusForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
  setWindowTitle("Please wait ..");
  setModal(false);
  PathLabel = new QLabel;
  PathLabel->setMinimumWidth(360);
  PathLabel->setTextFormat(Qt::PlainText);
  ProgressBar = new QProgressBar;
  ProgressBar->setTextVisible(false);
  PercentLabel = new QLabel("0 %");
  StatusLabel = new QLabel;
  btnCancel = new QPushButton("&Cancel");
  connect(btnCancel, &QPushButton::clicked, this, &TStatusForm::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PathLabel);
  layout->addWidget(ProgressBar);
  auto* line = new QHBoxLayout;
  line->addWidget(StatusLabel, 1);
  line->addWidget(PercentLabel);
  layout->addLayout(line);
  layout->addWidget(btnCancel, 0, Qt::AlignHCenter);
}

void TStatusForm::start(int total) {
  ProgressBar->setRange(0, total);
  ProgressBar->setValue(0);
  PercentLabel->setText("0 %");
  StatusLabel->clear();
  PathLabel->clear();
}

void TStatusForm::progress(int position, int total, const QString& path) {
  PathLabel->setText(path);
  ProgressBar->setValue(position);
  PercentLabel->setText(percentText(position, total));
  StatusLabel->setText(QStringLiteral("Processing %1 of %2").arg(position).arg(total));
}

// Cancel and Esc: the run stops at its next check.
void TStatusForm::reject() {
  emit cancelRequested();
  QDialog::reject();
}

}  // namespace vistrel::gallery::ui
