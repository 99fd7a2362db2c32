#include "platform/ui/help_key.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vistrel::platform::ui {
namespace {

// F1 pressed in the dialog's edit field, with the filter on the application;
// returns the section opened ("" for the contents, "none" when nothing was).
QString sectionOpenedByF1(QDialog& dialog) {
  QString opened = "none";
  HelpKey key([&](const QUrl& url) { opened = url.fragment(); });
  qApp->installEventFilter(&key);
  auto* edit = new QLineEdit(&dialog);
  dialog.layout()->addWidget(edit);
  dialog.show();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(edit, &press);
  qApp->removeEventFilter(&key);
  return opened;
}

TEST(HelpKeyTest, F1OpensTheDialogsSectionItsHelpButtonOrTheContents) {
  QDialog named;
  new QVBoxLayout(&named);
  named.setProperty("helpSection", "resize");
  EXPECT_EQ(sectionOpenedByF1(named), "resize");

  QDialog withButton;
  auto* help = new QPushButton("&Help", &withButton);
  (new QVBoxLayout(&withButton))->addWidget(help);
  bool clicked = false;
  QObject::connect(help, &QPushButton::clicked, [&] { clicked = true; });
  EXPECT_EQ(sectionOpenedByF1(withButton), "none");
  EXPECT_TRUE(clicked);

  QDialog plain;
  new QVBoxLayout(&plain);
  EXPECT_EQ(sectionOpenedByF1(plain), "");
}

}  // namespace
}  // namespace vistrel::platform::ui
