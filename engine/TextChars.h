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

constexpr bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// ASCII letters only: the C library's tolower follows the locale, and in a
// Turkish one 'I' is not the capital of 'i'.
constexpr char ToLowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace vostrel::text
