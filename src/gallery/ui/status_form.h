#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vistrel::gallery::ui {

// The progress window of a gallery run: modeless and on top of the program.
class TStatusForm : public QDialog {
  Q_OBJECT

 public:
  explicit TStatusForm(QWidget* parent = nullptr);

  void start(int total);
  // Image `position` (from 1) of `total`.
  void progress(int position, int total, const QString& path);

  QLabel* PathLabel;
  QProgressBar* ProgressBar;
  QLabel* PercentLabel;
  QLabel* StatusLabel;
  QPushButton* btnCancel;

 signals:
  void cancelRequested();

 public slots:
  void reject() override;
};

// The percent text of `position` of `total`, rounded half to even.
QString percentText(int position, int total);

}  // namespace vistrel::gallery::ui
