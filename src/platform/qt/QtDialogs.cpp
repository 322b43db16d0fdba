#include "platform/qt/QtDialogs.h"

#include <utility>

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "platform/qt/QtFont.h"

QString QtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // File names on Linux keep their case: "*.BMP" also offers "*.bmp" files.
        QStringList patterns = QString(parts[i + 1]).split(';', Qt::SkipEmptyParts);
        for (const QString& p : QStringList(patterns))
            if (p.toLower() != p && !patterns.contains(p.toLower())) patterns << p.toLower();
        // The dialog reads the patterns from the parentheses of the shown description.
        QString description = parts[i];
        const qsizetype open = description.indexOf('(');
        if (open >= 0) description.truncate(open);
        filters << description.trimmed() + " (" + patterns.join(' ') + ")";
    }
    return filters.join(";;");
}

namespace {

// The answers of a message box reached with Alt and a letter too, as the window's own buttons
// are (Qt's standard buttons carry none). Enter still presses the default, Escape cancels.
void GiveMnemonics(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char*> names[] = {
        {QMessageBox::Save, "&Save"},
        {QMessageBox::Discard, "&Discard"},
        {QMessageBox::Yes, "&Yes"},
        {QMessageBox::No, "&No"},
    };
    for (const auto& [which, text] : names)
        if (QAbstractButton* button = box.button(which)) button->setText(QObject::tr(text));
}

} // namespace

int TQtMessageBoxes::Show(const std::string& text, const std::string& caption, unsigned flags) {
    QMessageBox box(Parent);
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (flags & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    switch (flags & 0x0F) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        break;
    case MB_RESTOREDISCARD: {
        QPushButton* restore = box.addButton(QObject::tr("&Restore"), QMessageBox::AcceptRole);
        box.addButton(QMessageBox::Discard);
        box.setDefaultButton(restore);
        GiveMnemonics(box);
        // Neither Escape nor the window's close button may throw the page away.
        box.exec();
        if (box.clickedButton() == restore) return IDYES;
        return box.clickedButton() == box.button(QMessageBox::Discard) ? IDNO : IDCANCEL;
    }
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    GiveMnemonics(box);
    switch (box.exec()) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes:
    case QMessageBox::Save: return IDYES;
    case QMessageBox::No:
    case QMessageBox::Discard: return IDNO;
    default: return IDOK;
    }
}

namespace {

// Appends the default extension when the chosen name has none.
std::string WithDefaultExt(QString path, const std::string& ext) {
    if (!ext.empty() && QFileInfo(path).suffix().isEmpty())
        path += "." + QString::fromStdString(ext);
    return path.toStdString();
}

} // namespace

void TQtFileDialogs::StartIn(QFileDialog& dialog, const TFileDialogOptions& options) const {
    if (!options.InitialPath.empty()) {
        const QFileInfo proposed(QString::fromStdString(options.InitialPath));
        dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
        return;
    }
    const auto last = LastFolder.find(options.Filter);
    if (last != LastFolder.end()) dialog.setDirectory(last->second);
}

void TQtFileDialogs::Remember(const QFileDialog& dialog, const TFileDialogOptions& options) {
    // The folder of the file chosen, which a typed path may name without the dialog ever
    // showing it.
    const QStringList chosen = dialog.selectedFiles();
    LastFolder[options.Filter] = chosen.isEmpty() ? dialog.directory().absolutePath()
                                                  : QFileInfo(chosen.front()).absolutePath();
}

std::optional<std::string> TQtFileDialogs::Open(const TFileDialogOptions& options) {
    QFileDialog dialog(Parent, QString::fromStdString(options.Title), QString(),
                       QtNameFilters(options.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(options.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(options.DefaultExt));
    StartIn(dialog, options);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    Remember(dialog, options);
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> TQtFileDialogs::Save(const TFileDialogOptions& options) {
    QFileDialog dialog(Parent, QString::fromStdString(options.Title), QString(),
                       QtNameFilters(options.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(options.DefaultExt));
    if (!options.OverwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    StartIn(dialog, options);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    Remember(dialog, options);
    return WithDefaultExt(dialog.selectedFiles().front(), options.DefaultExt);
}

std::optional<TColor> TQtColorDialogs::PickColor(TColor initial) {
    const QColor start(GetRValue(initial), GetGValue(initial), GetBValue(initial));
    const QColor c = QColorDialog::getColor(start, Parent);
    if (!c.isValid()) return std::nullopt;
    return RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
               static_cast<uint8_t>(c.blue()));
}

std::optional<TFont> TQtFontDialogs::PickFont(const TFont& initial) {
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, ToQFont(initial), Parent);
    if (!ok) return std::nullopt;
    return FromQFont(f, initial.Color);
}
