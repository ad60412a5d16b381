#include <QSignalSpy>
#include <QTest>

#include "support/send_key.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"
#include "ui/window_system.h"

using namespace ui;

namespace {

QPoint RowCentre(QListWidget* list, int row) { return list->visualItemRect(list->item(row)).center(); }

}  // namespace

class BindingTest : public QObject {
    Q_OBJECT

private slots:
    void listRaisesOneClickForEveryPick()
    {
        QWidget window;
        ListBox list({"on", "off"}, &window);
        list.resize(120, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy clicks(&list, &ListBox::Click);

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(&list, 1));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(list.ListIndex(), 1);

        // A re-pick of the selected item is a pick too.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(&list, 1));
        QCOMPARE(clicks.count(), 2);

        // Ctrl+click would clear a selection; the list keeps its item.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(&list, 1));
        QCOMPARE(clicks.count(), 3);
        QCOMPARE(list.ListIndex(), 1);

        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Up);
        QCOMPARE(clicks.count(), 4);
        QCOMPARE(list.ListIndex(), 0);
        QTest::keyClick(&list, Qt::Key_Up);  // already at the top: no pick
        QCOMPARE(clicks.count(), 4);
        QTest::keyClick(&list, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(list.ListIndex(), 0);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(clicks.count(), 4);
    }

    void selectionFromCodeRaisesOneClickBeforeItReturns()
    {
        ListBox list({"in order", "random"}, nullptr);
        int clicksSeen = 0;
        int indexSeen = -1;
        connect(&list, &ListBox::Click, [&] {
            ++clicksSeen;
            indexSeen = list.ListIndex();
        });
        list.SetSelected(0);
        QCOMPARE(clicksSeen, 1);
        QCOMPARE(indexSeen, 0);
        list.SetSelected(0);  // the same item again still raises its click
        QCOMPARE(clicksSeen, 2);

        ComboBox combo({"off", "1", "2"}, nullptr);
        int comboClicks = 0;
        connect(&combo, &ComboBox::Click, [&] {
            ++comboClicks;
            indexSeen = combo.ListIndex();
        });
        QCOMPARE(combo.ListIndex(), -1);
        combo.SetListIndex(0);
        QCOMPARE(comboClicks, 1);
        QCOMPARE(indexSeen, 0);
        combo.SetListIndex(0);
        QCOMPARE(comboClicks, 2);
    }

    void comboRaisesOneClickForEveryUserPick()
    {
        QWidget window;
        ComboBox combo({"off", "1", "2", "3"}, &window);
        combo.resize(80, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        combo.SetListIndex(0);
        QSignalSpy clicks(&combo, &ComboBox::Click);

        combo.setFocus();
        QTest::keyClick(&combo, Qt::Key_Down);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(combo.ListIndex(), 1);

        for (int row : {2, 2}) {  // a new item, then the same item again
            const int before = clicks.count();
            combo.showPopup();
            QAbstractItemView* view = combo.view();
            QTRY_VERIFY(view->isVisible());
            const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            QTRY_VERIFY(!view->isVisible());
            QCOMPARE(clicks.count(), before + 1);
            QCOMPARE(combo.ListIndex(), row);
        }
    }

    void labelTakesClicksInItsWholeRectangleAndKeepsThemFromTheForm()
    {
        Form form(QStringLiteral("Form2"));
        form.resize(300, 200);
        Label empty(QString(), &form);
        empty.setGeometry(10, 10, 100, 80);
        Label text(QStringLiteral("x"), &form);
        text.setGeometry(150, 10, 100, 80);
        form.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QSignalSpy formClicks(&form, &Form::Click);
        QSignalSpy emptyClicks(&empty, &Label::Click);
        QSignalSpy textClicks(&text, &Label::Click);

        // Through the window, so the toolkit's own hit testing decides.
        QWindow* window = form.windowHandle();
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(11, 11));
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(108, 88));
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(248, 88));
        QCOMPARE(emptyClicks.count(), 2);
        QCOMPARE(textClicks.count(), 1);
        QCOMPARE(formClicks.count(), 0);

        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(280, 150));
        QCOMPARE(formClicks.count(), 1);
        form.Unload();
    }

    void frameAndPicturesKeepClicksFromTheForm()
    {
        Form form(QStringLiteral("Form2"));
        form.resize(300, 200);
        Frame frame(QStringLiteral("Frame1"), Qt::lightGray, false, &form);
        frame.setGeometry(0, 0, 200, 200);
        Image image(&frame);
        image.SetPicture(pictures::Id::Plus2);
        image.move(10, 10);
        form.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QSignalSpy formClicks(&form, &Form::Click);
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(15, 15));
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(formClicks.count(), 0);
        form.Unload();
    }

    void textBoxRaisesChangeOnEveryChangeAndClickOnAClick()
    {
        QWidget window;
        TextBox box(QStringLiteral("your name"), &window);
        box.resize(200, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy changes(&box, &TextBox::Change);
        QSignalSpy clicks(&box, &TextBox::Click);
        box.SetText(QString());
        QCOMPARE(changes.count(), 1);
        QTest::keyClicks(&box, QStringLiteral("Zo"));
        QKeyEvent umlaut(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("ë"));
        QApplication::sendEvent(&box, &umlaut);
        QCOMPARE(changes.count(), 4);
        QCOMPARE(box.Text(), QStringLiteral("Zoë"));
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
    }

    void timerWithIntervalZeroNeverTicks()
    {
        TimerControl timer;
        QSignalSpy ticks(&timer, &TimerControl::Timer);
        QVERIFY(timer.Enabled());
        QCOMPARE(timer.Interval(), 0);
        QVERIFY(!timer.IsTicking());
        for (int i = 0; i < 1000; ++i)
            DoEvents();
        QCOMPARE(ticks.count(), 0);

        timer.SetInterval(20);
        QVERIFY(timer.IsTicking());
        QTRY_VERIFY(ticks.count() >= 2);
        timer.SetEnabled(false);
        QVERIFY(!timer.IsTicking());
        timer.SetEnabled(true);
        timer.SetInterval(0);
        QVERIFY(!timer.IsTicking());
    }

    void heldKeyGivesOneKeyUpOnTheFinalRelease()
    {
        CommandButton button(QStringLiteral("x"), nullptr);
        QSignalSpy keyUps(&button, &CommandButton::KeyUp);
        QSignalSpy clicks(&button, &CommandButton::Click);
        SendKey(&button, QEvent::KeyPress, Qt::Key_Space, false);
        for (int i = 0; i < 5; ++i) {
            SendKey(&button, QEvent::KeyRelease, Qt::Key_Space, true);
            SendKey(&button, QEvent::KeyPress, Qt::Key_Space, true);
        }
        SendKey(&button, QEvent::KeyRelease, Qt::Key_Space, false);
        QCOMPARE(keyUps.count(), 1);
        QCOMPARE(keyUps.first().at(0).toInt(), 32);

        SendKey(&button, QEvent::KeyPress, Qt::Key_A, false);
        SendKey(&button, QEvent::KeyRelease, Qt::Key_A, false, Qt::ShiftModifier);
        QCOMPARE(keyUps.count(), 2);
        QCOMPARE(keyUps.last().at(0).toInt(), int('A'));
        QCOMPARE(keyUps.last().at(1).toInt(), 1);
    }

    void mouseOnlyButtonIgnoresKeyboardActivation()
    {
        CommandButton close(QStringLiteral("Close"), nullptr);
        close.SetMouseOnly(true);
        QSignalSpy clicks(&close, &CommandButton::Click);
        for (int key : {int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_Enter)}) {
            SendKey(&close, QEvent::KeyPress, key, false);
            SendKey(&close, QEvent::KeyRelease, key, false);
        }
        QCOMPARE(clicks.count(), 0);
        QTest::mouseClick(&close, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
    }

    void formLoadsOnFirstShowBeforeShowReturns()
    {
        Form form(QStringLiteral("Form1"));
        form.resize(50, 50);
        int loads = 0;
        bool visibleDuringLoad = true;
        connect(&form, &Form::Load, [&] {
            ++loads;
            visibleDuringLoad = form.isVisible();
        });
        const int before = Form::LoadedCount();
        form.Show();
        QCOMPARE(loads, 1);
        QVERIFY(!visibleDuringLoad);
        QVERIFY(form.isVisible());
        QCOMPARE(Form::LoadedCount(), before + 1);
        form.Show();
        QCOMPARE(loads, 1);

        // A close request from the window system is refused; Unload is not.
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QVERIFY(form.IsLoaded());
        form.Unload();
        QVERIFY(!form.isVisible());
        QVERIFY(!form.IsLoaded());
        QCOMPARE(Form::LoadedCount(), before);
    }

    void doEventsRunsPendingEvents()
    {
        bool ran = false;
        QMetaObject::invokeMethod(
            qApp, [&] { ran = true; }, Qt::QueuedConnection);
        DoEvents();
        QVERIFY(ran);
    }

    void platformChoice_data()
    {
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<QByteArray>("chosen");
        QTest::newRow("Wayland with XWayland")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray() << QByteArray("xcb");
        QTest::newRow("the user's own choice")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland") << QByteArray("wayland");
        QTest::newRow("Wayland alone") << QByteArray("wayland-0") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("X11 alone") << QByteArray() << QByteArray(":0") << QByteArray() << QByteArray();
    }

    void platformChoice()
    {
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, platform);
        QFETCH(QByteArray, chosen);
        const QByteArray saved[] = {qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"), qgetenv("QT_QPA_PLATFORM")};
        const char* names[] = {"WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM"};
        const QByteArray values[] = {wayland, display, platform};
        for (int i = 0; i < 3; ++i)
            values[i].isEmpty() ? qunsetenv(names[i]) : qputenv(names[i], values[i]);
        ChoosePlatform();
        const QByteArray got = qgetenv("QT_QPA_PLATFORM");
        for (int i = 0; i < 3; ++i)
            saved[i].isEmpty() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
        QCOMPARE(got, chosen);
    }

    // A window manager that undoes every repair at once gets a burst of
    // repairs, then fewer and fewer; a quiet spell gives the full burst back.
    void repairsAreBounded()
    {
        RepairBudget budget;
        qint64 now = 100000;
        int inFirstSecond = 0;
        for (; now < 101000; ++now)
            if (budget.WaitMs(now) == 0) {
                budget.Spend(now);
                ++inFirstSecond;
            }
        QCOMPARE(inFirstSecond, RepairBudget::kBurst);
        int inNextTenSeconds = 0;
        for (; now < 111000; ++now)
            if (budget.WaitMs(now) == 0) {
                budget.Spend(now);
                ++inNextTenSeconds;
            }
        QVERIFY2(inNextTenSeconds <= 4 * RepairBudget::kBurst, qPrintable(QString::number(inNextTenSeconds)));
        QVERIFY(inNextTenSeconds >= RepairBudget::kBurst);

        now += 60000;
        int afterQuiet = 0;
        for (const qint64 end = now + 1000; now < end; ++now)
            if (budget.WaitMs(now) == 0) {
                budget.Spend(now);
                ++afterQuiet;
            }
        QCOMPARE(afterQuiet, RepairBudget::kBurst);
    }
};

QTEST_MAIN(BindingTest)
#include "binding_test.moc"
