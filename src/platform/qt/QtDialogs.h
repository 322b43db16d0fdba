// Message boxes and the common file, colour and font dialogs, shown with Qt.
#pragma once

#include <map>
#include <QString>

#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/PickerDialogs.h"

class QFileDialog;
class QWidget;

class TQtMessageBoxes : public TMessageBoxes {
public:
    explicit TQtMessageBoxes(QWidget* parent = nullptr) : Parent(parent) {}
    int Show(const std::string& text, const std::string& caption, unsigned flags) override;
    void SetParent(QWidget* parent) { Parent = parent; }

private:
    QWidget* Parent;
};

class TQtFileDialogs : public TFileDialogs {
public:
    explicit TQtFileDialogs(QWidget* parent = nullptr) : Parent(parent) {}
    std::optional<std::string> Open(const TFileDialogOptions& options) override;
    std::optional<std::string> Save(const TFileDialogOptions& options) override;
    void SetParent(QWidget* parent) { Parent = parent; }

private:
    // Each kind of file (told apart by the filter) opens where its last dialog was left.
    void StartIn(QFileDialog& dialog, const TFileDialogOptions& options) const;
    void Remember(const QFileDialog& dialog, const TFileDialogOptions& options);

    QWidget* Parent;
    std::map<std::string, QString> LastFolder;
};

class TQtColorDialogs : public TColorDialogs {
public:
    explicit TQtColorDialogs(QWidget* parent = nullptr) : Parent(parent) {}
    std::optional<TColor> PickColor(TColor initial) override;

private:
    QWidget* Parent;
};

class TQtFontDialogs : public TFontDialogs {
public:
    explicit TQtFontDialogs(QWidget* parent = nullptr) : Parent(parent) {}
    std::optional<TFont> PickFont(const TFont& initial) override;

private:
    QWidget* Parent;
};

// "Desc (*.EXT)|*.EXT|..." as a Qt name filter list ("Desc (*.EXT);;...").
QString QtNameFilters(const std::string& filter);
