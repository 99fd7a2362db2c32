#include "tools/crypto/ui/crypto_progress_form.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vistrel::crypto::ui {

TfmCryptoProgress::TfmCryptoProgress(QWidget* parent) : QDialog(parent) {
  setObjectName("TfmCryptoProgress");
  setWindowModality(Qt::ApplicationModal);
  lblFile = new QLabel(this);
  lblFile->setTextFormat(Qt::PlainText);
  lblFile->setMinimumWidth(360);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setRange(0, 100);
  btnAbort = new QPushButton("Abort", this);
  connect(btnAbort, &QPushButton::clicked, this, &TfmCryptoProgress::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblFile);
  layout->addWidget(ProgressBar);
  layout->addWidget(btnAbort, 0, Qt::AlignHCenter);
}

// The window stays until the batch has finished the file at hand.
void TfmCryptoProgress::reject() {
  aborted_ = true;
  btnAbort->setEnabled(false);
}

}  // namespace vistrel::crypto::ui
