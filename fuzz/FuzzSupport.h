#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Helpers shared by the fuzz targets.

inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline QByteArray fuzzBytes(const std::string &text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

// A broken expectation is a finding like a sanitizer report: abort so libFuzzer keeps the input.
inline void fuzzCheck(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}
#define FUZZ_CHECK(condition) fuzzCheck((condition), #condition)

// Qt's warnings would drown libFuzzer's own output.
inline void quietQt()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

// Targets that wait through the event pump need an application object and its event loop.
// Created once and never destroyed, as in the program.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "orvantis-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *application = new QCoreApplication(argc, argv);
    (void)application;
}
