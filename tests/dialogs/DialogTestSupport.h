// Helpers for the dialog tests: showing a dialog as the active window (so mnemonics and the
// default button work as for a user) and finding the label that names a control.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include "support/QtTestApp.h"

inline void ShowActive(QWidget& w) {
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    (void)QTest::qWaitForWindowActive(&w);
}

// The label of dialog whose text is caption, or null.
inline QLabel* LabelNamed(const QWidget& dialog, const QString& caption) {
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == caption) return label;
    }
    return nullptr;
}
