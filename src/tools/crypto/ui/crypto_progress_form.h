#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vistrel::crypto::ui {

// The progress window of an encryption or decryption batch. It keeps the rest
// of the program from input while the batch runs; Abort (or Esc) ends the
// batch after the file at hand.
class TfmCryptoProgress : public QDialog {
  Q_OBJECT

 public:
  explicit TfmCryptoProgress(QWidget* parent = nullptr);

  bool aborted() const { return aborted_; }

  QLabel* lblFile;
  QProgressBar* ProgressBar;
  QPushButton* btnAbort;

 public slots:
  void reject() override;

 private:
  bool aborted_ = false;
};

}  // namespace vistrel::crypto::ui
