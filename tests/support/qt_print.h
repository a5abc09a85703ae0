#pragma once
// How GoogleTest prints a QString in a failure: as the text, not as the bytes of the object.
// Every test that links the test support gets this header first, so that no test can forget it.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
