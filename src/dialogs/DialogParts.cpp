#include "dialogs/DialogParts.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/MessageBoxes.h"

void UseDialogFont(QWidget& dialog) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    dialog.setFont(font);
}

QGroupBox* MakeGroup(const char* title, QWidget* parent, int x, int y, int w, int h) {
    auto* group = new QGroupBox(QString::fromUtf8(title), parent);
    group->setGeometry(x, y, w, h);
    return group;
}

QLineEdit* MakeEdit(const char* name, const char* text, QWidget* parent, int x, int y, int w) {
    auto* edit = new QLineEdit(QString::fromUtf8(text), parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(x, y, w, 21);
    return edit;
}

QPushButton* MakeButton(const char* name, const char* caption, QWidget* parent, int x, int y,
                        int w) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(x, y, w, 25);
    return button;
}

QCheckBox* MakeCheckBox(const char* name, const char* caption, QWidget* parent, int x, int y,
                        int w) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(x, y, w, 18);
    return box;
}

QRadioButton* MakeRadio(const char* name, const char* caption, QWidget* parent, int x, int y,
                        int w) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), parent);
    radio->setObjectName(QString::fromUtf8(name));
    radio->setGeometry(x, y, w, 18);
    return radio;
}

QLabel* MakeLabel(const char* caption, QWidget* parent, int x, int y, int w, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setGeometry(x, y, w, 16);
    if (buddy) label->setBuddy(buddy);
    return label;
}

TDialogButtons MakeDialogButtons(QDialog& dialog, int clientWidth, int y, TMessageBoxes& messages,
                                 QString helpText) {
    TDialogButtons b;
    b.Ok = MakeButton("btnOk", "&Ok", &dialog, clientWidth - 253, y);
    b.Cancel = MakeButton("btnMegsem", "&Mégsem", &dialog, clientWidth - 170, y);
    b.Help = MakeButton("btnSugo", "&Súgó", &dialog, clientWidth - 87, y);
    b.Ok->setDefault(true);
    QObject::connect(b.Ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(b.Cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(b.Help, &QPushButton::clicked, &dialog,
                     [&messages, &dialog, text = std::move(helpText)] {
                         ShowDialogHelp(messages, dialog, text);
                     });
    return b;
}

void ShowDialogHelp(TMessageBoxes& messages, const QWidget& dialog, const QString& text) {
    messages.Show(text.toStdString(), dialog.windowTitle().toStdString(),
                  MB_OK | MB_ICONINFORMATION);
}
