#pragma once

#include <QValidator>

#include <algorithm>

namespace vostrel {

// How many characters the user may type into an edit box. Like a text limit,
// but a longer text that the program puts there is shown whole: the user
// may shorten it, never lengthen it past the limit.
class TypingLimit final : public QValidator {
public:
    TypingLimit(int limit, QObject* parent) : QValidator(parent), m_limit(limit) {}

    int Limit() const { return m_limit; }
    // The program is about to put a text of this length into the box.
    void AllowText(qsizetype length) { m_length = length; }

    State validate(QString& input, int&) const override
    {
        if (input.size() > std::max<qsizetype>(m_limit, m_length))
            return Invalid;
        m_length = input.size();
        return Acceptable;
    }

private:
    int m_limit;
    mutable qsizetype m_length = 0; // the box's text as last accepted
};

} // namespace vostrel
