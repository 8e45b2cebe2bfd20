#include "engine/OleDateSpan.h"

#include <cmath>

namespace vostrel {

double OleDateSpan::GetTotalSeconds() const
{
    return std::round(m_days * kSecondsPerDay * 1000.0) / 1000.0;
}

} // namespace vostrel
