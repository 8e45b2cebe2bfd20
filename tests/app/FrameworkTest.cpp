// The window services: dialog units, dialogs built from templates, the
// modal run, data exchange and window timers.
#include "AboutDlg.h"
#include "DialogUnits.h"
#include "ResourceIds.h"
#include "TemplateDialog.h"
#include "UiTestSupport.h"
#include "WindowTimers.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vostrel {
namespace {

using namespace res;

TEST(DialogUnits, ScaleByQuarterWidthAndEighthHeight)
{
    QFont font = DialogUnits::DialogFont(*FindDialogTemplate(IDD_COUNTDOWN));
    DialogUnits units(font);
    const QSize base = units.BaseUnits();
    EXPECT_GT(base.width(), 3);
    EXPECT_EQ(base.height(), QFontMetrics(font).height());
    EXPECT_EQ(units.ToPixels({8, 16, 4, 8}),
              QRect(2 * base.width(), 2 * base.height(), base.width(), base.height()));

    units.WidenToFit(base.width() * 5, 20); // already fits: no change
    EXPECT_EQ(units.BaseUnits().width(), base.width());
    units.WidenToFit(100, 10);
    EXPECT_EQ(units.BaseUnits().width(), 40);
    EXPECT_EQ(units.ToPixels({0, 0, 3, 0}).width(), 30);
}

// Every control sits where its template puts it, on one scale for the whole
// dialog, and every text fits its control.
TEST(TemplateDialog, ControlsFollowTheTemplate)
{
    test::RecordingMessages messages;
    for (int id : {IDD_COUNTDOWN, IDD_ABOUTBOX}) {
        TemplateDialog dialog(id, messages);
        const DialogUnits& units = dialog.Units();
        EXPECT_EQ(dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(),
                  static_cast<qsizetype>(dialog.Template().controls.size()));
        for (std::size_t i = 0; i < dialog.Template().controls.size(); ++i) {
            const ControlTemplate& control = dialog.Template().controls[i];
            QWidget* widget = dialog.ControlAt(i);
            EXPECT_EQ(widget->geometry().topLeft(), units.ToPixels(control.rect).topLeft()) << control.id;
            EXPECT_EQ(widget->geometry(), dialog.ControlRect(control)) << control.id;
            if (control.id != IDC_STATIC) {
                EXPECT_EQ(dialog.GetDlgItem(control.id), widget);
            }
            if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                    << control.id;
            }
            if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
                EXPECT_LE(radio->sizeHint().width(), radio->width()) << control.id;
            }
        }
        EXPECT_EQ(dialog.size(),
                  units.ToPixels(dialog.Template().frame.width, dialog.Template().frame.height));
    }
    // Proportions: the H:M:S button is one unit lower, two units shorter.
    TemplateDialog countdown(IDD_COUNTDOWN, messages);
    const QSize base = countdown.Units().BaseUnits();
    EXPECT_EQ(countdown.GetDlgItem(IDC_UNIT_HMS)->y() - countdown.GetDlgItem(IDC_UNIT_DAYS)->y(),
              (6 * base.height() + 4) / 8 - (5 * base.height() + 4) / 8);
    EXPECT_EQ(countdown.pos(), countdown.Units().ToPixels({82, 70, 0, 0}).topLeft());
    // The About box's picture takes the icon's own size; the countdown's
    // pictures keep their rectangles and centre their icons.
    TemplateDialog about(IDD_ABOUTBOX, messages);
    EXPECT_EQ(about.ControlAt(0)->size(), QSize(32, 32));
    EXPECT_EQ(countdown.GetDlgItem(IDC_ICON_CHOICE0)->size(), countdown.Units().ToPixels(20, 20));
}

TEST(TemplateDialog, AboutBoxCentresOverAHiddenOwnersScreen)
{
    test::RecordingMessages messages;
    QWidget owner;
    owner.setGeometry(10, 10, 100, 100); // hidden
    CAboutDlg about(messages, &owner);
    about.Start();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((about.frameGeometry().center() - area.center()).manhattanLength(), 8);
    about.hide();

    owner.show();
    CAboutDlg overOwner(messages, &owner);
    overOwner.Start();
    EXPECT_LE((overOwner.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 8);
}

TEST(TemplateDialog, RadioGroupIndexIsMinusOneWhenNoneIsChecked)
{
    test::RecordingMessages messages;
    TemplateDialog dialog(IDD_COUNTDOWN, messages);
    EXPECT_EQ(dialog.CheckedRadioIndex(IDC_UNIT_DAYS), -1);
    dialog.CheckRadioIndex(IDC_UNIT_DAYS, 4);
    EXPECT_EQ(dialog.CheckedRadioIndex(IDC_UNIT_DAYS), 4);
    EXPECT_TRUE(dialog.Item<QRadioButton>(IDC_UNIT_HMS)->isChecked());
    dialog.CheckRadioIndex(IDC_UNIT_DAYS, 9);
    EXPECT_EQ(dialog.CheckedRadioIndex(IDC_UNIT_DAYS), -1);
}

TEST(TemplateDialog, ModalRunOutlivesHidingAndEndsWithTheDialog)
{
    test::RecordingMessages messages;
    CAboutDlg about(messages, nullptr);
    bool hiddenWhileRunning = false;
    QTimer::singleShot(20, &about, [&] { about.hide(); });
    QTimer::singleShot(60, &about, [&] {
        hiddenWhileRunning = !about.isVisible();
        about.show();
        QTest::mouseClick(about.Item<QPushButton>(IDOK), Qt::LeftButton);
    });
    EXPECT_EQ(about.DoModal(), QDialog::Accepted);
    EXPECT_TRUE(hiddenWhileRunning);

    // Enter presses the default OK button; Escape cancels.
    for (const auto key : {Qt::Key_Return, Qt::Key_Escape}) {
        CAboutDlg box(messages, nullptr);
        QTimer::singleShot(20, &box, [&box, key] { QTest::keyClick(&box, key); });
        EXPECT_EQ(box.DoModal(), key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected);
    }
}

class TimerOwner : public QObject {
public:
    WindowTimers timers{this};
    std::vector<int> fired;

protected:
    void timerEvent(QTimerEvent* event) override
    {
        if (const std::optional<int> id = timers.IdOf(event)) {
            fired.push_back(*id);
            timers.Kill(*id);
        }
    }
};

TEST(WindowTimers, TicksArriveUnderTheirOwnIds)
{
    TimerOwner owner;
    owner.timers.Set(1, 10);
    owner.timers.Set(4567, 30);
    EXPECT_TRUE(owner.timers.IsActive(4567));
    QTest::qWait(80);
    EXPECT_EQ(owner.fired, std::vector<int>({1, 4567}));
    EXPECT_FALSE(owner.timers.IsActive(1));
}

} // namespace
} // namespace vostrel
