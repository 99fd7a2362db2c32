#include "platform/ui/message_box_prompter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <thread>

namespace vistrel::platform::ui {
namespace {

// Answers the next message box by pressing the button, after noting its text.
void pressWhenShown(QMessageBox::StandardButton button, QString* seenText) {
  QTimer::singleShot(0, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return pressWhenShown(button, seenText);
    *seenText = box->text();
    box->button(button)->click();
  });
}

TEST(MessageBoxPrompterTest, ShowsOldStyleLineBreaksAsBreaksAndMapsTheButtons) {
  MessageBoxPrompter prompter(nullptr);
  QString text;
  pressWhenShown(QMessageBox::YesToAll, &text);
  EXPECT_EQ(prompter.ask("Overwrite?\r\n\r\nA.jpg\rB.jpg", "Confirm", Buttons::YesNoAll, Icon::Question),
            Answer::All);
  EXPECT_EQ(text, "Overwrite?\n\nA.jpg\nB.jpg");
  pressWhenShown(QMessageBox::Cancel, &text);
  EXPECT_EQ(prompter.ask("Go on?", "Confirm", Buttons::OkCancel, Icon::Warning), Answer::Cancel);
  pressWhenShown(QMessageBox::NoToAll, &text);
  EXPECT_EQ(prompter.ask("Replace?", "Confirm File Replace", Buttons::YesNoToAll, Icon::Question), Answer::NoToAll);
}

TEST(MessageBoxPrompterTest, AWorkerThreadsQuestionIsAnsweredOnTheWindowThread) {
  MessageBoxPrompter boxes(nullptr);
  QObject context;
  GuiThreadPrompter prompter(boxes, &context);
  QString text;
  pressWhenShown(QMessageBox::No, &text);
  Answer answer = Answer::Cancel;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    answer = prompter.ask("From the worker", "Question", Buttons::YesNo, Icon::Question);
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  worker.join();
  EXPECT_EQ(answer, Answer::No);
  EXPECT_EQ(text, "From the worker");
}

TEST(MessageBoxPrompterTest, AQuestionComesAboveAWindowThatStaysOnTopAndShowsNamesAsTheyAre) {
  QDialog progress(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
  progress.show();
  MessageBoxPrompter prompter(nullptr);
  QWidget* owner = nullptr;
  bool onTop = false;
  Qt::TextFormat format = Qt::AutoText;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    owner = box->parentWidget();
    onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    format = box->textFormat();
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(prompter.ask("Overwrite <b>a</b>.jpg?", "Confirm", Buttons::YesNo, Icon::Question), Answer::Yes);
  EXPECT_EQ(owner, &progress);
  EXPECT_TRUE(onTop);
  EXPECT_EQ(format, Qt::PlainText);
}

}  // namespace
}  // namespace vistrel::platform::ui
