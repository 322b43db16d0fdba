#include <gtest/gtest.h>

#include <functional>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/MessageBoxes.h"
#include "platform/qt/QtDialogs.h"

namespace {

// The message box on the screen, if one is up.
QMessageBox* ShownBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}

// Shows a box with the given buttons and, once it is up, lets act answer it.
int Answer(unsigned flags, const std::function<void(QMessageBox&)>& act) {
    TQtMessageBoxes boxes;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QMessageBox* box = ShownBox()) {
            poll.stop();
            box->activateWindow();
            // Mnemonics reach the active window only.
            EXPECT_TRUE(QTest::qWaitForWindowActive(box));
            act(*box);
            // An answer the box did not take fails the test instead of hanging it.
            QTimer::singleShot(2000, box, [box] {
                ADD_FAILURE() << "the box was not answered";
                box->done(-1);
            });
        }
    });
    poll.start();
    return boxes.Show("Save the changes to the new page?", "Folioscriptor", flags);
}

} // namespace

TEST(QtMessageBoxes, EveryAnswerHasAMnemonicEnterTakesTheDefaultAndEscapeCancels) {
    EXPECT_EQ(Answer(MB_YESNOCANCEL,
                     [](QMessageBox& box) {
                         for (QAbstractButton* b : box.buttons()) {
                             if (box.buttonRole(b) != QMessageBox::RejectRole) {
                                 EXPECT_TRUE(b->text().contains('&')) << b->text().toStdString();
                             }
                         }
                         QTest::keyClick(&box, Qt::Key_D, Qt::AltModifier);
                     }),
              IDNO);
    EXPECT_EQ(
        Answer(MB_YESNOCANCEL, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }),
        IDYES);
    EXPECT_EQ(
        Answer(MB_YESNOCANCEL, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
        IDCANCEL);
    EXPECT_EQ(Answer(MB_YESNO,
                     [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_N, Qt::AltModifier); }),
              IDNO);
}
