// The window services: dialogs built from templates, their data exchange, message boxes.
#include "app/framework/DataExchange.h"
#include "app/framework/MessageDialog.h"
#include "app/framework/TemplateDialog.h"
#include "resources/ResourceIds.h"
#include "tests/support/Recorders.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

using namespace res;

// A dialog exchanging one field with its target box, counting its passes.
class OneFieldDialog final : public TemplateDialog {
public:
    explicit OneFieldDialog(Messages& messages) : TemplateDialog(IDD_COUNTDOWN, messages) {}
    std::string field;
    int passes = 0;

protected:
    void DoDataExchange(DataExchange& exchange) override
    {
        ++passes;
        exchange.Text(IDC_END_DATE, field);
    }
};

// Hidden, a dialog's exchanges leave its controls alone until someone can see
// them, and neither what was typed nor what was set is lost meanwhile.
TEST(TemplateDialog, HiddenDialogsExchangeOnlyOnceTheirControlsAreSeen)
{
    test::RecordingMessages messages;
    OneFieldDialog dialog(messages);
    QLineEdit* box = dialog.Item<QLineEdit>(IDC_END_DATE);
    box->setText("typed, then hidden");
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.field, "typed, then hidden");

    dialog.field = "set while hidden";
    dialog.UpdateData(false);
    for (int tick = 0; tick < 3; ++tick) {
        dialog.UpdateData(true);
        dialog.UpdateData(false);
    }
    EXPECT_EQ(dialog.passes, 1); // only the read of what was typed
    EXPECT_EQ(box->text(), "typed, then hidden");
    EXPECT_EQ(dialog.field, "set while hidden");

    // Asking for a control, or showing the dialog, brings the controls up.
    EXPECT_EQ(dialog.Item<QLineEdit>(IDC_END_DATE)->text(), "set while hidden");
    dialog.field = "shown";
    dialog.UpdateData(false);
    dialog.show();
    EXPECT_EQ(box->text(), "shown");
    box->setText("typed while shown");
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.field, "typed while shown");
}

// A text taller than the screen keeps its lines, scrolls to keep the one OK
// button on screen, and blocks only its owner.
TEST(MessageDialog, KeepsTheTextsLinesAndFitsTheScreenWithOneOkButton)
{
    QWidget owner;
    QString text;
    for (int line = 0; line < 80; ++line)
        text += QString("Line %1 stands on its own, as the text breaks it, whatever the box's width.\n")
                    .arg(line);
    MessageDialog box(text, &owner);
    box.show();
    QApplication::processEvents();
    EXPECT_EQ(box.windowTitle(), QApplication::applicationName());
    EXPECT_EQ(box.windowModality(), Qt::WindowModal);
    auto* label = box.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), text);
    EXPECT_FALSE(label->wordWrap());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_GT(label->sizeHint().height(), area.height());
    EXPECT_TRUE(area.contains(box.frameGeometry()));
    auto* scroller = box.findChild<QScrollArea*>();
    EXPECT_EQ(scroller->horizontalScrollBar()->maximum(), 0); // the longest line fits
    EXPECT_GT(scroller->verticalScrollBar()->maximum(), 0);   // the rest scrolls
    const QList<QAbstractButton*> buttons = box.findChildren<QAbstractButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text().remove('&'), "OK");
    EXPECT_TRUE(area.contains(buttons[0]->mapToGlobal(buttons[0]->rect().bottomRight())));
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

} // namespace
