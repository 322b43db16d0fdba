// Widget tests run inside the QApplication that QtTestMain.cpp creates.
#pragma once

#include <cassert>
#include <QApplication>

inline QApplication& TestApp() {
    assert(QApplication::instance());
    return *static_cast<QApplication*>(QApplication::instance());
}
