#pragma once

// Character classes of the 8-bit texts the engine reads, independent of the
// C library's locale.
namespace vostrel::text {

constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace vostrel::text
