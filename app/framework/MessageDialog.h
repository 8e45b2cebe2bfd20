#pragma once

#include <QDialog>

namespace vostrel {

// A message with one OK button and no icon, captioned with the
// application's name. The text keeps its own line breaks; a text taller
// or wider than the screen's work area scrolls, so that OK stays in reach.
// It blocks only its owner: the tray icon, a window of its own, stays
// usable while it is open.
class MessageDialog final : public QDialog {
    Q_OBJECT
public:
    MessageDialog(const QString& text, QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace vostrel
