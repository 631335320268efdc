#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that fails is a finding: libFuzzer keeps the input that broke it, and the message
// says which property it was.
inline void require(bool holds, const char *property, const QString &detail = QString())
{
    if (holds)
        return;
    std::fprintf(stderr, "Property broken: %s\n%s\n", property, qUtf8Printable(detail));
    std::abort();
}

inline QByteArrayView bytesOf(const uint8_t *data, size_t size)
{
    return {data, qsizetype(size)};
}
