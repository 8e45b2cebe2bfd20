#pragma once

#include <cstdint>
#include <string>

namespace vostrel {

class TemplateDialog;

// One pass of data exchange between a dialog's fields and its controls: in
// (controls -> fields, checking them) or out (fields -> controls). Once a
// control's content is refused, the rest of the pass is skipped.
class DataExchange {
public:
    DataExchange(TemplateDialog& dialog, bool saveAndValidate)
        : m_dialog(dialog), m_saveAndValidate(saveAndValidate)
    {
    }

    bool Failed() const { return m_failed; }
    // Controls into fields (true) or fields into controls (false).
    bool Saving() const { return m_saveAndValidate; }

    // The text of an edit box or a static text.
    void Text(int id, std::string& field);
    // The same, for an edit box where the user may type at most maxChars
    // characters: going out sets the limit (a longer field is still shown
    // whole), coming in refuses any other longer text and keeps the field.
    void LimitedText(int id, std::string& field, int maxChars);
    // The index of the checked radio button of the group starting at
    // firstId, -1 when none is checked.
    void RadioIndex(int firstId, std::int32_t& field);
    // Attaches a control object to the control with this id.
    template <typename Widget> void Control(int id, Widget*& member);

private:
    TemplateDialog& m_dialog;
    bool m_saveAndValidate;
    bool m_failed = false;
};

} // namespace vostrel

#include "app/framework/TemplateDialog.h"

template <typename Widget> void vostrel::DataExchange::Control(int id, Widget*& member)
{
    if (!m_failed && !member)
        member = m_dialog.Item<Widget>(id);
}
