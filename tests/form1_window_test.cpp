#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextDocument>

#include "panel/form1.h"
#include "panel/form1_layout.h"
#include "platform/qt/about_window.h"
#include "platform/qt/form1_window.h"
#include "platform/qt/text_box_text.h"
#include "tests/fakes.h"

using quenzart::ControlId;
using quenzart::Form1;
using quenzart::Form1Window;
using C = quenzart::ControlId;

namespace {

// The window with its handlers over recording fakes.
struct Panel {
  quenzart::testing::FakePlatform fake;
  Form1Window window;
  Form1 form{window, fake.platform};
  Panel() {
    window.Connect(form);
    form.Load();
    window.ShowCentred();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window)) qWarning("the window did not become active");
    window.Widget(ControlId::Text1_0)->setFocus();
  }
  template <typename T>
  T* Get(ControlId id) {
    return qobject_cast<T*>(window.Widget(id));
  }
  void Click(ControlId id) { QTest::mouseClick(Get<QPushButton>(id), Qt::LeftButton); }
};

QString Q(std::u16string_view text) {
  return QString::fromStdU16String(std::u16string(text));
}

}  // namespace

class Form1WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void opensWithTheDefaultsInTheInitialState() {
    Panel panel;
    QCOMPARE(panel.window.windowTitle(), QStringLiteral("QuenzartServer GUI"));
    QCOMPARE(panel.window.size(), QSize(646, 510));
    const std::pair<C, const char16_t*> texts[] = {
        {C::Text1_0, u"Tamberlow"}, {C::Text1_1, u""},      {C::Text1_2, u"http://"},
        {C::Text1_3, u"50"},        {C::Text1_4, u"27888"}, {C::Text1_5, u"10.0.0.5"},
        {C::Text1_8, u"0"},         {C::Text3, u"5"},       {C::Text4, u"3"}};
    for (const auto& [id, text] : texts) QCOMPARE(panel.Get<QLineEdit>(id)->text(), Q(text));
    QCOMPARE(panel.window.Text(C::Text2), std::u16string(u"欢迎光临！\r\n"));
    QVERIFY(panel.Get<QRadioButton>(C::Option2)->isChecked());
    QVERIFY(!panel.Get<QRadioButton>(C::Option1)->isChecked());
    QVERIFY(panel.Get<QRadioButton>(C::Option3_0)->isChecked());
    QVERIFY(panel.Get<QPushButton>(C::command1)->isEnabled());
    QVERIFY(!panel.Get<QPushButton>(C::command2)->isEnabled());
    QVERIFY(!panel.Get<QPushButton>(C::Command5)->isEnabled());
    QCOMPARE(panel.Get<QLabel>(C::Label4)->text(), QString());
    QVERIFY(panel.Get<QLineEdit>(C::Text1_0)->hasFocus());
  }

  void controlsStandWhereTheTableSays() {
    Panel panel;
    for (const auto& control : quenzart::Form1Layout().controls) {
      QWidget* widget = panel.window.Widget(control.id);
      QCOMPARE(widget->pos(), QPoint(control.left / 15, control.top / 15));
      QCOMPARE(widget->height(), control.height / 15);
      // Captions may grow into free room; nothing else changes size.
      QVERIFY(widget->width() >= control.width / 15);
      if (control.kind != quenzart::ControlKind::Label &&
          control.kind != quenzart::ControlKind::OptionButton) {
        QCOMPARE(widget->width(), control.width / 15);
      }
      QCOMPARE(widget->font().pointSizeF(), control.fontPoints);
      QCOMPARE(widget->font().bold(), control.bold);
      QCOMPARE(widget->font().families().first(), QStringLiteral("宋体"));
    }
    QVERIFY(!panel.window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(panel.window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    auto* message = panel.Get<QPlainTextEdit>(C::Text2);
    QCOMPARE(message->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(message->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(panel.Get<QLineEdit>(C::Text3)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    QCOMPARE(panel.Get<QLineEdit>(C::Text1_5)->accessibleName(), QStringLiteral("服务器IP"));
  }

  void captionsFitWithoutOverlapping() {
    Panel panel;
    // Each caption shows whole, or takes all the room up to its neighbour.
    for (int i = 0; i < 7; ++i) {
      auto* option = panel.Get<QRadioButton>(quenzart::kSpeedClassOptions[i]);
      const int room =
          i + 1 < 7
              ? panel.Get<QRadioButton>(quenzart::kSpeedClassOptions[i + 1])->x() - option->x() - 2
              : option->parentWidget()->width() - option->x() - 2;
      QVERIFY2(option->width() >= std::min(option->sizeHint().width(), room),
               qPrintable(option->text()));
    }
    for (int i = 0; i + 1 < 7; ++i) {
      QVERIFY(panel.Get<QRadioButton>(quenzart::kSpeedClassOptions[i])->geometry().right() <
              panel.Get<QRadioButton>(quenzart::kSpeedClassOptions[i + 1])->x());
    }
  }

  void tabOrderRunsAsListed() {
    Panel panel;
    const C order[] = {C::Text1_0, C::Text1_1, C::Text1_2,  C::Text1_3,   C::Text1_4,
                       C::Option2, C::Text1_5, C::Text1_8,  C::Option3_0, C::Text2,
                       C::Text3,   C::Text4,   C::command4, C::Command3,  C::command1};
    panel.Get<QWidget>(C::Text1_0)->setFocus();
    for (std::size_t i = 1; i < std::size(order); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), panel.window.Widget(order[i]));
    }
    // The option frames are one stop each, at the selected button.
    panel.Get<QRadioButton>(C::Option1)->setChecked(true);
    panel.Get<QWidget>(C::Text1_4)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), panel.window.Widget(C::Option1));
  }

  void optionFramesAreIndependent() {
    Panel panel;
    QTest::mouseClick(panel.Get<QRadioButton>(C::Option3_4), Qt::LeftButton);
    QVERIFY(panel.Get<QRadioButton>(C::Option2)->isChecked());
    QVERIFY(!panel.Get<QRadioButton>(C::Option3_0)->isChecked());
    QTest::mouseClick(panel.Get<QRadioButton>(C::Option1), Qt::LeftButton);
    QVERIFY(panel.Get<QRadioButton>(C::Option3_4)->isChecked());
    QVERIFY(!panel.Get<QRadioButton>(C::Option2)->isChecked());
  }

  void clicksMoveBetweenTheStates() {
    Panel panel;
    panel.Click(C::command2);  // disabled: nothing
    panel.Click(C::Command5);
    QVERIFY(panel.fake.journal.empty());
    panel.Click(C::command1);
    QVERIFY(panel.form.ServerRunning);
    QVERIFY(!panel.Get<QPushButton>(C::command1)->isEnabled());
    QCOMPARE(panel.Get<QLabel>(C::Label4)->text(), QStringLiteral("Quenzart服务器端正在运行....."));
    QCOMPARE(panel.Get<QPlainTextEdit>(C::Text2)->textCursor().position(),
             6);  // after the last line
    panel.Click(C::Command5);
    QCOMPARE(panel.fake.journal.back(),
             std::string("launch explorer.exe http://10.0.0.5:27888 mode 2"));
    panel.Click(C::command2);
    QVERIFY(!panel.form.ServerRunning);
    QCOMPARE(panel.Get<QLabel>(C::Label4)->text(), QStringLiteral("Quenzart服务器端已停止运行"));
    QVERIFY(panel.Get<QPushButton>(C::command1)->isEnabled());
    QVERIFY(!panel.Get<QPushButton>(C::Command5)->isEnabled());
  }

  void welcomeBoxKeepsItsTextExactly() {
    Panel panel;
    const std::u16string text = u"a\u00A0b\r\n\r\nc  ";
    panel.window.SetText(C::Text2, text);
    QCOMPARE(panel.window.Text(C::Text2), text);
    auto* box = panel.Get<QPlainTextEdit>(C::Text2);
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "d");
    QCOMPARE(panel.window.Text(C::Text2), text + u"\r\nd");
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), panel.window.Widget(C::Text3));
  }

  void enterAndEscapeClickNoButton() {
    Panel panel;
    panel.Get<QWidget>(C::Text1_0)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!panel.form.ServerRunning);
  }

  void closingRunsTheUnloadOnce() {
    Panel panel;
    panel.Click(C::command1);
    panel.fake.journal.clear();
    panel.window.close();
    QCOMPARE(panel.fake.journal,
             (quenzart::testing::Journal{"launch ntsd -noshell -c q -pn quenzartsrv.exe mode 0",
                                         "end program"}));
  }

  void aboutWindowIsOneModelessWindow() {
    Panel panel;
    panel.Click(C::Command3);
    panel.Click(C::Command3);
    int open = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (dynamic_cast<quenzart::AboutWindow*>(widget) && widget->isVisible()) ++open;
    }
    QCOMPARE(open, 1);
    QWidget* about = panel.window.About();
    QVERIFY(about->parent() == nullptr);
    QVERIFY(!about->isModal());
    QCOMPARE(about->windowTitle(), QStringLiteral("关于"));
    QCOMPARE(about->size(), QSize(312, 226));
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QVERIFY(!about->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    const QStringList captions = [&] {
      QStringList all;
      for (auto* label : about->findChildren<QLabel*>()) all << label->text();
      for (auto* frame : about->findChildren<QGroupBox*>()) all << frame->title();
      return all;
    }();
    QVERIFY(captions.contains(QStringLiteral("制作人")));
    QVERIFY(captions.contains(QStringLiteral("联系方式")));
    QVERIFY(captions.contains(QStringLiteral("QuenzartServer GUI 开发组")));

    // The main window works while it is open.
    panel.Click(C::command1);
    QVERIFY(panel.form.ServerRunning);

    QPointer<QWidget> watched(about);
    QTest::mouseClick(about->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QTRY_VERIFY(watched.isNull());
    panel.Click(C::Command3);
    QVERIFY(panel.window.About() != nullptr);
    QVERIFY(panel.window.About()->isVisible());
  }
};

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  Form1WindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "form1_window_test.moc"
