#pragma once
// Screens are driven through their named controls; a control that is missing fails the test
// with its name instead of crashing it.
#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QWidget>

namespace mitoran::testing {

// The child of `parent` with this object name; none, or no parent, is a failure.
template <class T = QWidget>
T* expectChild(const QObject* parent, const char* name) {
    T* w = parent ? parent->findChild<T*>(QString::fromUtf8(name)) : nullptr;
    EXPECT_NE(w, nullptr) << name;
    return w;
}

}  // namespace mitoran::testing
